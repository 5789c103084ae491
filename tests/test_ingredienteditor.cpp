// The ingredient editor driven as the user drives it: the tree built from the ingredient file,
// adding, renaming and removing ingredients with their keys and in-place editing, the attribute
// panel below the tree, and what reaches the ingredient and recipe files at exit.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "app/modCellarix.h"
#include "editors/frmIngredients.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"
#include "platform/TreeView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// Tonic and Soda carry the attributes the panel tests look at.
const IngredientAttributes TonicAttributes{true, true, 0x336699, 40, 255, "Bubbly"};
const IngredientAttributes SodaAttributes{true, false, 0, 150, 3, ""};

// Top-level ingredients first, as the file is saved. "Vodka Zest" comes before its parent;
// "aquavit" sorts first under Spirits only when letter case is ignored.
QList<QByteArray> IngredientRecords(const IngredientAttributes& tonic = TonicAttributes)
{
    return {IngredientRecord("Spirits", "", {false}),
            IngredientRecord("Mixers", "", {false}),
            IngredientRecord("Bitters", "", {false}),
            IngredientRecord("Vodka Zest", "Vodka"),
            IngredientRecord("Gin", "Spirits"),
            IngredientRecord("Vodka", "Spirits"),
            IngredientRecord("Rum", "Spirits"),
            IngredientRecord("Tonic", "Mixers", tonic),
            IngredientRecord("Soda", "Mixers", SodaAttributes),
            IngredientRecord("Sloe Gin", "Gin"),
            IngredientRecord("Old Tom Gin", "Gin"),
            IngredientRecord("Vodka Citron", "Vodka"),
            IngredientRecord("aquavit", "Spirits")};
}

// Recipes in a Highball, without instructions.
QByteArray HighballRecipe(const QByteArray& name, const QList<QByteArray>& lines)
{
    return RecipeRecord(name, "Highball", "", lines);
}

// Rum Punch also names "rum", which differs from Rum in letter case alone.
QByteArray RecipesFile(const QByteArray& rum = "Rum")
{
    return DatabaseFile(
        {HighballRecipe("Rum Punch", {Line(rum, 32, 0), Line("rum", 16, 1), Line("Tonic", 8, 2)}),
         HighballRecipe("Cuba Libre", {Line(rum, 24, 0), Line("Soda", 48, 1)}),
         HighballRecipe("Gin Fizz", {Line("Gin", 32, 0), Line("Soda", 16, 1)})});
}

QStringList ChildTexts(const QTreeWidgetItem* node)
{
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

QStringList LineNames(const QString& recipe)
{
    QStringList names;
    for (const auto& line : colRecipes.Item(recipe)->RecipeIngredients)
        names << line->Name;
    return names;
}

// Exactly one message was shown: `text` under `title`, a question or a refusal.
bool Only(const QString& text, const QString& title, bool question)
{
    const auto& shown = MessageBox::Shown();
    return shown.size() == 1 && shown[0].text == text && shown[0].title == title &&
           shown[0].icon == (question ? MsgIcon::Question : MsgIcon::Information) &&
           shown[0].buttons == (question ? MsgButtons::YesNo : MsgButtons::OK);
}

} // namespace

class TestIngredientEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder;
    frmIngredients* editor = nullptr;
    platform::TreeView* tree = nullptr;

    // The user clicks the node with the mouse, opening its parents first.
    void ClickNode(const QString& key)
    {
        platform::TreeNode* node = tree->Node(key);
        QVERIFY2(node, qPrintable(key));
        for (QTreeWidgetItem* parent = node->parent(); parent; parent = parent->parent())
            parent->setExpanded(true);
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(node).center());
        QCOMPARE(tree->SelectedNode(), node);
    }

    // Presses `key` in `control`, answering the question it asks with `answer` (No when none is
    // given).
    void Press(QWidget* control, Qt::Key key, std::optional<MsgAnswer> answer = std::nullopt)
    {
        MessageBox::SetScripted(true); // forgets answers no message took
        MessageBox::ClearShown();
        if (answer)
            MessageBox::SetNextAnswer(*answer);
        control->setFocus();
        QTest::keyClick(control, key);
    }

    // F2 on the tree, then `text` typed into the edit box and Enter. False when no box opened.
    bool EditLabel(const QString& text)
    {
        Press(tree, Qt::Key_F2);
        QLineEdit* box = nullptr;
        for (QLineEdit* candidate : tree->viewport()->findChildren<QLineEdit*>("labelEditor"))
            if (candidate->isVisible())
                box = candidate;
        if (!box)
            return false;
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        return true;
    }

    QList<QWidget*> PanelControls() const
    {
        return {editor->lblHotspotID, editor->cboHotspotID, editor->chkOunces,
                editor->chkAction,    editor->lblColor,     editor->cmdColor,
                editor->lblOpacity,   editor->cboOpacity,   editor->txtDisplayText};
    }

