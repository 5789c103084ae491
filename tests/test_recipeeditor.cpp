// The recipe editor driven as the user drives it: the recipe list with its keys and in-place
// renaming, the glass, level and instruction edits, the ingredient lines with their amount and
// priority, the ingredient picker, and switching to another recipe database.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "editors/frmAddIngredient.h"
#include "editors/frmRecipes.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "store/modCellarix.h"

#include <QPushButton>
#include <QTest>

#include <memory>

using namespace TestSupport;
using namespace modCellarix;
using platform::MessageBox;
using platform::MsgAnswer;

namespace {

// Lines are stored in priority order, so a save of unchanged recipes gives the same bytes.
// Zombie's glass is unknown, its level has no entry, one of its lines names an ingredient that
// no longer exists and has a priority without an entry.
QByteArray RecipesFile(const QByteArray& ginInstructions = "Shake.", int ginLevel = 0)
{
    return DatabaseFile(
        {RecipeRecord("Vodka Tonic", "Highball", "Stir.",
                      {Line("Vodka", 24, 0), Line("Tonic", 48, 1), Line("Lime Wedge", 1, 9)}, 2),
         RecipeRecord("Zombie", "Tiki Mug", "", {Line("Vodka", 16, 0), Line("Rum Gone", 16, 12)},
                      20),
         RecipeRecord("Gin Fizz", "Martini", ginInstructions, {Line("Gin", 32, 0)}, ginLevel)});
}

} // namespace

class TestRecipeEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFolder> folder;
    frmRecipes* editor = nullptr;

