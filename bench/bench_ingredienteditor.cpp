// How long the ingredient editor takes to open on a large ingredient tree, to rename an
// ingredient (with the recipe lines that name it) and to remove a category with 100
// sub-ingredients, at one size and at ten times that size.
//
// The database files are put together here byte by byte and loaded by the real start-up of the
// main window. Every figure is the median of three runs; between runs the ingredient file is
// loaded again, so that each run starts from the same tree.
//
// Run it headless: QT_QPA_PLATFORM=offscreen bench_ingredienteditor [ingredients recipes [once]]
// (without arguments: 10,000 ingredients with 100,000 recipes, then ten times both; "once"
// measures the given size alone, for profiling).
#include "BenchSupport.h"
#include "app/frmMain.h"
#include "editors/frmIngredients.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/TreeView.h"
#include "store/modCellarix.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace modCellarix;

namespace {

using namespace BenchSupport;

constexpr int Runs = 3;
constexpr int RemovedChildren = 100;
const char* const RemovedCategory = "Bitters";
// The other categories share every remaining sub-ingredient.
const std::vector<QByteArray> Categories = {"Spirits", "Mixers", "Juices", "Garnishes"};

QByteArray ChildName(const QByteArray& category, int number)
{
    return category + " No. " + QByteArray::number(number).rightJustified(6, '0');
}

struct Data {
    QByteArray ingredients;
    QByteArray recipes;
    std::vector<QByteArray> children; // every sub-ingredient outside the removed category
    // Sub-ingredients to rename, one per run, a quarter, half and three quarters of the way
    // through the file (removing a record from the collection costs more the earlier it is).
    std::vector<QByteArray> renamed;
    std::vector<int> linesNaming; // per renamed sub-ingredient, the recipe lines naming it
};

// Categories first, then their sub-ingredients in a shuffled order, so that the sorted
// insertion under a category lands anywhere among its children and the 100 that go with the
// removed category are spread over the whole collection.
Data Build(int ingredientCount, int recipeCount)
{
    Data data;
    Random random(quint32(ingredientCount) * 2654435761u + 7);
    const int categoryCount = int(Categories.size()) + 1;
    const int spread = ingredientCount - categoryCount - RemovedChildren;

    struct Child {
        QByteArray name;
        QByteArray parent;
    };
    std::vector<Child> children;
    children.reserve(size_t(ingredientCount));
    for (int k = 0; k < RemovedChildren; ++k)
        children.push_back({ChildName(RemovedCategory, k), RemovedCategory});
    for (int k = 0; k < spread; ++k) {
        const QByteArray& parent = Categories[size_t(k) % Categories.size()];
        children.push_back({ChildName(parent, k), parent});
        data.children.push_back(children.back().name);
    }
    for (size_t i = children.size(); i > 1; --i)
        std::swap(children[i - 1], children[size_t(random.Below(int(i)))]);
    for (int run = 1; run <= Runs; ++run) {
        size_t i = children.size() * size_t(run) / (Runs + 1);
        while (children[i].parent == RemovedCategory)
            ++i;
        data.renamed.push_back(children[i].name);
    }

    QByteArray& out = data.ingredients;
    out.reserve(qsizetype(ingredientCount) * 440 + 4);
    AppendInt32(out, ingredientCount);
    auto appendIngredient = [&](const QByteArray& name, const QByteArray& parent) {
        AppendField(out, name);
        AppendByte(out, 1);                                   // Ounces
        AppendByte(out, 0);                                   // Action
        AppendInt32(out, qint32(random.Next() & 0x00FFFFFF)); // Color
        AppendByte(out, random.Below(101));                   // Opacity
        AppendField(out, parent);
        out.append(300, '\0');              // Shadow .. HelpTopic, never assigned
        AppendByte(out, random.Below(256)); // HotSpotID
        const QByteArray text = "Shelf " + QByteArray::number(random.Below(40));
        AppendInt32(out, qint32(text.size()));
        out.append(text);
    };
    appendIngredient(RemovedCategory, QByteArray());
    for (const QByteArray& category : Categories)
        appendIngredient(category, QByteArray());
    for (const Child& child : children)
        appendIngredient(child.name, child.parent);

    data.linesNaming.assign(data.renamed.size(), 0);
    QByteArray& recipes = data.recipes;
    recipes.reserve(qsizetype(recipeCount) * 270 + 4);
    AppendInt32(recipes, recipeCount);
    for (int k = 0; k < recipeCount; ++k) {
        AppendField(recipes, "Recipe " + QByteArray::number(k).rightJustified(7, '0'));
        AppendByte(recipes, 0);                 // Category
        AppendField(recipes, "Highball Glass"); // Glass
        AppendByte(recipes, random.Below(20));  // Level
        AppendInt32(recipes, 0);                // no instructions
        AppendInt32(recipes, 3);
        for (int line = 0; line < 3; ++line) {
            const QByteArray& name = data.children[size_t(random.Below(int(data.children.size())))];
            AppendField(recipes, name);
            for (size_t run = 0; run < data.renamed.size(); ++run)
                data.linesNaming[run] += name == data.renamed[run] ? 1 : 0;
            AppendByte(recipes, 1 + random.Below(64)); // amount code
            AppendByte(recipes, line);                 // priority
        }
    }
    return data;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int LinesNaming(const QString& name)
{
    int lines = 0;
    for (const auto& recipe : colRecipes)
        for (const auto& line : recipe->RecipeIngredients())
            lines += line->Name == name ? 1 : 0;
    return lines;
}

void Fail(const char* what)
{
    std::fprintf(stderr, "check failed: %s\n", what);
    std::exit(1);
}

struct Figures {
    int ingredients = 0;
    int recipes = 0;
    double startupMs = 0;
    double openMs = 0;
    double renameMs = 0;
    double removeMs = 0;
    int renamedLines = 0;
};

Figures Measure(int ingredientCount, int recipeCount)
{
    Figures figures;
    figures.ingredients = ingredientCount;
    figures.recipes = recipeCount;

    const Data data = Build(ingredientCount, recipeCount);
    QTemporaryDir folder;
    QDir().mkpath(folder.path() + "/Data");
    if (!WriteWhole(folder.path() + "/Data/Ingredients.Dat", data.ingredients) ||
        !WriteWhole(folder.path() + "/Data/Recipes.Dat", data.recipes))
        Fail("cannot write the database files");
    platform::SetProgramFolder(folder.path());

    QElapsedTimer timer;
    timer.start();
    frmMain::Destroy();
    platform::MessageBox::SetScripted(true);
    frmMain* main = frmMain::Instance();
    main->MDIForm_Load();
    figures.startupMs = Ms(timer.nsecsElapsed());
    if (colIngredients.Count() != ingredientCount || colRecipes.Count() != recipeCount)
        Fail("the databases did not load completely");
    main->mnuShowAllEditors->trigger();

    std::vector<double> open, rename, remove;
    int renamedLines = 0;
    for (int run = 0; run < Runs; ++run) {
        if (run > 0) {
            // Back to the tree as loaded; the editor is closed and opened afresh.
            if (QMdiSubWindow* window =
                    qobject_cast<QMdiSubWindow*>(main->IngredientEditor->parentWidget()))
                window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            LoadIngredients();
        }

        timer.restart();
        main->cmdIngredients->click();
        QCoreApplication::processEvents();
        open.push_back(Ms(timer.nsecsElapsed()));
        frmIngredients* editor = main->IngredientEditor;
        if (!editor || editor->TV->Count() != ingredientCount + 1)
            Fail("the editor did not show every ingredient");

        // A different sub-ingredient each run, since the recipe lines keep the new names.
        const QString oldName = QString::fromLatin1(data.renamed[size_t(run)]);
        const QString newName = oldName + " Renamed";
        platform::TreeNode* node = editor->TV->Node(oldName);
        editor->TV->SetSelectedNode(node);
        editor->TV->NodeClick(node);
        bool cancel = false;
        timer.restart();
        editor->TV->AfterLabelEdit(cancel, newName);
        rename.push_back(Ms(timer.nsecsElapsed()));
        // Counted only now: counting asks every recipe for its lines, which a session that has
        // not opened them does not do before its first rename.
        const int lines = LinesNaming(newName);
        if (cancel || !colIngredients.Contains(newName) || lines != data.linesNaming[size_t(run)] ||
            LinesNaming(oldName) != 0)
            Fail("the rename did not happen");
        renamedLines += lines;

        platform::TreeNode* category = editor->TV->Node(RemovedCategory);
        if (!category || category->Children() != RemovedChildren)
            Fail("the category to remove is not as generated");
        editor->TV->SetSelectedNode(category);
        editor->TV->NodeClick(category);
        platform::MessageBox::SetNextAnswer(platform::MsgAnswer::Yes);
        timer.restart();
        editor->RemoveIngredient();
        remove.push_back(Ms(timer.nsecsElapsed()));
        if (colIngredients.Count() != ingredientCount - RemovedChildren - 1 ||
            editor->TV->Count() != ingredientCount - RemovedChildren)
            Fail("the removal did not take the category and its sub-ingredients");
    }
    figures.openMs = Median(open);
    figures.renameMs = Median(rename);
    figures.removeMs = Median(remove);
    figures.renamedLines = renamedLines / Runs;

    // Nothing is saved: the files were only there to be loaded.
    frmMain::Destroy();
    colRecipes.Clear();
    colIngredients.Clear();
    platform::SetProgramFolder(QString());
    return figures;
}

void Print(const Figures& f)
{
    std::printf("%8d ingredients, %8d recipes: start-up %9.1f ms | open %8.1f ms | rename %7.2f "
                "ms (%d recipe lines) | remove %7.2f ms\n",
                f.ingredients, f.recipes, f.startupMs, f.openMs, f.renameMs, f.renamedLines,
                f.removeMs);
    std::fflush(stdout);
}

void Judge(const char* what, double small, double large, double limitMs)
{
    const double ratio = large / small;
    std::printf("%-7s %8.2f ms -> %8.2f ms  ratio %5.2f (target <= 12: %s)  within %4.0f ms: "
                "%s / %s\n",
                what, small, large, ratio, ratio <= 12 ? "met" : "MISSED", limitMs,
                small <= limitMs ? "met" : "MISSED", large <= limitMs ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int ingredients = 10000, recipes = 100000;
    if (argc >= 3) {
        ingredients = std::atoi(argv[1]);
        recipes = std::atoi(argv[2]);
    }
    const bool once = argc == 4 && QByteArray(argv[3]) == "once";
    std::printf("Ingredient editor, median of %d runs; %d sub-ingredients go with '%s'.\n", Runs,
                RemovedChildren, RemovedCategory);
    const Figures small = Measure(ingredients, recipes);
    Print(small);
    if (once)
        return 0;
    const Figures large = Measure(ingredients * 10, recipes * 10);
    Print(large);
    std::printf("Targets: open within 1000 ms, rename and remove within 100 ms, each at ten times "
                "the data within 12 times the figure.\n");
    Judge("open", small.openMs, large.openMs, 1000);
    Judge("rename", small.renameMs, large.renameMs, 100);
    Judge("remove", small.removeMs, large.removeMs, 100);
    return 0;
}