private slots:
    void init()
    {
        folder = std::make_unique<ProgramFolder>();
        folder->WriteDataFile("Ingredients.Dat", DatabaseFile(IngredientRecords()));
        folder->WriteDataFile("Recipes.Dat", RecipesFile());
        StartMainWindow();
        platform::ColorDialog::SetScripted(true);
        frmMain* main = frmMain::Instance();
        QApplication::setActiveWindow(main);
        QVERIFY(QTest::qWaitForWindowActive(main));
        main->mnuShowAllEditors->trigger();
        main->cmdIngredients->click();
        editor = main->IngredientEditor;
        QVERIFY(editor);
        tree = editor->TV;
        MessageBox::ClearShown();
    }
    void cleanup()
    {
        CloseMainWindow();
        folder.reset();
    }

    void treeShowsCategoriesSortedAndEverySubIngredientUnderItsParent()
    {
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (13 Entries)"));
        QCOMPARE(tree->topLevelItemCount(), 1);
        platform::TreeNode* root = tree->Node("Ingredients");
        QVERIFY(root->isExpanded());
        QCOMPARE(ChildTexts(root), QStringList({"Bitters", "Mixers", "Spirits"}));
        QCOMPARE(ChildTexts(tree->Node("Spirits")),
                 QStringList({"aquavit", "Gin", "Rum", "Vodka"}));
        QCOMPARE(ChildTexts(tree->Node("Mixers")), QStringList({"Soda", "Tonic"}));
        // Below the categories the order is the collection order; a sub-ingredient stored
        // before its parent still finds it.
        QCOMPARE(ChildTexts(tree->Node("Gin")), QStringList({"Sloe Gin", "Old Tom Gin"}));
        QCOMPARE(ChildTexts(tree->Node("Vodka")), QStringList({"Vodka Zest", "Vodka Citron"}));
        QCOMPARE(tree->Count(), 14);
        QVERIFY(!tree->Node("Spirits")->isExpanded() && !tree->Node("Gin")->isExpanded());
        QCOMPARE(tree->SelectedNode(), root);
        QVERIFY(!editor->SelectedIngredient);
        for (QWidget* control : PanelControls())
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    }

    void insertAddsOnePlaceholderUnderTheSelectedNode()
    {
        const QString placeholder = "New Ingredient (change this)";
        ClickNode("Bitters");
        Press(tree, Qt::Key_Insert, MsgAnswer::No);
        QVERIFY(Only("Add a new ingredient to the database ?", "ADD INGREDIENT", true));
        QCOMPARE(colIngredients.Count(), 13);

        Press(tree, Qt::Key_Insert, MsgAnswer::Yes);
        const auto added = colIngredients.Item(placeholder);
        QVERIFY(added);
        QCOMPARE(added->ParentItem(), QString("Bitters"));
        QCOMPARE(tree->Node(placeholder)->Parent(), tree->Node("Bitters"));
        QCOMPARE(tree->SelectedNode(), tree->Node(placeholder));
        QVERIFY(tree->Node("Bitters")->isExpanded());
        QCOMPARE(editor->SelectedIngredient, added);
        QVERIFY(added->Ounces() && !added->Action());
        QCOMPARE(added->Color(), 16777215);
        QCOMPARE(int(added->Opacity()), 0);
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (14 Entries)"));

        // The name is still taken: a second Insert, even from the root, adds nothing and
        // selects the waiting placeholder.
        ClickNode("Ingredients");
        Press(tree, Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(colIngredients.Count(), 14);
        QCOMPARE(tree->Count(), 15);
        QCOMPARE(tree->SelectedNode(), tree->Node(placeholder));
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (14 Entries)"));

        QVERIFY(EditLabel("Angostura"));
        ClickNode("Ingredients");
        Press(tree, Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(colIngredients.Item(placeholder)->ParentItem(), QString());
        QCOMPARE(tree->Node(placeholder)->Parent(), tree->Node("Ingredients"));
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (15 Entries)"));
    }

    void renameRefusesTakenNamesAndRenamesExactRecipeLines()
    {
        const auto rum = colIngredients.Item("Rum");
        for (const QString& taken : {QString("GIN"), QString("rum")}) {
            ClickNode("Rum");
            QVERIFY(EditLabel(taken));
            QVERIFY(Only("Ingredient already in the database.", "INPUT ERROR", false));
            QCOMPARE(tree->Node("Rum")->text(0), QString("Rum"));
            QCOMPARE(rum->Name(), QString("Rum"));
            QCOMPARE(colIngredients.Count(), 13);
            QVERIFY(tree->hasFocus());
        }

        QVERIFY(EditLabel("  Dark Rum  "));
        QVERIFY(MessageBox::Shown().isEmpty());
        QCOMPARE(rum->Name(), QString("Dark Rum"));
        QCOMPARE(colIngredients.Item(colIngredients.Count()), rum);
        QVERIFY(!colIngredients.Contains("Rum"));
        QVERIFY(!tree->Node("Rum"));
        QCOMPARE(tree->SelectedNode(), tree->Node("Dark Rum"));
        QCOMPARE(tree->SelectedNode()->text(0), QString("Dark Rum"));
        QCOMPARE(ChildTexts(tree->Node("Spirits")),
                 QStringList({"aquavit", "Dark Rum", "Gin", "Vodka"}));
        QCOMPARE(editor->SelectedIngredient, rum);
        QCOMPARE(LineNames("Rum Punch"), QStringList({"Dark Rum", "rum", "Tonic"}));
        QCOMPARE(LineNames("Cuba Libre"), QStringList({"Dark Rum", "Soda"}));
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (13 Entries)"));

        // A name is kept to 50 characters, in the tree as in the recipe lines.
        const QString longName = QString(60, QChar('x'));
        QVERIFY(EditLabel(longName));
        QCOMPARE(rum->Name(), longName.left(50));
        QCOMPARE(tree->SelectedNode()->Key(), longName.left(50));
        QCOMPARE(LineNames("Cuba Libre").first(), longName.left(50));
    }

    void f2OnANodeWithChildrenAndKeysOnTheRootAreRefusedOrIgnored()
    {
        for (const QString& key : {QString("Spirits"), QString("Gin")}) {
            ClickNode(key);
            QVERIFY(!EditLabel("Renamed"));
            QVERIFY(Only("Cannot edit a top-level ingredient.", "INVALID ACTION", false));
            QVERIFY(tree->hasFocus());
        }
        ClickNode("Ingredients");
        QVERIFY(!EditLabel("Renamed"));
        Press(tree, Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(MessageBox::Shown().isEmpty());
        QCOMPARE(colIngredients.Count(), 13);
        QCOMPARE(tree->Count(), 14);
    }

    void removeAsksThenTakesTheIngredientWithEverythingBelowIt()
    {
        ClickNode("Mixers");
        Press(tree, Qt::Key_Delete, MsgAnswer::No);
        QVERIFY(Only("Remove ingredient 'Mixers' and all sub-ingredients ?", "REMOVE INGREDIENT",
                     true));
        QCOMPARE(colIngredients.Count(), 13);

        // Every depth goes: the category, its four sub-ingredients and their four. What stays
        // keeps its order and is still found by name.
        ClickNode("Spirits");
        Press(tree, Qt::Key_Delete, MsgAnswer::Yes);
        QCOMPARE(colIngredients.Count(), 4);
        const QStringList kept{"Mixers", "Bitters", "Tonic", "Soda"};
        for (int position = 1; position <= 4; ++position) {
            QCOMPARE(colIngredients.KeyAt(position), kept[position - 1]);
            QCOMPARE(colIngredients.Item(kept[position - 1]), colIngredients.Item(position));
        }
        QCOMPARE(tree->Count(), 5);
        QVERIFY(!tree->Node("Vodka Zest") && !tree->Node("Old Tom Gin") && !tree->Node("Rum"));
        QCOMPARE(tree->SelectedNode(), tree->Node("Ingredients"));
        QVERIFY(!editor->SelectedIngredient);
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (4 Entries)"));

        ClickNode("Mixers");
        Press(tree, Qt::Key_Delete, MsgAnswer::Yes);
        QCOMPARE(colIngredients.Count(), 1);
        for (const QString& gone : {"Mixers", "Tonic", "Soda"})
            QVERIFY(!colIngredients.Contains(gone) && !tree->Node(gone));

        ClickNode("Bitters");
        Press(tree, Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(Only("Remove ingredient 'Bitters' ?", "REMOVE INGREDIENT", true));
        QCOMPARE(colIngredients.Count(), 0);
        QCOMPARE(tree->Count(), 1);
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (0 Entries)"));
        // Recipe lines keep the names of removed ingredients.
        QCOMPARE(LineNames("Cuba Libre"), QStringList({"Rum", "Soda"}));
    }

    void panelShowsAndWritesTheSelectedIngredient()
    {
        ClickNode("Tonic");
        const auto tonic = colIngredients.Item("Tonic");
        QCOMPARE(editor->SelectedIngredient, tonic);
        for (QWidget* control : PanelControls())
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        QCOMPARE(editor->cboOpacity->count(), 101);
        QCOMPARE(editor->cboOpacity->currentText(), QString("40 Percent"));
        QCOMPARE(editor->cboHotspotID->count(), 256);
        QCOMPARE(editor->cboHotspotID->currentText(), QString("(Unassigned)"));
        QCOMPARE(editor->chkOunces->GetValue(), platform::CheckBox::Checked);
        QCOMPARE(editor->chkAction->GetValue(), platform::CheckBox::Checked);
        QCOMPARE(editor->cmdColor->FaceColor(), 0x336699);
        QCOMPARE(editor->txtDisplayText->Text(), QString("Bubbly"));

        editor->cboOpacity->setCurrentIndex(75);
        emit editor->cboOpacity->activated(75);
        QCOMPARE(int(tonic->Opacity()), 75);
        editor->cboHotspotID->setCurrentIndex(7);
        emit editor->cboHotspotID->activated(7);
        QCOMPARE(int(tonic->HotSpotID()), 7);
        QTest::mouseClick(editor->chkAction, Qt::LeftButton);
        QVERIFY(!tonic->Action());

        // Soda's opacity has no entry: none is shown, and it is kept through selections.
        ClickNode("Soda");
        QCOMPARE(editor->cboOpacity->currentIndex(), -1);
        QCOMPARE(editor->cboHotspotID->currentText(), QString("3"));
        QCOMPARE(editor->chkAction->GetValue(), platform::CheckBox::Unchecked);
        ClickNode("Tonic");
        QCOMPARE(editor->cboOpacity->currentText(), QString("75 Percent"));
        ClickNode("Soda");
        QCOMPARE(int(colIngredients.Item("Soda")->Opacity()), 150);

        // The choosers of attributes this window does not edit stay disabled and empty.
        const QList<QComboBox*> unused{editor->cboCursor,    editor->cboShadow,
                                       editor->cboHighlight, editor->cboAnimation,
                                       editor->cboHelpTopic, editor->cboZoom};
        for (QComboBox* box : unused)
            QVERIFY(!box->isEnabled() && box->count() == 0);
        for (QLabel* label : {editor->lblCursor, editor->lblShadow, editor->lblHighlight,
                              editor->lblAnimation, editor->lblHelpTopic, editor->lblZoom})
            QVERIFY(!label->isEnabled());
    }

    void ouncesCheckBoxDecidesWhetherTheIngredientCountsInRecipeTotals()
    {
        const auto punch = colRecipes.Item("Rum Punch");
        QCOMPARE(punch->TotalOunces(colIngredients), 56.0);
        ClickNode("Tonic");
        QTest::mouseClick(editor->chkOunces, Qt::LeftButton);
        QVERIFY(!colIngredients.Item("Tonic")->Ounces());
        QCOMPARE(punch->TotalOunces(colIngredients), 48.0);
        QTest::mouseClick(editor->chkOunces, Qt::LeftButton);
        QCOMPARE(punch->TotalOunces(colIngredients), 56.0);
    }

    void displayTextGoesToItsIngredientAndTheRootClearsThePanel()
    {
        ClickNode("Tonic");
        editor->txtDisplayText->setFocus();
        QTest::keyClick(editor->txtDisplayText, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor->txtDisplayText, "Fizzy");
        const auto tonic = colIngredients.Item("Tonic");
        QCOMPARE(tonic->DisplayText(), QString("Bubbly"));
        ClickNode("Gin");
        QCOMPARE(tonic->DisplayText(), QString("Fizzy"));
        QCOMPARE(editor->txtDisplayText->Text(), QString());
        ClickNode("Tonic");
        QCOMPARE(editor->txtDisplayText->Text(), QString("Fizzy"));

        ClickNode("Ingredients");
        QVERIFY(!editor->SelectedIngredient);
        QCOMPARE(editor->chkOunces->GetValue(), platform::CheckBox::Grayed);
        QCOMPARE(editor->chkAction->GetValue(), platform::CheckBox::Grayed);
        QCOMPARE(editor->cmdColor->FaceColor(), -1);
        QCOMPARE(editor->cboOpacity->currentIndex(), -1);
        QCOMPARE(editor->txtDisplayText->Text(), QString());
        for (QWidget* control : PanelControls())
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        // Clearing the panel wrote nothing into the ingredient shown before.
        QVERIFY(tonic->Ounces() && tonic->Action());
        QCOMPARE(int(tonic->Opacity()), 40);
        QCOMPARE(tonic->DisplayText(), QString("Fizzy"));
    }

    void colourDialogStartsFromTheColourAndOnlyAConfirmedColourIsStored()
    {
        ClickNode("Tonic");
        const auto tonic = colIngredients.Item("Tonic");
        const qsizetype asked = platform::ColorDialog::Shown().size();
        const qint32 chosen = 0x12 + 256 * 0x34 + 65536 * 0x56;
        platform::ColorDialog::SetNextAnswer(chosen);
        QTest::mouseClick(editor->cmdColor, Qt::LeftButton);
        QCOMPARE(platform::ColorDialog::Shown().mid(asked), QList<qint32>{0x336699});
        QCOMPARE(tonic->Color(), chosen);
        QCOMPARE(editor->cmdColor->FaceColor(), chosen);
        // The face is painted in that colour (the style may shade it, the hue stays): a
        // colour read with red and blue swapped would be orange.
        tree->setFocus();
        const QImage face = editor->cmdColor->grab().toImage();
        const int hue = face.pixelColor(face.rect().center()).hue();
        QVERIFY2(qAbs(hue - QColor(0x12, 0x34, 0x56).hue()) <= 8, qPrintable(QString::number(hue)));

        platform::ColorDialog::SetNextAnswer(-1);
        QTest::mouseClick(editor->cmdColor, Qt::LeftButton);
        QCOMPARE(platform::ColorDialog::Shown().last(), chosen);
        QCOMPARE(tonic->Color(), chosen);
        QCOMPARE(editor->cmdColor->FaceColor(), chosen);
    }

    void actionCheckBoxClearsItsHintWhenLeftLikeItsSisters()
    {
        ClickNode("Tonic");
        editor->chkAction->setFocus();
        QCOMPARE(frmMain::Instance()->txtHelp->toPlainText(),
                 QString("Check this if the ingredient is considered to be an action, uncheck it "
                         "otherwise ..."));
        editor->cboHotspotID->setFocus(); // has no hint of its own
        QCOMPARE(frmMain::Instance()->txtHelp->toPlainText(), QString());
    }

    void savedFilesHoldTheEdits()
    {
        ClickNode("Rum");
        QVERIFY(EditLabel("Dark Rum"));
        ClickNode("Tonic");
        platform::ColorDialog::SetNextAnswer(0x563412);
        QTest::mouseClick(editor->cmdColor, Qt::LeftButton);
        editor->txtDisplayText->setFocus();
        QTest::keyClick(editor->txtDisplayText, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor->txtDisplayText, "Quinine water");
        ClickNode("Ingredients");
        Press(tree, Qt::Key_Insert, MsgAnswer::Yes);
        CloseMainWindow();

        IngredientAttributes tonic = TonicAttributes;
        tonic.color = 0x563412;
        tonic.text = "Quinine water";
        QList<QByteArray> records = IngredientRecords(tonic);
        const QByteArray rum = records.takeAt(6);
        QCOMPARE(rum, IngredientRecord("Rum", "Spirits"));
        records.insert(3, IngredientRecord("New Ingredient (change this)", "",
                                           {true, false, 16777215, 0, 0, ""}));
        records.append(IngredientRecord("Dark Rum", "Spirits"));
        QCOMPARE(folder->ReadDataFile("Ingredients.Dat"), DatabaseFile(records));
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), RecipesFile("Dark Rum"));
    }
};

QTEST_MAIN(TestIngredientEditor)
#include "test_ingredienteditor.moc"