private slots:
    void init()
    {
        folder = std::make_unique<MainWindowFolder>();
        folder->WriteDataFile("Glasses.Dat",
                              DatabaseFile({GlassRecord("Highball"), GlassRecord("Martini"),
                                            GlassRecord("Old Fashioned")}));
        folder->WriteDataFile("Ingredients.Dat",
                              DatabaseFile({IngredientRecord("Spirits", "", {false}),
                                            IngredientRecord("Mixers", "", {false}),
                                            IngredientRecord("Vodka", "Spirits", {true}),
                                            IngredientRecord("Gin", "Spirits", {true}),
                                            IngredientRecord("Tonic", "Mixers", {true}),
                                            IngredientRecord("Lime Wedge", "Mixers", {false})}));
        folder->WriteDataFile("Recipes.Dat", RecipesFile());
        StartMainWindow();
        QVERIFY(ActivateMainWindow());
        frmMain::Instance()->cmdRecipes->click();
        editor = frmMain::Instance()->RecipeEditor;
        QVERIFY(editor);
        MessageBox::ClearShown();
    }
    void cleanup()
    {
        platform::ModalWindow::SetDriver(nullptr);
        folder.reset();
    }

    void loadShowsSortedRecipesWithTotalsAndTheFirstRecipe()
    {
        QCOMPARE(editor->windowTitle(), QString("Recipes - (3 Entries)"));
        QCOMPARE(RowTexts(editor->lvRecipes), QStringList({"Gin Fizz", "Vodka Tonic", "Zombie"}));
        // Only ounce-measured ingredients count; a vanished ingredient counts nothing.
        QCOMPARE(RowTexts(editor->lvRecipes, 1), QStringList({"2", "4 1/2", "1"}));
        QCOMPARE(editor->lvRecipes->SelectedItem(), editor->lvRecipes->Item(1));
        QCOMPARE(editor->cboGlass->count(), 3);
        QCOMPARE(editor->cboGlass->currentText(), QString("Martini"));
        QCOMPARE(editor->cboLevel->count(), 20);
        QCOMPARE(editor->cboLevel->currentText(), QString("Level 1"));
        QCOMPARE(editor->txtInstructions->Text(), QString("Shake."));
        QCOMPARE(RowTexts(editor->lvRecipeIng), QStringList({"Gin"}));
        QCOMPARE(editor->cboAmount->currentIndex(), 32);
        QCOMPARE(editor->cboPriority->count(), 10);
        QCOMPARE(editor->cboPriority->currentText(), QString("Priority 1"));
    }

    void insertAsksThenAddsOnePlaceholderAtTheTop()
    {
        Press(editor->lvRecipes, Qt::Key_Insert, MsgAnswer::No);
        QVERIFY(Asked("Add a new recipe to the database ?", "ADD RECIPE"));
        QCOMPARE(colRecipes.Count(), 3);

        ClickRow(editor->lvRecipes, 3);
        Press(editor->lvRecipes, Qt::Key_Insert, MsgAnswer::Yes);
        const QString placeholder = "New Recipe (change this)";
        QCOMPARE(editor->lvRecipes->Item(1)->Text(), placeholder); // at the top, though sorted
        QCOMPARE(editor->CurrentRecipe(), colRecipes.Item(placeholder));
        QCOMPARE(editor->windowTitle(), QString("Recipes - (4 Entries)"));
        QVERIFY(editor->cboGlass->isEnabled() && editor->txtInstructions->isEnabled());
        QCOMPARE(editor->cboGlass->currentIndex(), -1);
        QVERIFY(!editor->cboAmount->isEnabled() && !editor->cboPriority->isEnabled());

        Press(editor->lvRecipeIng, Qt::Key_Delete);
        QVERIFY(Refused("No current ingredient."));

        // The name is still taken: a second Insert adds nothing and selects the placeholder.
        ClickRow(editor->lvRecipes, 4);
        Press(editor->lvRecipes, Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(editor->lvRecipes->Count(), 4);
        QCOMPARE(editor->lvRecipes->SelectedItem()->Text(), placeholder);
    }

    void renameRefusalsAndARenameThatKeepsItsPlace()
    {
        const auto gin = colRecipes.Item("Gin Fizz");
        QVERIFY(EditLabel(editor->lvRecipes, "   ") && MessageBox::Shown().isEmpty());
        QVERIFY(EditLabel(editor->lvRecipes, "Anything", Qt::Key_Escape));
        QVERIFY(MessageBox::Shown().isEmpty());
        QCOMPARE(editor->lvRecipes->Item(1)->Text(), QString("Gin Fizz"));

        for (const QString& taken : {QString("vodka tonic"), QString("GIN FIZZ")}) {
            QVERIFY(EditLabel(editor->lvRecipes, taken));
            QVERIFY(Refused("Recipe '" + taken + "' already in the database."));
            QCOMPARE(editor->lvRecipes->Item(1)->Text(), QString("Gin Fizz"));
            QCOMPARE(gin->Name, QString("Gin Fizz"));
            QVERIFY(editor->lvRecipes->hasFocus());
        }

        QVERIFY(EditLabel(editor->lvRecipes, "Zesty Gin"));
        QCOMPARE(RowTexts(editor->lvRecipes), QStringList({"Zesty Gin", "Vodka Tonic", "Zombie"}));
        QCOMPARE(colRecipes.Item("Zesty Gin"), gin); // the same recipe, with its lines

        // A click on the Name header re-sorts; it was ascending since the load.
        ClickHeader(editor->lvRecipes, 1);
        QCOMPARE(RowTexts(editor->lvRecipes), QStringList({"Zombie", "Zesty Gin", "Vodka Tonic"}));
    }

    void deleteAsksRemovesAndSelectsTheNextUntilNoneIsLeft()
    {
        Press(editor->lvRecipes, Qt::Key_Delete, MsgAnswer::No);
        QVERIFY(Asked("Remove recipe 'Gin Fizz' ?", "REMOVE RECIPE"));
        QCOMPARE(colRecipes.Count(), 3);

        Press(editor->lvRecipes, Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(!colRecipes.Contains("Gin Fizz"));
        QCOMPARE(RowTexts(editor->lvRecipes), QStringList({"Vodka Tonic", "Zombie"}));
        QCOMPARE(editor->CurrentRecipe(), colRecipes.Item("Vodka Tonic"));
        QCOMPARE(editor->txtInstructions->Text(), QString("Stir."));

        Press(editor->lvRecipes, Qt::Key_Delete, MsgAnswer::Yes);
        Press(editor->lvRecipes, Qt::Key_Delete, MsgAnswer::Yes);
        QCOMPARE(colRecipes.Count(), 0);
        QCOMPARE(editor->windowTitle(), QString("Recipes - (0 Entries)"));
        for (QWidget* control : std::initializer_list<QWidget*>{
                 editor->cboGlass, editor->cboLevel, editor->lvRecipeIng, editor->cboAmount,
                 editor->cboPriority, editor->txtInstructions})
            QVERIFY(!control->isEnabled());

        Press(editor->lvRecipes, Qt::Key_Delete);
        QVERIFY(Refused("No current recipe."));
        QVERIFY(!EditLabel(editor->lvRecipes, "Nothing"));

        Press(editor->lvRecipes, Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(editor->windowTitle(), QString("Recipes - (1 Entries)"));
        QVERIFY(editor->cboGlass->isEnabled());
    }

    void clicksAndKeysLeaveTheRecipeAndTheLineSelected()
    {
        // Otherwise the editor would go on showing a recipe (or line) that is no longer
        // current, and what the user chose or typed there would reach nothing.
        const auto gin = colRecipes.Item("Gin Fizz");
        const auto line = editor->CurrentIngredient();
        QVERIFY(line);
        for (platform::ListView* list : {editor->lvRecipes, editor->lvRecipeIng}) {
            const platform::ListItem* selected = list->SelectedItem();
            QVERIFY(TryToDeselect(list));
            QCOMPARE(list->SelectedItem(), selected);
        }
        QCOMPARE(editor->CurrentRecipe(), gin);
        QCOMPARE(editor->CurrentIngredient(), line);
    }

    void glassLevelAndInstructionsReachTheRecipeAndUnknownValuesAreKept()
    {
        // Glass and level apply at once, the instructions when the focus leaves them.
        const auto gin = colRecipes.Item("Gin Fizz");
        Choose(editor->cboGlass, "Old Fashioned");
        QCOMPARE(gin->Glass, QString("Old Fashioned"));
        Choose(editor->cboLevel, "Level 5");
        QCOMPARE(int(gin->Level), 4);
        Retype(editor->txtInstructions, "Shake hard.");
        QCOMPARE(gin->Instructions, QString("Shake."));
        QTest::keyClick(editor->txtInstructions, Qt::Key_Tab);
        QVERIFY(!editor->txtInstructions->hasFocus());
        QCOMPARE(gin->Instructions, QString("Shake hard."));

        // An unknown glass, level or priority shows no choice (that it is kept is checked where
        // every record is viewed).
        const auto zombie = colRecipes.Item("Zombie");
        ClickRow(editor->lvRecipes, 3);
        QCOMPARE(editor->CurrentRecipe(), zombie);
        QCOMPARE(editor->cboGlass->currentIndex(), -1);
        QCOMPARE(editor->cboLevel->currentIndex(), -1);
        ClickRow(editor->lvRecipeIng, 2);
        QCOMPARE(editor->lvRecipeIng->Item(2)->SubItem(1), QString("Priority 13"));
        QCOMPARE(editor->cboPriority->currentIndex(), -1);
        Choose(editor->cboGlass, "Highball");
        QCOMPARE(zombie->Glass, QString("Highball"));
    }

    void priorityAppliesAtOnceAndAmountWhenTheFocusLeavesTheChooser()
    {
        ClickRow(editor->lvRecipes, 2);
        QCOMPARE(editor->CurrentRecipe(), colRecipes.Item("Vodka Tonic"));
        QCOMPARE(RowTexts(editor->lvRecipeIng), QStringList({"Lime Wedge", "Vodka", "Tonic"}));
        QCOMPARE(RowTexts(editor->lvRecipeIng, 1),
                 QStringList({"Garnish", "Priority 1", "Priority 2"}));

        ClickRow(editor->lvRecipeIng, 2);
        const auto vodka = editor->CurrentIngredient();
        QCOMPARE(vodka->Name, QString("Vodka"));
        QCOMPARE(editor->cboAmount->currentIndex(), 24);
        editor->cboAmount->setFocus();
        Choose(editor->cboAmount, "2 1/2 oz");
        QCOMPARE(vodka->Amount, 24.0);
        ClickRow(editor->lvRecipeIng, 3); // the focus leaves the chooser first
        QCOMPARE(vodka->Amount, 40.0);
        QCOMPARE(editor->cboAmount->currentIndex(), 48);

        // Tonic, the last row, becomes a garnish and keeps its place until the next sort.
        const auto tonic = editor->CurrentIngredient();
        Choose(editor->cboPriority, "Garnish");
        QCOMPARE(int(tonic->Priority), 9);
        QCOMPARE(RowTexts(editor->lvRecipeIng), QStringList({"Lime Wedge", "Vodka", "Tonic"}));

        ClickRow(editor->lvRecipes, 1);
        ClickRow(editor->lvRecipes, 2);
        QCOMPARE(RowTexts(editor->lvRecipeIng, 1),
                 QStringList({"Garnish", "Garnish", "Priority 1"}));
        QCOMPARE(editor->lvRecipeIng->Item(3)->Text(), QString("Vodka"));
    }

    void pickerAddsOneLineAtTheTopAndDeleteAsksBeforeRemoving()
    {
        ClickRow(editor->lvRecipes, 2);
        const auto recipe = colRecipes.Item("Vodka Tonic");

        bool refusedInPicker = false, stayedOpen = false, closed = false;
        platform::ModalWindow::SetDriver([&](QDialog& dialog) {
            auto& picker = static_cast<frmAddIngredient&>(dialog);
            picker.TV->setCurrentIndex(picker.TV->IndexOf(picker.TV->Node("Ingredients")));
            QTest::keyClick(picker.TV, Qt::Key_Return);
            refusedInPicker = Refused("No ingredient selected.");
            stayedOpen = picker.isVisible();
            QTest::keyClick(&picker, Qt::Key_Escape);
            closed = !picker.isVisible();
        });
        Press(editor->lvRecipeIng, Qt::Key_Insert);
        QVERIFY(refusedInPicker && stayedOpen && closed);
        QCOMPARE(recipe->RecipeIngredients().Count(), 3);
        QCOMPARE(editor->lvRecipeIng->Count(), 3);

        platform::ModalWindow::SetDriver([&](QDialog& dialog) {
            auto& picker = static_cast<frmAddIngredient&>(dialog);
            picker.TV->setCurrentIndex(picker.TV->IndexOf(picker.TV->Node("Tonic")));
            QTest::mouseClick(picker.cmdOK, Qt::LeftButton);
            closed = !picker.isVisible();
        });
        closed = false;
        Press(editor->lvRecipeIng, Qt::Key_Insert);
        QVERIFY(closed);
        QCOMPARE(recipe->RecipeIngredients().Count(), 4);
        QCOMPARE(RowTexts(editor->lvRecipeIng),
                 QStringList({"Tonic", "Lime Wedge", "Vodka", "Tonic"}));
        QCOMPARE(editor->lvRecipeIng->Item(1)->SubItem(1), QString("Priority 1"));
        QCOMPARE(editor->lvRecipeIng->SelectedItem(), editor->lvRecipeIng->Item(1));
        const auto added = editor->CurrentIngredient();
        QVERIFY(added && added->Name == "Tonic" && added->Priority == 0 && added->Amount == 0);
        QCOMPARE(editor->cboAmount->currentText(), QString("(NONE)"));
        QCOMPARE(editor->lvRecipes->Item(2)->SubItem(1), QString("4 1/2")); // not recomputed

        Press(editor->lvRecipeIng, Qt::Key_Delete, MsgAnswer::No);
        QVERIFY(Asked("Remove ingredient 'Tonic' ?", "REMOVE INGREDIENT"));
        QCOMPARE(recipe->RecipeIngredients().Count(), 4);
        Press(editor->lvRecipeIng, Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(!recipe->RecipeIngredients().Contains(added->ThisKey));
        QCOMPARE(RowTexts(editor->lvRecipeIng), QStringList({"Lime Wedge", "Vodka", "Tonic"}));
        QCOMPARE(editor->CurrentIngredient()->Name, QString("Lime Wedge"));
    }

    void openDatabaseCancelledChangesNothingConfirmedSavesFirst()
    {
        const QString oldPath = RecipeDatabasePath;
        const QString newPath = folder->DataPath() + "Other.Dat";
        folder->WriteDataFile("Other.Dat", DatabaseFile({RecipeRecord("Cuba Libre", "Highball", "",
                                                                      {Line("Tonic", 8, 0)}, 1)}));
        Choose(editor->cboLevel, "Level 5"); // Gin Fizz

        const qsizetype asked = platform::OpenFileDialog::Shown().size();
        editor->lvRecipes->setFocus();
        QTest::keyClick(editor->lvRecipes, Qt::Key_O, Qt::ControlModifier); // cancelled
        QCOMPARE(platform::OpenFileDialog::Shown().size(), asked + 1);
        const platform::OpenFileRequest request = platform::OpenFileDialog::Shown().last();
        QCOMPARE(request.title, QString("Select the recipe database to edit ..."));
        QCOMPARE(request.filter, QString("All Files (*.*)|*.*"));
        QCOMPARE(request.fileName, oldPath);
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), RecipesFile());
        QCOMPARE(RecipeDatabasePath, oldPath);

        // Instructions still being typed are stored before the old file is written.
        Retype(editor->txtInstructions, "Top with soda.");
        platform::OpenFileDialog::SetNextAnswer(newPath);
        editor->mnuOpenDatabase->trigger();
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), RecipesFile("Top with soda.", 4));
        QCOMPARE(RecipeDatabasePath, newPath);
        QCOMPARE(editor->windowTitle(), QString("Recipes - (1 Entries)"));
        QCOMPARE(RowTexts(editor->lvRecipes), QStringList({"Cuba Libre"}));
        QCOMPARE(editor->cboLevel->currentText(), QString("Level 2"));
        QCOMPARE(editor->cboAmount->count(), 256); // the choosers are filled again
    }
};

QTEST_MAIN(TestRecipeEditor)
#include "test_recipeeditor.moc"
