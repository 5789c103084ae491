// The Database Check window: what it lists for a database with one problem of each kind, where
// a double-click on each row leads, checking again until no problem is left, and that it lists
// what mixora-dat check prints for the same files.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "editors/frmCheck.h"
#include "editors/frmGlasses.h"
#include "editors/frmIngredients.h"
#include "editors/frmRecipes.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "store/modCellarix.h"

#include <QAccessible>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using namespace TestSupport;
using namespace modCellarix;
using platform::MessageBox;

namespace {

// Each row as mixora-dat check words it: "File: record N "name": field: problem", a part left
// out where its column is empty.
QStringList AllRowTexts(const platform::ListView* list)
{
    QStringList rows;
    for (int row = 1; row <= list->Count(); ++row) {
        const platform::ListItem* item = list->Item(row);
        const QString record = item->SubItem(1), field = item->SubItem(2);
        rows << item->Text() + ": " + (record.isEmpty() ? "" : "record " + record + ": ") +
                    (field.isEmpty() ? "" : field + ": ") + item->SubItem(3);
    }
    return rows;
}

// A double-click on row `row` of the check window, whose first click brings it to the front;
// MessageBox::Shown() then holds what it brought up.
void DoubleClickRow(const frmCheck* window, int row)
{
    MessageBox::ClearShown();
    platform::ListView* list = window->lvProblems;
    ClickRow(list, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(list->IndexOf(list->Item(row))).center());
}

QWidget* ActiveChild()
{
    const QMdiSubWindow* active = frmMain::Instance()->mdiArea->activeSubWindow();
    return active ? active->widget() : nullptr;
}

// The record the active editor has selected: "glass Highball", "ingredient Smoke" (when the
// tree shows it and the editor holds it), "recipe Typo line Ginn" (the line when the focus is on
// the recipe's lines).
QString SelectedInActiveEditor()
{
    const frmMain* main = frmMain::Instance();
    const QWidget* active = ActiveChild();
    if (active && active == main->GlassEditor)
        return "glass " + main->GlassEditor->LV->SelectedItem()->Text();
    if (active && active == main->IngredientEditor) {
        const platform::TreeView* tree = main->IngredientEditor->TV;
        const platform::TreeNode* node = tree->SelectedNode();
        if (!node || !tree->IsExpanded(node->Parent()) ||
            main->IngredientEditor->SelectedIngredient != colIngredients.Item(node->Key()))
            return "ingredient not shown";
        return "ingredient " + node->Key();
    }
    if (active && active == main->RecipeEditor) {
        const frmRecipes* editor = main->RecipeEditor;
        QString record = "recipe " + editor->CurrentRecipe()->Name;
        if (QApplication::focusWidget() == editor->lvRecipeIng)
            record += " line " + editor->CurrentIngredient()->Name;
        return record;
    }
    return "no editor";
}

} // namespace

