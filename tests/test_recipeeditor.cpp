// The recipe editor driven as the user drives it: the recipe list with its keys and in-place
// renaming, the glass, level and instruction edits, the ingredient lines with their amount and
// priority, the ingredient picker, and switching to another recipe database.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "editors/frmAddIngredient.h"
#include "editors/frmRecipes.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/FileReplacement.h"
#include "store/modCellarix.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

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
    platform::ListView* recipes = nullptr;
    platform::ListView* lines = nullptr;

    // What the editor shows of the current recipe and line: glass, level, instructions, amount
    // and priority.
    QStringList Shown() const
    {
        return {editor->cboGlass->currentText(), editor->cboLevel->currentText(),
                editor->txtInstructions->Text(), editor->cboAmount->currentText(),
                editor->cboPriority->currentText()};
    }

private slots:
    void init()
    {
        folder = std::make_unique<MainWindowFolder>();
        folder->WriteDataFile("Glasses.Dat",
                              DatabaseFile({GlassRecord("Highball"), GlassRecord("Martini"),
                                            GlassRecord("Old Fashioned")}));
        folder->WriteDataFile(
            "Ingredients.Dat",
            DatabaseFile({IngredientRecord("Vodka", ""), IngredientRecord("Gin", ""),
                          IngredientRecord("Mixers", "", {false}),
                          IngredientRecord("Tonic", "Mixers", {true}),
                          IngredientRecord("Lime Wedge", "Mixers", {false})}));
        folder->WriteDataFile("Recipes.Dat", RecipesFile());
        StartMainWindow();
        QVERIFY(ActivateMainWindow());
        frmMain::Instance()->cmdRecipes->click();
        editor = frmMain::Instance()->RecipeEditor;
        QVERIFY(editor);
        recipes = editor->lvRecipes;
        lines = editor->lvRecipeIng;
    }
    void cleanup()
    {
        platform::ModalWindow::SetDriver(nullptr);
        folder.reset();
    }

    void loadShowsTheFirstRecipeWhichStaysSelectedAndRenameRefusalsOrARenameInPlace()
    {
        QCOMPARE(editor->windowTitle(), QString("Recipes - (3 Entries)"));
        QCOMPARE(RowTexts(recipes), QStringList({"Gin Fizz", "Vodka Tonic", "Zombie"}));
        // Only ounce-measured ingredients count; a vanished ingredient counts nothing.
        QCOMPARE(RowTexts(recipes, 1), QStringList({"2", "4 1/2", "1"}));
        QCOMPARE(Shown(), QStringList({"Martini", "Level 1", "Shake.", "2 oz", "Priority 1"}));
        // Nine priorities and Garnish: a priority beyond them shows no entry.
        QCOMPARE(QList<int>({editor->cboGlass->count(), editor->cboLevel->count(),
                             editor->cboPriority->count()}),
                 QList<int>({3, 20, 10}));

        // No click or key takes the selection from either list: the editor would go on showing
        // a recipe (or line) that is no longer current, and edits there would reach nothing.
        for (platform::ListView* list : {recipes, lines}) {
            const platform::ListItem* selected = list->SelectedItem();
            QVERIFY(TryToDeselect(list));
            QCOMPARE(list->SelectedItem(), selected);
        }

        const auto gin = colRecipes.Item("Gin Fizz");
        // A blank name and an edit ended with Escape change nothing without a word; a name
        // taken but for letter case, even the recipe's own, is refused.
        for (const auto& [text, finish, refused] :
             {std::tuple{QString("   "), Qt::Key_Return, false},
              {QString("Anything"), Qt::Key_Escape, false},
              {QString("vodka tonic"), Qt::Key_Return, true},
              {QString("GIN FIZZ"), Qt::Key_Return, true}}) {
            QVERIFY(EditLabel(recipes, text, finish));
            QVERIFY(refused ? Refused("Recipe '" + text + "' already in the database.")
                            : MessageBox::Shown().isEmpty());
            QCOMPARE(recipes->Item(1)->Text(), QString("Gin Fizz"));
            QCOMPARE(gin->Name, QString("Gin Fizz"));
            QVERIFY(recipes->hasFocus());
        }
        // Ended by a click on another control, a refused name also leaves the focus on the list,
        // where F2 tries again.
        Press(recipes, Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), "Zombie");
        QTest::mouseClick(editor->txtInstructions->viewport(), Qt::LeftButton);
        QVERIFY(Refused("Recipe 'Zombie' already in the database."));
        QVERIFY(recipes->hasFocus());

        QVERIFY(EditLabel(recipes, "Zesty Gin"));
        QCOMPARE(RowTexts(recipes), QStringList({"Zesty Gin", "Vodka Tonic", "Zombie"}));
        QCOMPARE(colRecipes.Item("Zesty Gin"), gin); // the same recipe, with its lines

        // A click on the Name header re-sorts; it was ascending since the load.
        ClickHeader(recipes, 1);
        QCOMPARE(RowTexts(recipes), QStringList({"Zombie", "Zesty Gin", "Vodka Tonic"}));
    }

    void insertAndDeleteAskFirstAndLeaveTheNextRecipeCurrent()
    {
        Press(recipes, Qt::Key_Insert, MsgAnswer::No);
        QVERIFY(Asked("Add a new recipe to the database ?", "ADD RECIPE"));
        Press(recipes, Qt::Key_Delete, MsgAnswer::No);
        QVERIFY(Asked("Remove recipe 'Gin Fizz' ?", "REMOVE RECIPE"));
        QCOMPARE(colRecipes.Count(), 3);

        ClickRow(recipes, 2); // Vodka Tonic, whose glass is then no longer shown
        Press(recipes, Qt::Key_Insert, MsgAnswer::Yes);
        const QString placeholder = "New Recipe (change this)";
        QCOMPARE(recipes->Item(1)->Text(), placeholder); // at the top, though sorted
        QCOMPARE(editor->windowTitle(), QString("Recipes - (4 Entries)"));
        QCOMPARE(editor->cboGlass->currentIndex(), -1);
        QVERIFY(!editor->cboAmount->isEnabled() && !editor->cboPriority->isEnabled());
        Press(lines, Qt::Key_Delete);
        QVERIFY(Refused("No current ingredient."));
        // The name is still taken: a second Insert adds nothing and selects the placeholder.
        ClickRow(recipes, 4);
        Press(recipes, Qt::Key_Insert, MsgAnswer::Yes);
        QCOMPARE(recipes->SelectedItem()->Text(), placeholder); // the rows are checked below

        ClickRow(recipes, 2);
        Press(recipes, Qt::Key_Delete, MsgAnswer::Yes);
        QCOMPARE(RowTexts(recipes), QStringList({placeholder, "Vodka Tonic", "Zombie"}));
        QCOMPARE(editor->txtInstructions->Text(), QString("Stir.")); // Vodka Tonic's

        for (int left = 3; left > 0; --left)
            Press(recipes, Qt::Key_Delete, MsgAnswer::Yes);
        QCOMPARE(editor->windowTitle(), QString("Recipes - (0 Entries)"));
        for (QWidget* control : std::initializer_list<QWidget*>{
                 editor->cboGlass, editor->cboLevel, lines, editor->cboAmount, editor->cboPriority,
                 editor->txtInstructions})
            QVERIFY(!control->isEnabled());
        Press(recipes, Qt::Key_Delete);
        QVERIFY(Refused("No current recipe."));
        QVERIFY(!EditLabel(recipes, "Nothing"));

        Press(recipes, Qt::Key_Insert, MsgAnswer::Yes);
        QVERIFY(editor->cboGlass->isEnabled());
    }

    void everyEditReachesItsRecipeOrLineAndUnknownValuesShowNoChoice()
    {
        // The level applies at once, the instructions when the focus leaves them.
        const auto gin = colRecipes.Item("Gin Fizz");
        Choose(editor->cboLevel, "Level 5");
        QCOMPARE(int(gin->Level), 4);
        Retype(editor->txtInstructions, "Shake hard.");
        QCOMPARE(gin->Instructions, QString("Shake."));
        QTest::keyClick(editor->txtInstructions, Qt::Key_Tab);
        QCOMPARE(gin->Instructions, QString("Shake hard."));

        // An unknown glass, level or priority shows no choice (that it is kept is checked where
        // every record is viewed); a chosen glass replaces it at once.
        const auto zombie = colRecipes.Item("Zombie");
        ClickRow(recipes, 3);
        ClickRow(lines, 2);
        QCOMPARE(lines->Item(2)->SubItem(1), QString("Priority 13"));
        QCOMPARE(Shown(), QStringList({"", "", "", "1 oz", ""}));
        Choose(editor->cboGlass, "Highball");
        QCOMPARE(zombie->Glass, QString("Highball"));
        // A glass removed since the editor opened is still listed; choosing it changes nothing.
        colGlasses.Remove("Old Fashioned");
        Choose(editor->cboGlass, "Old Fashioned");
        QCOMPARE(zombie->Glass, QString("Highball"));
        QCOMPARE(editor->cboGlass->currentText(), QString());

        // The priority applies at once, the amount when the focus leaves its chooser.
        ClickRow(recipes, 2); // Lime Wedge, Vodka, Tonic
        QCOMPARE(RowTexts(lines, 1), QStringList({"Garnish", "Priority 1", "Priority 2"}));
        ClickRow(lines, 2);
        const auto vodka = editor->CurrentIngredient();
        QCOMPARE(editor->cboAmount->currentText(), QString("1 1/2 oz"));
        editor->cboAmount->setFocus();
        Choose(editor->cboAmount, "2 1/2 oz");
        QCOMPARE(vodka->Amount, 24.0);
        ClickRow(lines, 3); // the focus leaves the chooser first
        QCOMPARE(vodka->Amount, 40.0);

        // Tonic, the last row, becomes a garnish and keeps its place until the next sort.
        const auto tonic = editor->CurrentIngredient();
        Choose(editor->cboPriority, "Garnish");
        QCOMPARE(int(tonic->Priority), 9);
        QCOMPARE(RowTexts(lines, 1), QStringList({"Garnish", "Priority 1", "Garnish"}));
        ClickRow(recipes, 1);
        ClickRow(recipes, 2);
        QCOMPARE(RowTexts(lines, 1), QStringList({"Garnish", "Garnish", "Priority 1"}));
    }

    void pickerAddsOneLineAtTheTopAndDeleteAsksBeforeRemoving()
    {
        ClickRow(recipes, 2);
        const auto recipe = colRecipes.Item("Vodka Tonic");

        int closed = 0;
        platform::ModalWindow::SetDriver([&](QDialog& dialog) {
            auto& picker = static_cast<frmAddIngredient&>(dialog);
            picker.TV->setCurrentIndex(picker.TV->IndexOf(picker.TV->Node("Ingredients")));
            QTest::keyClick(picker.TV, Qt::Key_Return);
            QVERIFY(Refused("No ingredient selected.") && picker.isVisible());
            QTest::keyClick(&picker, Qt::Key_Escape);
            closed += !picker.isVisible();
        });
        Press(lines, Qt::Key_Insert); // the later rows show that it added nothing

        platform::ModalWindow::SetDriver([&](QDialog& dialog) {
            auto& picker = static_cast<frmAddIngredient&>(dialog);
            picker.TV->setCurrentIndex(picker.TV->IndexOf(picker.TV->Node("Tonic")));
            QTest::mouseClick(picker.cmdOK, Qt::LeftButton);
            closed += !picker.isVisible();
        });
        Press(lines, Qt::Key_Insert);
        QCOMPARE(closed, 2);
        QCOMPARE(RowTexts(lines), QStringList({"Tonic", "Lime Wedge", "Vodka", "Tonic"}));
        QCOMPARE(lines->Item(1)->SubItem(1), QString("Priority 1"));
        const auto added = editor->CurrentIngredient();
        QVERIFY(added && added->Name == "Tonic" && added->Priority == 0 && added->Amount == 0);
        QCOMPARE(editor->cboAmount->currentText(), QString("(NONE)"));
        QCOMPARE(recipes->Item(2)->SubItem(1), QString("4 1/2")); // not recomputed

        Press(lines, Qt::Key_Delete, MsgAnswer::No);
        QVERIFY(Asked("Remove ingredient 'Tonic' ?", "REMOVE INGREDIENT"));
        QCOMPARE(recipe->RecipeIngredients().Count(), 4);
        Press(lines, Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(!recipe->RecipeIngredients().Contains(added->ThisKey));
        QCOMPARE(RowTexts(lines), QStringList({"Lime Wedge", "Vodka", "Tonic"}));
        QCOMPARE(editor->CurrentIngredient()->Name, QString("Lime Wedge"));
    }

    // Another recipe database is opened after the recipes are saved; when that save fails, the
    // failure is told and they can be saved into another folder before the chosen file's replace
    // them.
    void openDatabaseCancelledChangesNothingConfirmedSavesFirstOrOffersAnotherFolder()
    {
        const QString oldPath = RecipeDatabasePath;
        const auto other = [](int level) {
            return DatabaseFile(
                {RecipeRecord("Cuba Libre", "Highball", "", {Line("Tonic", 8, 0)}, level)});
        };
        folder->WriteDataFile("Other.Dat", other(1));
        Choose(editor->cboLevel, "Level 5"); // Gin Fizz

        const qsizetype asked = platform::OpenFileDialog::Shown().size();
        recipes->setFocus();
        QTest::keyClick(recipes, Qt::Key_O, Qt::ControlModifier); // cancelled
        QCOMPARE(platform::OpenFileDialog::Shown().size(), asked + 1);
        const platform::OpenFileRequest request = platform::OpenFileDialog::Shown().last();
        QCOMPARE(QStringList({request.title, request.filter, request.fileName}),
                 QStringList(
                     {"Select the recipe database to edit ...", "All Files (*.*)|*.*", oldPath}));
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), RecipesFile());
        QCOMPARE(RecipeDatabasePath, oldPath);

        // Instructions still being typed are stored before the old file is written.
        Retype(editor->txtInstructions, "Top with soda.");
        platform::OpenFileDialog::SetNextAnswer(folder->DataPath() + "Other.Dat");
        editor->mnuOpenDatabase->trigger();
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), RecipesFile("Top with soda.", 4));
        QCOMPARE(RowTexts(recipes), QStringList({"Cuba Libre"}));
        QCOMPARE(editor->cboLevel->currentText(), QString("Level 2"));
        QCOMPARE(editor->cboAmount->count(), 256); // the choosers are filled again

        Choose(editor->cboLevel, "Level 5"); // Cuba Libre
        QTemporaryDir elsewhere;
        MessageBox::SetNextAnswer(MsgAnswer::OK); // the save error
        MessageBox::SetNextAnswer(MsgAnswer::Yes);
        platform::FolderDialog::SetNextAnswer(elsewhere.path());
        platform::OpenFileDialog::SetNextAnswer(oldPath);
        platform::FileFaults::FailAt(platform::FileStep::Rename, 1, ENOSPC);
        editor->mnuOpenDatabase->trigger();
        platform::FileFaults::Reset();
        const auto& shown = MessageBox::Shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(
            QStringList({shown[0].title, shown[1].text, shown[2].text}),
            QStringList({"SAVE ERROR",
                         "Not every database could be saved. Save the glasses, the ingredients and "
                         "the recipes into another folder that you choose? Otherwise what was not "
                         "saved is lost when the other recipe database is opened.",
                         "The databases are saved in " + elsewhere.path() + "."}));
        QCOMPARE(folder->ReadDataFile("Other.Dat"), other(1));
        QFile saved(elsewhere.filePath("Other.Dat"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), other(4));
        QCOMPARE(RowTexts(recipes), QStringList({"Gin Fizz", "Vodka Tonic", "Zombie"}));
    }
};

QTEST_MAIN(TestRecipeEditor)
#include "test_recipeeditor.moc"
