// The glass editor driven as the user drives it: the sorted list of glasses with its caption,
// adding, renaming and removing glasses with their messages, the hot-spot chooser and the
// display text, the keyboard moves, and what reaches Glasses.Dat at the next save.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "app/modCellarix.h"
#include "editors/frmGlasses.h"
#include "platform/Controls.h"
#include "platform/ListView.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>
#include <optional>

using namespace TestSupport;
using namespace modCellarix;
using platform::MessageBox;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

const QString Placeholder = "New Glass (change this)";

struct GlassBytes {
    QByteArray name, cursor, zoom;
    int hotSpot;
    QByteArray text;
};

QByteArray GlassRecord(const GlassBytes& g)
{
    // Name, Cursor, OpacityMap, Shadow, Highlight, Zoom, Animation, HelpTopic.
    return Field(g.name) + Field(g.cursor) + Field("") + Field("") + Field("") + Field(g.zoom) +
           Field("") + Field("") + Bytes(1, char(g.hotSpot)) + Int32(g.text.size()) + g.text;
}

QByteArray GlassesFile(const QList<GlassBytes>& glasses)
{
    QByteArray file = Int32(glasses.size());
    for (const GlassBytes& glass : glasses)
        file += GlassRecord(glass);
    return file;
}

// Stored out of name order; Coupe's text has the files' line break.
const GlassBytes Pint{"Pint", "", "", 12, "Beer."};
const GlassBytes Coupe{"Coupe", "cur_coupe", "zoom_coupe", 3, "Shallow bowl.\r\nChill first."};
const GlassBytes Highball{"Highball", "", "", 0, ""};

QStringList RowTexts(const platform::ListView* list)
{
    QStringList texts;
    for (int row = 1; row <= list->Count(); ++row)
        texts << list->Item(row)->Text();
    return texts;
}

void ClickRow(platform::ListView* list, int row)
{
    platform::ListItem* item = list->Item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void Choose(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// F2 on the list; `keys` typed into the edit box (replacing the selected old name), then Enter.
bool EditLabel(platform::ListView* list, const QString& keys, bool clear = false)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F2);
    QLineEdit* box = nullptr; // an earlier edit's box may not be deleted yet
    for (QLineEdit* candidate : list->viewport()->findChildren<QLineEdit*>("labelEditor"))
        if (candidate->isVisible())
            box = candidate;
    if (!box)
        return false;
    if (clear)
        QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, keys);
    QTest::keyClick(box, Qt::Key_Return);
    return true;
}

// Exactly one message was shown: a Yes/No question, or the refusal of the name `text`.
bool Asked(const QString& text, const QString& title)
{
    const auto& shown = MessageBox::Shown();
    return shown.size() == 1 && shown[0].text == text && shown[0].title == title &&
           shown[0].icon == MsgIcon::Question && shown[0].buttons == MsgButtons::YesNo;
}
bool Refused(const QString& name)
{
    const auto& shown = MessageBox::Shown();
    return shown.size() == 1 && shown[0].text == "Glass '" + name + "' already in the database." &&
           shown[0].title == "INPUT ERROR" && shown[0].icon == MsgIcon::Information &&
           shown[0].buttons == MsgButtons::OK;
}

} // namespace

class TestGlassEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder;
    frmGlasses* editor = nullptr;

    void Open(const QByteArray& glasses)
    {
        CloseMainWindow();
        editor = nullptr;
        folder.reset();
        folder = std::make_unique<ProgramFolder>();
        folder->WriteDataFile("Glasses.Dat", glasses);
        for (const char* name : {"Ingredients.Dat", "Recipes.Dat", "Help.Dat"})
            folder->WriteDataFile(name, Int32(0));
        StartMainWindow();
        frmMain* main = frmMain::Instance();
        QApplication::setActiveWindow(main);
        QVERIFY(QTest::qWaitForWindowActive(main));
        main->mnuShowAllEditors->trigger();
        main->cmdGlasses->click();
        editor = main->GlassEditor;
        QVERIFY(editor);
        MessageBox::ClearShown();
    }

    // Presses `key` in the list, answering the question it asks with `answer` (No when none).
    void Press(Qt::Key key, std::optional<MsgAnswer> answer = std::nullopt)
    {
        MessageBox::SetScripted(true); // forgets answers no message took
        MessageBox::ClearShown();
        if (answer)
            MessageBox::SetNextAnswer(*answer);
        editor->LV->setFocus();
        QTest::keyClick(editor->LV, key);
    }

    // The glass shown is `name`, with the values it holds in the chooser and the text box.
    void VerifyShows(const QString& name)
    {
        QVERIFY(editor->SelectedGlass);
        QCOMPARE(editor->SelectedGlass, colGlasses.Item(name));
        QCOMPARE(editor->LV->SelectedItem()->Text(), editor->SelectedGlass->Name);
        QCOMPARE(editor->cboHotspotID->currentIndex(), int(editor->SelectedGlass->HotSpotID));
        QCOMPARE(editor->txtDisplayText->Text(), editor->SelectedGlass->DisplayText);
        for (QWidget* control : std::initializer_list<QWidget*>{
                 editor->lblHotspotID, editor->cboHotspotID, editor->txtDisplayText})
            QVERIFY(control->isEnabled());
    }

    void VerifyNoGlassState()
    {
        QCOMPARE(editor->windowTitle(), QString("Glasses - (0 Entries)"));
        QCOMPARE(editor->LV->Count(), 0);
        QVERIFY(!editor->SelectedGlass);
        for (QWidget* control : std::initializer_list<QWidget*>{
                 editor->lblHotspotID, editor->cboHotspotID, editor->txtDisplayText})
            QVERIFY(!control->isEnabled());
        QCOMPARE(editor->txtDisplayText->Text(), QString());
    }

