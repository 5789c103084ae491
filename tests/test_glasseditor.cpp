// The glass editor driven as the user drives it: the sorted list of glasses with its caption,
// adding, renaming and removing glasses with their messages, the hot-spot chooser and the
// display text, the keyboard moves, and what reaches Glasses.Dat at the next save.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "editors/frmGlasses.h"
#include "platform/Controls.h"
#include "store/modCellarix.h"

#include <QLabel>
#include <QTest>

#include <memory>

using namespace TestSupport;
using namespace modCellarix;
using platform::MessageBox;
using platform::MsgAnswer;

namespace {

const QString Placeholder = "New Glass (change this)";

// Stored out of name order; Coupe has assets, and its text the files' line break.
QByteArray Coupe(const QByteArray& name = "Coupe")
{
    return GlassRecord(name, "Shallow bowl.\r\nChill first.", 3, "coupe.ani");
}
const QByteArray Pint = GlassRecord("Pint", "Beer.", 12);

} // namespace

class TestGlassEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFolder> folder;
    frmGlasses* editor = nullptr;

    void Open(const QByteArray& glasses)
    {
        folder.reset();
        folder = std::make_unique<MainWindowFolder>();
        folder->WriteDataFile("Glasses.Dat", glasses);
        for (const char* name : {"Ingredients.Dat", "Recipes.Dat", "Help.Dat"})
            folder->WriteDataFile(name, Int32(0));
        StartMainWindow();
        QVERIFY(ActivateMainWindow());
        frmMain::Instance()->mnuShowAllEditors->trigger();
        frmMain::Instance()->cmdGlasses->click();
        editor = frmMain::Instance()->GlassEditor;
        QVERIFY(editor);
    }

    // The glass shown is `name`, with the values it holds in the chooser and the text box.
    void VerifyShows(const QString& name)
    {
        QVERIFY(editor->SelectedGlass); // the checks below read it
        QCOMPARE(editor->SelectedGlass, colGlasses.Item(name));
        QCOMPARE(editor->LV->SelectedItem()->Text(), editor->SelectedGlass->Name);
        QCOMPARE(editor->cboHotspotID->currentIndex(), int(editor->SelectedGlass->HotSpotID));
        QCOMPARE(editor->txtDisplayText->Text(), editor->SelectedGlass->DisplayText);
        QVERIFY(editor->lblHotspotID->isEnabled() && editor->cboHotspotID->isEnabled() &&
                editor->txtDisplayText->isEnabled());
    }

    void VerifyNoGlassState()
    {
        QCOMPARE(editor->windowTitle(), QString("Glasses - (0 Entries)"));
        QVERIFY(editor->LV->Count() == 0 && !editor->SelectedGlass);
        QVERIFY(!editor->lblHotspotID->isEnabled() && !editor->cboHotspotID->isEnabled() &&
                !editor->txtDisplayText->isEnabled() && editor->txtDisplayText->Text().isEmpty());
    }