class TestDatabaseCheck : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ScriptDialogs(); }
    void init() { folder = std::make_unique<MainWindowFolder>(); }
    void cleanup() { folder.reset(); }

    // With files of two generations too, recipes naming a glass and an ingredient that only the
    // backups hold, and a text the files cannot hold, which comes only from an edit.
    void listsOneRowPerProblemAsMixoraDatCheckOpensTheRecordOfEachAndFollowsTheEdits()
    {
        WriteDatabaseWithProblems(*folder);
        folder->WriteDataFile("Glasses.Dat.bak",
                              DatabaseFile({GlassRecord("Highball"), GlassRecord("Tumbler")}));
        folder->WriteDataFile("Ingredients.Dat.bak", DatabaseFile({IngredientRecord("Ginn", "")}));
        StartMainWindow();
        const auto highball = colGlasses.Item("Highball");
        highball->DisplayText = QStringLiteral("Tall \u2713");
        frmMain* main = frmMain::Instance();
        main->mnuCheckDatabase->trigger(); // File › Check Database
        frmCheck* window = main->DatabaseCheck;
        // The backups were read without touching what is in memory.
        QCOMPARE(colGlasses.Item("Highball"), highball);
        QVERIFY(!colGlasses.Contains("Tumbler") && !colIngredients.Contains("Ginn"));

        const platform::ListView* list = window->lvProblems;
        QCOMPARE(QStringList({window->windowTitle(), list->accessibleName(),
                              window->cmdCheckAgain->text(), list->ColumnHeader(1),
                              list->ColumnHeader(2), list->ColumnHeader(3), list->ColumnHeader(4)}),
                 QStringList({"Database Check - (12 Problems)", "Problems", "Check Again", "File",
                              "Record", "Field", "Problem"}));
        QVERIFY(window->lblNoProblems->isHidden());
        // What the loads met first, then the records' problems by file and record.
        const QStringList rows = AllRowTexts(list);
        QCOMPARE(
            rows,
            QStringList({
                R"(Glasses.Dat: record 2 "HIGHBALL": name: "HIGHBALL" equals "Highball" of an earlier record but for letter case)",
                R"(Recipes.Dat: record 5: cannot be read: it is cut off or a length in it is out of range)",
                R"(Recipes.Dat: recipes name 1 glass(es) that only Glasses.Dat.bak holds: the files may be of two generations, as an import cut short leaves them)",
                R"(Recipes.Dat: recipes name 1 ingredient(s) that only Ingredients.Dat.bak holds: the files may be of two generations, as an import cut short leaves them)",
                QString("Glasses.Dat: record 1 \"Highball\": displayText: holds \"\u2713\" "
                        "(U+2713), which the files cannot hold (Windows-1252)"),
                R"(Ingredients.Dat: record 3 "Lime Wedge": parent: "Garnishes" comes after this ingredient; a parent must come first)",
                R"(Ingredients.Dat: record 5 "Tonic": parent: no ingredient "Mixers")",
                R"(Ingredients.Dat: record 6 "Smoke": opacity: 150 is beyond what the editor offers (0 to 100 percent))",
                R"(Recipes.Dat: record 2 "Lost": glass: no glass "Tumbler")",
                R"(Recipes.Dat: record 3 "Hard": level: 25 is beyond what the editor offers (0 to 19, shown as Level 1 to Level 20))",
                R"(Recipes.Dat: record 4 "Typo": line 1 ingredient: no ingredient "Ginn")",
                R"(Recipes.Dat: record 4 "Typo": line 2 priority: 12 is beyond what the editor offers (0 to 9, shown as Priority 1 to Priority 9 and Garnish))",
            }));

        // The tool lists the same for the same files, which do not hold the edit.
        QProcess tool;
        tool.start(QStringLiteral(MIXORA_DAT), {"check", folder->DataPath()});
        QVERIFY(tool.waitForFinished(60000));
        QStringList printed = QString::fromUtf8(tool.readAllStandardOutput()).trimmed().split('\n');
        QVERIFY(printed.takeLast().endsWith(": 11 problems"));
        QStringList listed = rows;
        listed.removeAt(4);
        printed.sort();
        listed.sort();
        QCOMPARE(listed, printed);

        QVERIFY(!main->cmdGlasses->isVisible() && !main->cmdIngredients->isVisible());
        // Problems of the files as loaded, and signs of two generations, have no record to open:
        // their message, and the window stays.
        for (const int row : {1, 2, 3}) {
            DoubleClickRow(window, row);
            QVERIFY(Refused(rows[row - 1] +
                                "\n\nThere is no record in the editors to open for this problem.",
                            "DATABASE CHECK"));
            QCOMPARE(ActiveChild(), window);
        }

        // Each record in its editor: a glass or an ingredient made reachable as "Show All
        // Editors" does, an ingredient selected in the tree with its branch opened, and for a
        // recipe line problem, that line selected.
        const std::pair<int, QString> opened[] = {
            {5, "glass Highball"},       {6, "ingredient Lime Wedge"},
            {8, "ingredient Smoke"},     {9, "recipe Lost"},
            {10, "recipe Hard"},         {11, "recipe Typo line Ginn"},
            {12, "recipe Typo line Gin"}};
        for (const auto& [row, record] : opened) {
            DoubleClickRow(window, row);
            QVERIFY(MessageBox::Shown().isEmpty());
            QCOMPARE(SelectedInActiveEditor(), record);
        }
        QVERIFY(main->cmdGlasses->isVisible() && main->cmdIngredients->isVisible());
        QVERIFY(main->mnuShowAllEditors->isChecked());
        QCOMPARE(main->GlassEditor->txtDisplayText->Text(), QString("Tall \u2713"));
        // An ingredient whose parent is missing has no place in the tree: the editor says so.
        DoubleClickRow(window, 7);
        QVERIFY(Refused("Ingredient 'Tonic' is not in the tree, as its parent 'Mixers' is not.",
                        "INVALID ACTION"));
        QCOMPARE(ActiveChild(), main->IngredientEditor);

        // Enter opens the selected row as a double-click does.
        ClickRow(window->lvProblems, 9);
        Press(window->lvProblems, Qt::Key_Return);
        QCOMPARE(SelectedInActiveEditor(), QString("recipe Lost"));

        // Checking again follows the edits: "Lost" gets a glass that exists, which the window
        // does not notice by itself.
        Choose(main->RecipeEditor->cboGlass, "Highball");
        QCOMPARE(window->lvProblems->Count(), 12);
        QTest::mouseClick(window->cmdCheckAgain, Qt::LeftButton);
        QCOMPARE(window->windowTitle(), QString("Database Check - (10 Problems)"));
        QVERIFY(window->lblNoProblems->isHidden());

        // Sorted by a column, every row still opens its own record. Rows of records changed
        // since the check open nothing: a line removed though its recipe is still there (whose
        // other line still opens), a recipe removed, an ingredient renamed.
        window->lvProblems->ColumnClick(4);
        const QStringList problems = RowTexts(window->lvProblems, 3);
        QVERIFY(std::is_sorted(problems.begin(), problems.end(), [](auto& a, auto& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        }));
        const auto row = [&](const char* problem) {
            return problems.indexOf(QRegularExpression(problem)) + 1;
        };
        DoubleClickRow(window, row("no ingredient \"Ginn\""));
        QCOMPARE(SelectedInActiveEditor(), QString("recipe Typo line Ginn"));
        Press(main->RecipeEditor->lvRecipeIng, Qt::Key_Delete, platform::MsgAnswer::Yes);
        QVERIFY(colRecipes.Remove("Hard"));
        auto smoke = colIngredients.Item("Smoke");
        colIngredients.Remove("Smoke");
        smoke->SetName("Fog");
        colIngredients.Add("Fog", smoke);
        for (const char* problem : {"no ingredient \"Ginn\"", "25 is .*", "150 is .*"}) {
            DoubleClickRow(window, row(problem));
            QVERIFY(
                Refused("This record has changed since the check; check again.", "INVALID ACTION"));
            QCOMPARE(ActiveChild(), window);
        }
        DoubleClickRow(window, row("12 is .*"));
        QCOMPARE(SelectedInActiveEditor(), QString("recipe Typo line Gin"));

        // The menu command checks again too, and brings the same window to the front. Positions
        // stay those in the files as loaded; a recipe added since has none and comes last.
        auto added = std::make_shared<Recipe>();
        added->Name = "Added";
        added->Glass = "Goblet";
        colRecipes.Add(added->Name, added);
        main->mnuCheckDatabase->trigger();
        QCOMPARE(ActiveChild(), window);
        QCOMPARE(window->windowTitle(), QString("Database Check - (8 Problems)"));
        QCOMPARE(RowTexts(window->lvProblems, 1).mid(5),
                 QStringList({"6 \"Fog\"", "4 \"Typo\"", "\"Added\""}));
        QCOMPARE(main->mdiArea->subWindowList().size(), 4);
        QCOMPARE(main->mnuCheckDatabase->text(), QString("&Check Database"));

        // The problems of the recipe file opened in the recipe editor replace those of the
        // file it had before.
        folder->WriteDataFile("Other.Dat", Int32(2) + RecipeRecord("Only", "Highball", "", {}));
        platform::OpenFileDialog::SetNextAnswer(folder->DataPath() + "Other.Dat");
        platform::MessageBox::SetNextAnswer(platform::MsgAnswer::Yes); // open it anyway
        main->RecipeEditor->LoadDatabase();
        main->mnuCheckDatabase->trigger();
        const QString other = AllRowTexts(window->lvProblems).join('\n');
        QVERIFY(other.contains("Other.Dat: count: says 2 records, but the file holds only 1\n"));
        QVERIFY(!other.contains("Recipes.Dat"));
    }

    // The whole road: a glass renamed in the glass editor, Ctrl+K, a double-click on a recipe
    // that still names the old glass, the glass chosen again, checked again until nothing is
    // left. An ingredient bearing the tree's root's name, which the editor cannot show, is
    // listed too, and its row opens nothing.
    void aRenamedGlassIsFoundAndFixedUntilNoProblemsAreLeft()
    {
        folder->WriteDataFile("Glasses.Dat", DatabaseFile({GlassRecord("Highball")}));
        folder->WriteDataFile("Ingredients.Dat",
                              DatabaseFile({IngredientRecord("iNGREDIENTS", "")}));
        folder->WriteDataFile("Help.Dat", DatabaseFile({}));
        folder->WriteDataFile("Recipes.Dat",
                              DatabaseFile({RecipeRecord("Mojito", "Highball", "", {})}));
        StartMainWindow();
        QVERIFY(ActivateMainWindow());
        frmMain* main = frmMain::Instance();
        main->mnuShowAllEditors->setChecked(true);
        main->cmdGlasses_Click();
        QVERIFY(EditLabel(main->GlassEditor->LV, "Highball Glass"));

        QTest::keyClick(main, Qt::Key_K, Qt::ControlModifier);
        frmCheck* window = main->DatabaseCheck;
        QVERIFY(window && ActiveChild() == window);
        QCOMPARE(AllRowTexts(window->lvProblems),
                 QStringList({R"(Ingredients.Dat: record 1 "iNGREDIENTS": name: is the name of )"
                              R"(the ingredient tree's root, so the editor cannot show it)",
                              R"(Recipes.Dat: record 1 "Mojito": glass: no glass "Highball")"}));

        const auto* spoken = QAccessible::queryAccessibleInterface(window->lvProblems);
        QCOMPARE(spoken->text(QAccessible::Description), QString());

        DoubleClickRow(window, 1);
        QVERIFY(Refused("Ingredient 'iNGREDIENTS' is not in the tree, as the tree's root bears its "
                        "name.",
                        "INVALID ACTION"));
        DoubleClickRow(window, 2);
        QCOMPARE(SelectedInActiveEditor(), QString("recipe Mojito"));
        QVERIFY(main->RecipeEditor->cboGlass->SelectedKey().isEmpty());
        Choose(main->RecipeEditor->cboGlass, "Highball Glass");
        colIngredients.Remove("iNGREDIENTS");
        QTest::mouseClick(window->cmdCheckAgain, Qt::LeftButton);
        // Nothing left: the list says so, to a screen reader too, and still gives its hint.
        QCOMPARE(QVariantList({window->windowTitle(), window->lvProblems->Count(),
                               window->lblNoProblems->isVisible(), window->lblNoProblems->text(),
                               spoken->text(QAccessible::Description)}),
                 QVariantList({"Database Check - (0 Problems)", 0, true, "No problems found.",
                               "No problems found."}));
        window->lvProblems->setFocus();
        QCOMPARE(main->txtHelp->toPlainText(),
                 QString("Double-click a problem to open the record it is about ..."));
        window->cmdCheckAgain->setFocus();
        QCOMPARE(main->txtHelp->toPlainText(), QString());
    }

private:
    std::unique_ptr<MainWindowFolder> folder;
};

QTEST_MAIN(TestDatabaseCheck)
#include "test_databasecheck.moc"
