// The ingredient editor driven as the user drives it: the tree built from the ingredient file,
// adding, renaming and removing ingredients with their keys and in-place editing, the attribute
// panel below the tree, and what reaches the ingredient and recipe files at exit.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "editors/frmIngredients.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "store/modCellarix.h"

#include <QLabel>
#include <QTest>

#include <memory>

using namespace TestSupport;
using namespace modCellarix;
using platform::MessageBox;
using platform::MsgAnswer;

namespace {

// Tonic and Soda carry the attributes the panel test looks at.
const IngredientAttributes TonicAttributes{true, true, 0x336699, 40, 255, "Bubbly"};

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
            IngredientRecord("Soda", "Mixers", {true, false, 0, 150, 3}),
            IngredientRecord("Sloe Gin", "Gin"),
            IngredientRecord("Old Tom Gin", "Gin"),
            IngredientRecord("Vodka Citron", "Vodka"),
            IngredientRecord("aquavit", "Spirits")};
}

// Rum Punch also names "rum", which differs from Rum in letter case alone.
QByteArray RecipesFile(const QByteArray& rum = "Rum")
{
    return DatabaseFile(
        {RecipeRecord("Rum Punch", "Highball", "",
                      {Line(rum, 32, 0), Line("rum", 16, 1), Line("Tonic", 8, 2)}),
         RecipeRecord("Cuba Libre", "Highball", "", {Line(rum, 24, 0), Line("Soda", 48, 1)}),
         RecipeRecord("Gin Fizz", "Highball", "", {Line("Gin", 32, 0), Line("Soda", 16, 1)})});
}

} // namespace

class TestIngredientEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFolder> folder;
    frmIngredients* editor = nullptr;
    platform::TreeView* tree = nullptr;

    void ClickNode(const QString& key) { ClickRow(tree, tree->Node(key)); }
    QStringList Children(const QString& key) const { return ChildTexts(tree->Node(key)); }

    // What the panel shows: opacity, hot spot, Ounces and Action (0 unchecked, 1 checked,
    // 2 grayed), the colour of the button face, the display text, and which of its nine
    // controls are enabled (1) or not (0).
    QStringList Panel() const
    {
        QString enabled;
        for (QWidget* control : std::initializer_list<QWidget*>{
                 editor->lblHotspotID, editor->cboHotspotID, editor->chkOunces, editor->chkAction,
                 editor->lblColor, editor->cmdColor, editor->lblOpacity, editor->cboOpacity,
                 editor->txtDisplayText})
            enabled += control->isEnabled() ? '1' : '0';
        return {editor->cboOpacity->currentText(),
                editor->cboHotspotID->currentText(),
                QString::number(editor->chkOunces->GetValue()),
                QString::number(editor->chkAction->GetValue()),
                QString::number(editor->cmdColor->FaceColor(), 16),
                editor->txtDisplayText->Text(),
                enabled};
    }