private slots:
    void init() { Open(GlassesFile({Pint, Coupe, Highball})); }
    void cleanup()
    {
        CloseMainWindow();
        folder.reset();
    }

    void loadShowsSortedGlassesPlaceholdersAndHotspotList()
    {
        QCOMPARE(editor->windowTitle(), QString("Glasses - (3 Entries)"));
        QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Highball", "Pint"}));
        VerifyShows("Coupe");

        const std::pair<QLabel*, QComboBox*> placeholders[] = {
            {editor->lblCursor, editor->cboCursor},
            {editor->lblOpacity, editor->cboOpacity},
            {editor->lblShadow, editor->cboShadow},
            {editor->lblHighlight, editor->cboHighlight},
            {editor->lblAnimation, editor->cboAnimation},
            {editor->lblHelpTopic, editor->cboHelpTopic},
            {editor->lblZoom, editor->cboZoom}};
        for (const auto& [label, chooser] : placeholders) {
            QVERIFY(!label->isEnabled() && !chooser->isEnabled());
            QCOMPARE(chooser->count(), 0);
        }

        QCOMPARE(editor->cboHotspotID->count(), 256);
        for (int i = 0; i <= 254; ++i)
            QCOMPARE(editor->cboHotspotID->itemText(i), QString::number(i));
        QCOMPARE(editor->cboHotspotID->itemText(255), QString("(Unassigned)"));
    }

    void insertAsksAndAddsOnePlaceholderInNameOrder()
    {
        Press(Qt::Key_Insert, MsgAnswer::No);
        QVERIFY(Asked("Add a new glass to the database ?", "ADD GLASS"));
        QCOMPARE(colGlasses.Count(), 3);
        QVERIFY(editor->LV->hasFocus());

        Press(Qt::Key_Insert, MsgAnswer::Yes);
        QVERIFY(Asked("Add a new glass to the database ?", "ADD GLASS"));
        QCOMPARE(colGlasses.Count(), 4);
        QCOMPARE(editor->windowTitle(), QString("Glasses - (4 Entries)"));
        QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Highball", Placeholder, "Pint"}));
        VerifyShows(Placeholder);
        QCOMPARE(int(editor->SelectedGlass->HotSpotID), 255);
        QCOMPARE(editor->SelectedGlass->DisplayText, QString());
        QVERIFY(editor->LV->hasFocus());
        QVERIFY(!editor->LV->IsEditingLabel());

        // A second placeholder is not added; the one there is selected again.
        ClickRow(editor->LV, 1);
        Press(Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(MessageBox::Shown().size(), 1);
        QCOMPARE(editor->LV->Count(), 4);
        QCOMPARE(editor->windowTitle(), QString("Glasses - (4 Entries)"));
        VerifyShows(Placeholder);
    }

    void renameToATakenUnchangedOrEmptyNameIsRefused()
    {
        const auto coupe = colGlasses.Item("Coupe");
        QVERIFY(EditLabel(editor->LV, "PINT"));
        QVERIFY(Refused("PINT"));
        QCOMPARE(coupe->Name, QString("Coupe"));
        QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Highball", "Pint"}));
        VerifyShows("Pint"); // the glass that bears the name
        QVERIFY(editor->LV->hasFocus());

        MessageBox::ClearShown();
        QVERIFY(EditLabel(editor->LV, "")); // Enter on the unchanged name
        QVERIFY(Refused("Pint"));
        VerifyShows("Pint");

        MessageBox::ClearShown();
        QVERIFY(EditLabel(editor->LV, "", true));
        QVERIFY(Refused(""));
        QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Highball", "Pint"}));
        QCOMPARE(colGlasses.Count(), 3);
        VerifyShows("Pint");
    }

    void renameKeepsTheGlassSelectedAndSavesItLast()
    {
        const auto coupe = colGlasses.Item("Coupe");
        QVERIFY(EditLabel(editor->LV, "Snifter"));
        QVERIFY(MessageBox::Shown().isEmpty());
        QCOMPARE(RowTexts(editor->LV), QStringList({"Highball", "Pint", "Snifter"}));
        VerifyShows("Snifter");
        QCOMPARE(editor->SelectedGlass, coupe);
        QVERIFY(!colGlasses.Contains("Coupe"));
        QCOMPARE(editor->windowTitle(), QString("Glasses - (3 Entries)"));

        // Every glass was shown once; the untouched fields are carried over byte for byte.
        ClickRow(editor->LV, 1);
        ClickRow(editor->LV, 2);
        CloseMainWindow();
        GlassBytes snifter = Coupe;
        snifter.name = "Snifter";
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"), GlassesFile({Pint, Highball, snifter}));
    }

    void removeAsksThenSelectsTheFirstRowUntilNoneIsLeft()
    {
        ClickRow(editor->LV, 3);
        Press(Qt::Key_Delete, MsgAnswer::No);
        QVERIFY(Asked("Remove glass 'Pint' ?", "REMOVE GLASS"));
        QCOMPARE(colGlasses.Count(), 3);
        QVERIFY(editor->LV->hasFocus());

        ClickRow(editor->LV, 2);
        Press(Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(Asked("Remove glass 'Highball' ?", "REMOVE GLASS"));
        QVERIFY(!colGlasses.Contains("Highball"));
        QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Pint"}));
        VerifyShows("Coupe"); // the first row, not the removed one's neighbour
        QCOMPARE(editor->windowTitle(), QString("Glasses - (2 Entries)"));

        Press(Qt::Key_Delete, MsgAnswer::Yes);
        Press(Qt::Key_Delete, MsgAnswer::Yes);
        VerifyNoGlassState();

        Press(Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(MessageBox::Shown().isEmpty());
        VerifyNoGlassState();
    }

    void emptyDatabaseOpensWithNoGlassAndDeleteDoesNothing()
    {
        Open(GlassesFile({}));
        QVERIFY(editor);
        VerifyNoGlassState();
        Press(Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(MessageBox::Shown().isEmpty());
        VerifyNoGlassState();

        Press(Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(editor->windowTitle(), QString("Glasses - (1 Entries)"));
        VerifyShows(Placeholder);
    }

    void enterMovesOnAndEditsReachTheSelectedGlassAtOnce()
    {
        ClickRow(editor->LV, 2);
        const auto highball = colGlasses.Item("Highball");
        editor->LV->setFocus();
        QTest::keyClick(editor->LV, Qt::Key_Return);
        QVERIFY(editor->cboHotspotID->hasFocus());
        Choose(editor->cboHotspotID, "(Unassigned)");
        QCOMPARE(int(highball->HotSpotID), 255);
        Choose(editor->cboHotspotID, "0");
        QCOMPARE(int(highball->HotSpotID), 0);
        QTest::keyClick(editor->cboHotspotID, Qt::Key_Return);
        QVERIFY(editor->txtDisplayText->hasFocus());

        QString typed;
        for (const QChar c : QString("Tall")) {
            QTest::keyClick(editor->txtDisplayText, c.toLatin1());
            typed += c;
            QCOMPARE(highball->DisplayText, typed);
        }
        QTest::keyClick(editor->txtDisplayText, Qt::Key_Return); // a line break, not a move
        QVERIFY(editor->txtDisplayText->hasFocus());
        QTest::keyClicks(editor->txtDisplayText, "Ice");
        QCOMPARE(highball->DisplayText, QString("Tall\r\nIce"));
        QCOMPARE(colGlasses.Item("Pint")->DisplayText, QString("Beer."));
        QCOMPARE(int(colGlasses.Item("Pint")->HotSpotID), 12);

        ClickRow(editor->LV, 3);
        QCOMPARE(editor->cboHotspotID->currentText(), QString("12"));
        ClickRow(editor->LV, 2);
        QCOMPARE(editor->cboHotspotID->currentText(), QString("0"));
        QCOMPARE(editor->txtDisplayText->Text(), QString("Tall\r\nIce"));
    }

    void nameHeaderClickKeepsAscendingOrder()
    {
        QHeaderView* header = editor->LV->header();
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
            QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Highball", "Pint"}));
        }
        // Later additions still take their place in ascending order.
        Press(Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(RowTexts(editor->LV), QStringList({"Coupe", "Highball", Placeholder, "Pint"}));
    }
};

QTEST_MAIN(TestGlassEditor)
#include "test_glasseditor.moc"