private slots:
    void init() { Open(DatabaseFile({Pint, Coupe(), GlassRecord("Highball")})); }
    void cleanup() { folder.reset(); }

    void glassesStayInNameOrderThroughHeaderClicksInsertsAndRemovesUntilNoneIsLeft()
    {
        QCOMPARE(editor->windowTitle(), QString("Glasses - (3 Entries)"));
        VerifyShows("Coupe");
        for (int click = 0; click < 3; ++click) {
            QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Highball", "Pint"}));
            ClickHeader(editor->LV, 1);
        }

        // Besides the hot spot's, seven choosers and their labels stand empty and disabled.
        const auto choosers = editor->findChildren<QComboBox*>();
        QCOMPARE(choosers.size(), 8);
        for (const QComboBox* chooser : choosers)
            QVERIFY(chooser == editor->cboHotspotID ||
                    (!chooser->isEnabled() && chooser->count() == 0));
        for (const QLabel* label : editor->findChildren<QLabel*>())
            QVERIFY2(label == editor->lblHotspotID || !label->isEnabled(),
                     qPrintable(label->text()));

        QCOMPARE(editor->cboHotspotID->count(), 256);
        QCOMPARE(editor->cboHotspotID->itemText(255), QString("(Unassigned)"));

        Press(editor->LV, Qt::Key_Insert, MsgAnswer::No);
        QVERIFY(Asked("Add a new glass to the database ?", "ADD GLASS"));
        QCOMPARE(colGlasses.Count(), 3);
        QVERIFY(editor->LV->hasFocus());

        Press(editor->LV, Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(editor->windowTitle(), QString("Glasses - (4 Entries)"));
        QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Highball", Placeholder, "Pint"}));
        VerifyShows(Placeholder);
        QCOMPARE(int(editor->SelectedGlass->HotSpotID), 255);
        QVERIFY(editor->LV->hasFocus() && !editor->LV->IsEditingLabel());

        // A second placeholder is not added; the one there is selected again.
        ClickRow(editor->LV, 1);
        Press(editor->LV, Qt::Key_Insert, MsgAnswer::Yes);
        VerifyShows(Placeholder); // the rows after the removal below show no second one

        ClickRow(editor->LV, 4);
        Press(editor->LV, Qt::Key_Delete, MsgAnswer::No);
        QVERIFY(Asked("Remove glass 'Pint' ?", "REMOVE GLASS"));

        ClickRow(editor->LV, 3);
        Press(editor->LV, Qt::Key_Delete, MsgAnswer::Yes);
        QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Highball", "Pint"}));
        VerifyShows("Coupe"); // the first row, not a neighbour of the removed one

        for (int glass = 0; glass < 3; ++glass)
            Press(editor->LV, Qt::Key_Delete, MsgAnswer::Yes);
        VerifyNoGlassState();
        Press(editor->LV, Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(MessageBox::Shown().isEmpty());
        Press(editor->LV, Qt::Key_Insert, MsgAnswer::Yes);
        VerifyShows(Placeholder);

        // An empty database opens in the same state.
        Open(DatabaseFile({}));
        VerifyNoGlassState();
    }

    void renameRefusesTakenUnchangedOrEmptyNamesAndEnterMovesOnWhileEditsReachTheGlass()
    {
        // Each refused edit shows the glass that bears the name.
        for (const auto& [edit, typed, name] :
             {std::tuple<const char*, QString, QString>{"taken", "PINT", "PINT"},
              {"Enter on the unchanged name", "", "Pint"},
              {"name erased", "\b", ""}}) {
            QVERIFY(EditLabel(editor->LV, typed));
            QVERIFY2(Refused("Glass '" + name + "' already in the database."), edit);
            VerifyShows("Pint");
            QVERIFY(editor->LV->hasFocus());
        }

        ClickRow(editor->LV, 1);
        QVERIFY(EditLabel(editor->LV, "Snifter"));
        QVERIFY(MessageBox::Shown().isEmpty());
        QCOMPARE(RowTexts(editor->LV), QStringList({"Highball", "Pint", "Snifter"}));
        VerifyShows("Snifter");

        // Enter moves from the list to the chooser and on to the text box, where it breaks the
        // line; both edits reach the selected glass at once.
        ClickRow(editor->LV, 1);
        const auto highball = colGlasses.Item("Highball");
        QTest::keyClick(editor->LV, Qt::Key_Return);
        QVERIFY(editor->cboHotspotID->hasFocus());
        Choose(editor->cboHotspotID, "7");
        QCOMPARE(int(highball->HotSpotID), 7);
        QTest::keyClick(editor->cboHotspotID, Qt::Key_Return);
        QVERIFY(editor->txtDisplayText->hasFocus());
        QTest::keyClicks(editor->txtDisplayText, "Tall");
        QCOMPARE(highball->DisplayText, QString("Tall")); // while the box keeps the focus
        QTest::keyClick(editor->txtDisplayText, Qt::Key_Return);
        QVERIFY(editor->txtDisplayText->hasFocus());
        QTest::keyClicks(editor->txtDisplayText, "Ice");
        QCOMPARE(highball->DisplayText, QString("Tall\r\nIce"));
        ClickRow(editor->LV, 3);
        ClickRow(editor->LV, 1);
        VerifyShows("Highball");

        // Every glass was shown; the untouched fields are carried over byte for byte.
        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"),
                 DatabaseFile({Pint, GlassRecord("Highball", "Tall\r\nIce", 7), Coupe("Snifter")}));
    }
};

QTEST_MAIN(TestGlassEditor)
#include "test_glasseditor.moc"