private slots:
    void init()
    {
        folder = std::make_unique<MainWindowFolder>();
        folder->WriteDataFile("Ingredients.Dat", DatabaseFile(IngredientRecords()));
        folder->WriteDataFile("Recipes.Dat", RecipesFile());
        StartMainWindow();
        QVERIFY(ActivateMainWindow());
        frmMain* main = frmMain::Instance();
        main->mnuShowAllEditors->trigger();
        main->cmdIngredients->click();
        editor = main->IngredientEditor;
        QVERIFY(editor);
        tree = editor->TV;
    }
    void cleanup() { folder.reset(); }

    void treeShowsTheFileAndRemoveTakesAnIngredientWithEverythingBelowIt()
    {
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (13 Entries)"));
        platform::TreeNode* root = tree->Node("Ingredients");
        QCOMPARE(Children("Ingredients"), QStringList({"Bitters", "Mixers", "Spirits"}));
        QCOMPARE(Children("Spirits"), QStringList({"aquavit", "Gin", "Rum", "Vodka"}));
        // Below the categories the order is the collection order; a sub-ingredient stored
        // before its parent still finds it.
        QCOMPARE(Children("Gin"), QStringList({"Sloe Gin", "Old Tom Gin"}));
        QCOMPARE(Children("Vodka"), QStringList({"Vodka Zest", "Vodka Citron"}));
        QVERIFY(tree->IsExpanded(root) && !tree->IsExpanded(tree->Node("Spirits")));
        QCOMPARE(tree->SelectedNode(), root);
        QCOMPARE(Panel(), QStringList({"", "", "2", "2", "-1", "", "000000000"}));

        Press(tree, Qt::Key_Delete, MsgAnswer::Yes); // the root is not removed, without a word
        QVERIFY(MessageBox::Shown().isEmpty() && tree->Count() == 14);

        ClickNode("Mixers");
        Press(tree, Qt::Key_Delete, MsgAnswer::No);
        QVERIFY(Asked("Remove ingredient 'Mixers' and all sub-ingredients ?", "REMOVE INGREDIENT"));

        // Every depth goes: the category, its four sub-ingredients and their four. What stays
        // keeps its order and is still found by name.
        ClickNode("Spirits");
        Press(tree, Qt::Key_Delete, MsgAnswer::Yes);
        QCOMPARE(Keys(colIngredients), QStringList({"Mixers", "Bitters", "Tonic", "Soda"}));
        QCOMPARE(colIngredients.Item("Soda"), colIngredients.Item(4));
        QCOMPARE(tree->Count(), 5);
        QVERIFY(!tree->Node("Vodka Zest") && !tree->Node("Old Tom Gin") && !tree->Node("Rum"));
        QCOMPARE(tree->SelectedNode(), tree->Node("Ingredients"));
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (4 Entries)"));

        ClickNode("Bitters");
        Press(tree, Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(Asked("Remove ingredient 'Bitters' ?", "REMOVE INGREDIENT"));
        QCOMPARE(colIngredients.Count(), 3);
        // Recipe lines keep the names of removed ingredients.
        QCOMPARE(LineNames(*colRecipes.Item("Cuba Libre")), QStringList({"Rum", "Soda"}));
    }

    void insertAddsOnePlaceholderAndRenameRefusesTakenNamesAndRenamesExactRecipeLines()
    {
        const QString placeholder = "New Ingredient (change this)";
        ClickNode("Bitters");
        Press(tree, Qt::Key_Insert, MsgAnswer::No);
        QVERIFY(Asked("Add a new ingredient to the database ?", "ADD INGREDIENT"));
        QCOMPARE(colIngredients.Count(), 13);

        Press(tree, Qt::Key_Insert, MsgAnswer::Yes);
        const auto added = colIngredients.Item(placeholder);
        QVERIFY(added && added->ParentItem() == "Bitters");
        QCOMPARE(tree->Node(placeholder)->Parent(), tree->Node("Bitters"));
        QCOMPARE(tree->SelectedNode(), tree->Node(placeholder));
        QCOMPARE(editor->SelectedIngredient, added);
        QVERIFY(tree->IsExpanded(tree->Node("Bitters")));
        QCOMPARE(editor->windowTitle(), QString("Ingredients - (14 Entries)"));

        // The name is still taken: a second Insert, even from the root, adds nothing and
        // selects the waiting placeholder.
        ClickNode("Ingredients");
        Press(tree, Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(tree->Count(), 15);
        QVERIFY(EditLabel(tree, "Angostura"));

        // Inserted from the root, Syrups is a category: it keeps its sub-ingredients in
        // alphabetical order, as the others do.
        for (const auto& [parent, name] :
             {std::pair{"Ingredients", "Syrups"}, {"Syrups", "Orgeat"}, {"Syrups", "Grenadine"}}) {
            ClickNode(parent);
            Press(tree, Qt::Key_Insert, MsgAnswer::Yes);
            QVERIFY(EditLabel(tree, name));
        }
        QCOMPARE(Children("Syrups"), QStringList({"Grenadine", "Orgeat"}));

        // A node with sub-ingredients keeps its name.
        for (const QString& key : {QString("Spirits"), QString("Gin")}) {
            ClickNode(key);
            QVERIFY(!EditLabel(tree, "Renamed"));
            QVERIFY(Refused("Cannot edit a top-level ingredient.", "INVALID ACTION"));
        }
        ClickNode("Ingredients"); // the root is not renamed, without a word
        QVERIFY(!EditLabel(tree, "Renamed") && MessageBox::Shown().isEmpty());

        const auto rum = colIngredients.Item("Rum");
        for (const QString& taken : {QString("GIN"), QString("rum")}) {
            ClickNode("Rum");
            QVERIFY(EditLabel(tree, taken));
            QVERIFY(Refused("Ingredient already in the database."));
            QVERIFY(tree->Node("Rum")->Text() == "Rum" && rum->Name() == "Rum" && tree->hasFocus());
        }

        QVERIFY(EditLabel(tree, "  Dark Rum  "));
        QVERIFY(MessageBox::Shown().isEmpty()); // the panel test saves the same rename
        QCOMPARE(Children("Spirits"), QStringList({"aquavit", "Dark Rum", "Gin", "Vodka"}));

        // A name is kept to 50 characters, in the tree as in the recipe lines.
        const QString longName = QString(60, QChar('x'));
        QVERIFY(EditLabel(tree, longName));
        QCOMPARE(tree->SelectedNode()->Key(), longName.left(50));
        QCOMPARE(LineNames(*colRecipes.Item("Cuba Libre")).first(), longName.left(50));
    }

    void panelAndColourDialogWriteTheSelectedIngredientAndTheSavedFilesHoldTheEdits()
    {
        ClickNode("Tonic");
        const auto tonic = colIngredients.Item("Tonic");
        // The user cannot take the selection from the node, which would leave the panel showing
        // an ingredient that is no longer selected.
        QVERIFY(TryToDeselect(tree));
        QCOMPARE(tree->SelectedNode(), tree->Node("Tonic"));
        QCOMPARE(editor->cboOpacity->count(), 101);
        QCOMPARE(Panel(), QStringList({"40 Percent", "(Unassigned)", "1", "1", "336699", "Bubbly",
                                       "111111111"}));
        // The action box shows its hint while it has the focus and clears it when left.
        editor->chkAction->setFocus();
        QVERIFY(frmMain::Instance()->txtHelp->toPlainText().startsWith("Check this if the"));
        editor->cboHotspotID->setFocus(); // has no hint of its own
        QCOMPARE(frmMain::Instance()->txtHelp->toPlainText(), QString());

        Choose(editor->cboOpacity, "75 Percent");
        Choose(editor->cboHotspotID, "7");
        QTest::mouseClick(editor->chkAction, Qt::LeftButton);
        QTest::mouseClick(editor->chkOunces, Qt::LeftButton);
        QCOMPARE(
            QList<int>({tonic->Opacity(), tonic->HotSpotID(), tonic->Action(), tonic->Ounces()}),
            QList<int>({75, 7, 0, 0}));
        QTest::mouseClick(editor->chkOunces, Qt::LeftButton);

        // The choosers of attributes this window does not edit stay disabled and empty.
        for (const auto& [box, label] : {std::pair{editor->cboCursor, editor->lblCursor},
                                         {editor->cboShadow, editor->lblShadow},
                                         {editor->cboHighlight, editor->lblHighlight},
                                         {editor->cboAnimation, editor->lblAnimation},
                                         {editor->cboHelpTopic, editor->lblHelpTopic},
                                         {editor->cboZoom, editor->lblZoom}})
            QVERIFY(!box->isEnabled() && box->count() == 0 && !label->isEnabled());

        // Soda's opacity has no entry: none is shown, and leaving Soda keeps it.
        ClickNode("Soda");
        QCOMPARE(Panel(), QStringList({"", "3", "1", "0", "0", "", "111111111"}));
        ClickNode("Tonic"); // leaving Soda keeps its 150, as the saved file shows

        // The display text goes to its ingredient when another is selected.
        Retype(editor->txtDisplayText, "Fizzy");
        QCOMPARE(tonic->DisplayText(), QString("Bubbly"));
        ClickNode("Gin");
        QCOMPARE(tonic->DisplayText(), QString("Fizzy"));

        ClickNode("Tonic");
        ClickNode("Ingredients");
        QVERIFY(!editor->SelectedIngredient);
        QCOMPARE(Panel(), QStringList({"", "", "2", "2", "-1", "", "000000000"}));
        // Clearing the panel wrote nothing into the ingredient shown before (the saved file
        // shows its other attributes).
        QCOMPARE(tonic->DisplayText(), QString("Fizzy"));

        // Collapsing the category of the selected ingredient selects the category, as a click
        // on it does: the panel and Delete do not go on with an ingredient out of sight.
        ClickNode("Tonic");
        Retype(editor->txtDisplayText, "Tonic water");
        const QRect mixers = tree->visualRect(tree->IndexOf(tree->Node("Mixers")));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          QPoint(mixers.left() - tree->indentation() / 2, mixers.center().y()));
        QVERIFY(!tree->IsExpanded(tree->Node("Mixers")));
        QCOMPARE(tree->SelectedNode(), tree->Node("Mixers"));
        QCOMPARE(editor->SelectedIngredient, colIngredients.Item("Mixers"));
        QCOMPARE(tonic->DisplayText(), QString("Tonic water"));

        ClickNode("Tonic");
        const qsizetype asked = platform::ColorDialog::Shown().size();
        const qint32 chosen = 0x12 + 256 * 0x34 + 65536 * 0x56;
        // Confirmed, then cancelled (-1): the dialog starts from the colour held each time, and
        // the button and the saved file keep the confirmed one.
        for (const qint32 answer : {chosen, -1}) {
            platform::ColorDialog::SetNextAnswer(answer);
            QTest::mouseClick(editor->cmdColor, Qt::LeftButton);
        }
        QCOMPARE(platform::ColorDialog::Shown().mid(asked), QList<qint32>({0x336699, chosen}));
        QCOMPARE(editor->cmdColor->FaceColor(), chosen);
        // The face is painted in that colour (the style may shade it, the hue stays): a
        // colour read with red and blue swapped would be orange.
        tree->setFocus();
        const QImage face = editor->cmdColor->grab().toImage();
        const int hue = face.pixelColor(face.rect().center()).hue();
        QVERIFY2(qAbs(hue - QColor(0x12, 0x34, 0x56).hue()) <= 8, qPrintable(QString::number(hue)));

        // A renamed ingredient is saved last; recipe lines carry its trimmed name.
        Retype(editor->txtDisplayText, "Quinine water");
        ClickNode("Rum");
        QVERIFY(EditLabel(tree, "  Dark Rum  "));
        ClickNode("Ingredients");
        Press(tree, Qt::Key_Insert, MsgAnswer::Yes);
        CloseMainWindow();

        auto records = IngredientRecords({true, false, chosen, 75, 7, "Quinine water"});
        records.removeAt(6); // Rum
        records.insert(
            3, IngredientRecord("New Ingredient (change this)", "", {true, false, 0xFFFFFF}));
        records.append(IngredientRecord("Dark Rum", "Spirits"));
        QCOMPARE(folder->ReadDataFile("Ingredients.Dat"), DatabaseFile(records));
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), RecipesFile("Dark Rum"));
    }
};

QTEST_MAIN(TestIngredientEditor)
#include "test_ingredienteditor.moc"
