// How long the data store takes to load and save a large ingredient tree with 10,000 and with
// 100,000 recipes, set against a plain read of the same files and a write of them, with and
// without the flush to disk that a safe save needs, measured in the same run.
//
// The database files are put together here byte by byte, independently of the record classes,
// so that a fault in their savers cannot hide itself. After every load and save the recipe file
// must hold exactly the bytes it was given: the recipe lines are generated in ascending
// priority, the order in which a load leaves them and a save writes them.
//
// Last, the whole program is started on the database of 100,000 recipes, each time as a process
// of its own (this program, run with --whole-program, doing what the editor's main does): how
// long until its window shows and the database is loaded, and how long from the close of its
// window (asked for as soon as it is loaded) until the process has ended, its exit save done.
//
// Run it headless: QT_QPA_PLATFORM=offscreen bench_datastore
#include "BenchSupport.h"
#include "app/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "store/modCellarix.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace BenchSupport;

constexpr int IngredientCount = 10000;
constexpr int SmallRecipeCount = 10000;
constexpr int LargeRecipeCount = 100000;
constexpr int Runs = 5;

// ---------------------------------------------------------------------------------------------
// Building the files

// A 50-byte text field that was never assigned: all zero bytes.
void AppendEmptyField(QByteArray& out)
{
    out.append(50, '\0');
}

// Windows-1252 text; "\xE8" is e-grave, "\xE9" e-acute, "\xF1" n-tilde.
QByteArray Ansi(const char* text)
{
    return QByteArray(text);
}

struct Category {
    const char* name;
    bool measuredInOunces;
    std::vector<const char*> kinds; // what the children of this category are
};

const std::vector<Category>& Categories()
{
    static const std::vector<Category> categories = {
        {"Gin", true, {"London Dry Gin", "Old Tom Gin", "Sloe Gin", "Genever"}},
        {"Vodka", true, {"Vodka", "Citrus Vodka", "Vanilla Vodka", "Pepper Vodka"}},
        {"Rum", true, {"White Rum", "Gold Rum", "Dark Rum", "Spiced Rum", "Overproof Rum"}},
        {"Tequila",
         true,
         {"Blanco Tequila", "Reposado Tequila",
          "A\xF1"
          "ejo Tequila",
          "Mezcal"}},
        {"Whiskey", true, {"Bourbon", "Rye Whiskey", "Scotch Whisky", "Irish Whiskey"}},
        {"Brandy", true, {"Cognac", "Armagnac", "Apricot Brandy", "Calvados", "Pisco"}},
        {"Liqueurs",
         true,
         {"Triple Sec", "Amaretto", "Coffee Liqueur",
          "Cr\xE8"
          "me de Cassis",
          "Cr\xE8"
          "me de Menthe",
          "Cherry Liqueur", "Herbal Liqueur"}},
        {"Vermouth", true, {"Dry Vermouth", "Sweet Vermouth", "Bianco Vermouth"}},
        {"Aperitifs", true, {"Bitter Aperitif", "Quinquina", "Fino Sherry"}},
        {"Wine", true, {"Champagne", "Prosecco", "Red Wine", "White Wine", "Port"}},
        {"Beer", true, {"Lager", "Stout", "Ginger Beer", "Wheat Beer"}},
        {"Bitters", false, {"Aromatic Bitters", "Orange Bitters", "Peach Bitters"}},
        {"Syrups",
         true,
         {"Simple Syrup", "Grenadine", "Orgeat", "Honey Syrup", "Falernum", "Maple Syrup"}},
        {"Juices",
         true,
         {"Lemon Juice", "Lime Juice", "Orange Juice", "Pineapple Juice", "Cranberry Juice",
          "Grapefruit Juice", "Tomato Juice"}},
        {"Mixers", true, {"Soda Water", "Tonic Water", "Cola", "Lemonade", "Ginger Ale"}},
        {"Dairy", true, {"Cream", "Milk", "Egg White", "Coconut Cream"}},
        {"Fruit", false, {"Lemon Wedge", "Lime Wedge", "Orange Slice", "Maraschino Cherry"}},
        {"Garnishes",
         false,
         {"Olive", "Cocktail Onion", "Lemon Twist", "Orange Peel", "Mint Sprig", "Celery Stalk"}},
        {"Spices", false, {"Nutmeg", "Cinnamon", "Salt", "Black Pepper", "Celery Salt"}},
        {"Herbs", false, {"Mint Leaves", "Basil", "Rosemary", "Thyme"}},
        {"Sweeteners", false, {"Sugar Cube", "Brown Sugar", "Powdered Sugar"}},
        {"Coffee and Tea", true, {"Espresso", "Cold Brew", "Black Tea", "Green Tea"}},
        {"Ice", false, {"Crushed Ice", "Ice Cubes", "Large Ice Block"}},
        {"Non-Alcoholic Spirits", true, {"Botanical Spirit", "Zero-Proof Aperitif"}},
    };
    return categories;
}

const std::vector<const char*> Makers = {
    "Abbey",       "Aldridge",  "Anchor",   "Ashford",   "Bellamy",   "Blackwood", "Bramble",
    "Brightwater", "Calder",    "Carrow",   "Castleton", "Cedar",     "Copper",    "Crown",
    "Dunmore",     "Eastgate",  "Elmstead", "Fairhaven", "Fenwick",   "Glenrock",  "Golden",
    "Greystone",   "Harbor",    "Hawthorn", "Highfield", "Hollow",    "Ironside",  "Juniper",
    "Kingsley",    "Larkspur",  "Lockhart", "Marlow",    "Meadow",    "Northcote", "Oakridge",
    "Pembroke",    "Quarry",    "Redcliff", "Riverside", "Rosewood",  "Saltmarsh", "Silverton",
    "Stonebridge", "Thornbury", "Union",    "Valley",    "Westbrook", "Whitfield", "Wildwood",
    "Yarrow"};

const std::vector<const char*> Grades = {"Classic", "Reserve",   "Select",   "Premium",  "Estate",
                                         "Export",  "Signature", "Heritage", "Original", "Craft"};

struct IngredientDatabase {
    QByteArray file;
    std::vector<QByteArray> liquids;   // children measured in ounces
    std::vector<QByteArray> garnishes; // children that are not
};

// Top-level categories first, then their children, as the ingredient saver orders them.
IngredientDatabase BuildIngredients()
{
    IngredientDatabase db;
    Random random(20240611);
    QByteArray& out = db.file;
    AppendInt32(out, IngredientCount);

    auto appendIngredient = [&](const QByteArray& name, const QByteArray& parent, bool ounces,
                                bool topLevel) {
        AppendField(out, name);
        AppendByte(out, ounces ? 1 : 0);
        AppendByte(out, random.Below(4) == 0 ? 1 : 0);        // Action
        AppendInt32(out, qint32(random.Next() & 0x00FFFFFF)); // Color, 0x00BBGGRR
        AppendByte(out, random.Below(256));                   // Opacity
        if (topLevel)
            AppendField(out, QByteArray());
        else
            AppendField(out, parent);
        // Display attributes: the editor space-pads what it was given; fields nobody ever
        // set are zero bytes.
        const char* attributes[] = {"Shadow", "Highlight", "Cursor", "Zoom", "Animation"};
        for (const char* attribute : attributes) {
            if (random.Below(3) == 0)
                AppendEmptyField(out);
            else
                AppendField(out, QByteArray(attribute) + QByteArray::number(random.Below(40)));
        }
        if (random.Below(2) == 0)
            AppendEmptyField(out);
        else
            AppendField(out, QByteArray("About ") + name.left(44));
        AppendByte(out, random.Below(32)); // HotSpotID
        if (random.Below(3) == 0) {
            AppendInt32(out, 0);
        } else {
            QByteArray text = name + " is kept on the " + (random.Below(2) ? "back" : "top") +
                              " shelf, " + QByteArray::number(random.Below(30) + 1) +
                              " bottles in stock.";
            AppendInt32(out, qint32(text.size()));
            out.append(text);
        }
    };

    const auto& categories = Categories();
    for (const Category& category : categories)
        appendIngredient(Ansi(category.name), QByteArray(), false, true);

    // Every child is "<maker> <grade> <kind>"; the kinds cycle fastest, so that every category
    // gets its share.
    struct Kind {
        const Category* category;
        const char* name;
    };
    std::vector<Kind> kinds;
    for (const Category& category : categories)
        for (const char* kind : category.kinds)
            kinds.push_back(Kind{&category, kind});
    const int children = IngredientCount - int(categories.size());
    if (children > int(kinds.size() * Makers.size() * Grades.size())) {
        std::fprintf(stderr, "not enough distinct ingredient names\n");
        std::exit(2);
    }
    for (int k = 0; k < children; ++k) {
        const Kind& kind = kinds[size_t(k) % kinds.size()];
        const size_t maker = (size_t(k) / kinds.size()) % Makers.size();
        const size_t grade = (size_t(k) / kinds.size() / Makers.size()) % Grades.size();
        const QByteArray name =
            QByteArray(Makers[maker]) + ' ' + Grades[grade] + ' ' + Ansi(kind.name);
        appendIngredient(name, Ansi(kind.category->name), kind.category->measuredInOunces, false);
        (kind.category->measuredInOunces ? db.liquids : db.garnishes).push_back(name);
    }
    return db;
}

const std::vector<const char*> Adjectives = {
    "Velvet",   "Midnight", "Golden", "Crimson", "Silver", "Smoky",     "Bitter",  "Electric",
    "Frozen",   "Tropical", "Salty",  "Spiced",  "Burnt",  "Wild",      "Lazy",    "Royal",
    "Blushing", "Hidden",   "Rusty",  "Stormy",  "Sunny",  "Dusty",     "Gentle",  "Lucky",
    "Copper",   "Emerald",  "Amber",  "Scarlet", "Ivory",  "Jade",      "Misty",   "Wicked",
    "Quiet",    "Restless", "Sleepy", "Brave",   "Faded",  "Sparkling", "Twisted", "Lonely",
    "Clever",   "Humble",   "Noble",  "Secret",  "Savage", "Polished",  "Crooked", "Shady",
    "Tender",   "Merry"};
const std::vector<const char*> Nouns = {
    "Harbor",  "Sunset",  "Orchard", "Lantern", "Compass", "Garden",  "Meadow",  "Anchor",
    "Falcon",  "Tiger",   "Monsoon", "Glacier", "Canyon",  "Lagoon",  "Pilgrim", "Sailor",
    "Baron",   "Duchess", "Gypsy",   "Outlaw",  "Cowboy",  "Mermaid", "Phoenix", "Dragon",
    "Volcano", "Reef",    "Island",  "Prairie", "Forest",  "River",   "Comet",   "Eclipse",
    "Thunder", "Breeze",  "Ember",   "Shadow",  "Willow",  "Cherry",  "Pepper",  "Ginger",
    "Monarch", "Bishop",  "Jester",  "Knight",  "Castle",  "Bridge",  "Station", "Alley",
    "Parlor",  "Veranda"};
const std::vector<const char*> Styles = {
    "Sour",         "Fizz",       "Sling",         "Punch",      "Cooler",  "Highball",
    "Martini",      "Smash",      "Julep",         "Flip",       "Cobbler", "Collins",
    "Daisy",        "Rickey",     "Toddy",         "Swizzle",    "Mule",    "Spritz",
    "Crusta",       "Fix",        "Buck",          "Shrub",      "Nog",     "Sangaree",
    "Cup",          "Royale",     "Old Fashioned", "Manhattan",  "Negroni", "Daiquiri",
    "Margarita",    "Colada",     "Mojito",        "Gimlet",     "Sidecar", "Tonic",
    "Cooler No. 2", "Flip No. 2", "Smash No. 2",   "Punch No. 2"};

const std::vector<const char*> Glasses = {
    "Cocktail Glass",  "Highball Glass", "Old Fashioned Glass", "Collins Glass",
    "Champagne Flute", "Coupe",          "Hurricane Glass",     "Margarita Glass",
    "Copper Mug",      "Wine Glass",     "Shot Glass",          "Irish Coffee Mug"};

// The three lines of a recipe in an order a load keeps: priorities never decrease.
const int PriorityPatterns[][3] = {{0, 1, 9}, {0, 1, 2}, {0, 0, 9}, {0, 1, 1}, {1, 2, 3}};

QByteArray BuildRecipes(int count, const IngredientDatabase& ingredients)
{
    Random random(quint32(count) * 2654435761u + 17);
    QByteArray out;
    out.reserve(qsizetype(count) * 380 + 4);
    AppendInt32(out, count);
    QSet<QByteArray> names;
    for (int k = 0; k < count; ++k) {
        // "<adjective> <noun> <style>": the adjective cycles fastest.
        const size_t a = size_t(k) % Adjectives.size();
        const size_t n = (size_t(k) / Adjectives.size()) % Nouns.size();
        const size_t s = size_t(k) / Adjectives.size() / Nouns.size();
        if (s >= Styles.size()) {
            std::fprintf(stderr, "not enough distinct recipe names\n");
            std::exit(2);
        }
        const QByteArray name = QByteArray(Adjectives[a]) + ' ' + Nouns[n] + ' ' + Styles[s];
        if (names.contains(name.toLower())) {
            std::fprintf(stderr, "duplicate recipe name %s\n", name.constData());
            std::exit(2);
        }
        names.insert(name.toLower());

        const int* priorities = PriorityPatterns[random.Below(5)];
        QByteArray lineNames[3];
        for (int i = 0; i < 3; ++i) {
            const auto& pool = priorities[i] == 9 ? ingredients.garnishes : ingredients.liquids;
            lineNames[i] = pool[size_t(random.Below(int(pool.size())))];
        }
        const QByteArray glass = Glasses[size_t(random.Below(int(Glasses.size())))];

        QByteArray instructions;
        switch (random.Below(4)) {
        case 0:
            instructions = "Shake " + lineNames[0] + " and " + lineNames[1] +
                           " with ice; strain into a chilled " + glass.toLower() + ".";
            break;
        case 1:
            instructions = "Build over ice in the " + glass.toLower() + ", stirring gently.\r\n" +
                           "Top with " + lineNames[2] + " and serve.";
            break;
        case 2:
            instructions = "Stir " + lineNames[0] + " with ice, strain, then float the " +
                           lineNames[1] + " on top.";
            break;
        default:
            instructions = "Muddle gently, add " + lineNames[1] + ", shake briefly and " +
                           "double strain. Serve without a straw.";
            break;
        }

        AppendField(out, name);
        AppendByte(out, random.Below(8)); // Category
        AppendField(out, glass);
        AppendByte(out, random.Below(5)); // Level
        AppendInt32(out, qint32(instructions.size()));
        AppendInt32(out, 3);
        out.append(instructions);
        for (int i = 0; i < 3; ++i) {
            AppendField(out, lineNames[i]);
            AppendByte(out, 1 + random.Below(64)); // amount code
            AppendByte(out, priorities[i]);
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Measuring

QByteArray ReadWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Where two byte arrays first differ, or -1 when they are equal.
qint64 FirstDifference(const QByteArray& a, const QByteArray& b)
{
    const qint64 common = std::min(a.size(), b.size());
    for (qint64 i = 0; i < common; ++i)
        if (a[i] != b[i])
            return i;
    return a.size() == b.size() ? -1 : common;
}

// The times of one run, in nanoseconds.
struct Times {
    qint64 load = 0;
    qint64 save = 0;
    qint64 read = 0;         // both files read whole
    qint64 write = 0;        // both files written whole
    qint64 durableWrite = 0; // both files written whole and flushed to disk
    qint64 LoadSave() const { return load + save; }
    // The physical limit: reading the files and writing them durably, as a safe save must.
    qint64 Durable() const { return read + durableWrite; }
    qint64 Plain() const { return read + write; }
};

struct Figures {
    int recipes = 0;
    qint64 ingredientBytes = 0;
    qint64 recipeBytes = 0;
    Times first;
    Times best; // each time the best of the runs
    bool loadedAll = true;
    bool recipesIdentical = true;
    bool ingredientsIdentical = true;
    qint64 recipeDifference = -1;
    qint64 ingredientDifference = -1;
};

Figures Measure(const QString& programFolder, const QByteArray& ingredientFile,
                const QByteArray& recipeFile, int recipes)
{
    using namespace modCellarix;
    Figures f;
    f.recipes = recipes;
    f.ingredientBytes = ingredientFile.size();
    f.recipeBytes = recipeFile.size();

    QDir().mkpath(programFolder + QStringLiteral("/Data"));
    platform::SetProgramFolder(programFolder);
    InitDataPath();
    RecipeDatabasePath = DataPath + QStringLiteral("Recipes.Dat");
    const QString ingredientPath = DataPath + QStringLiteral("Ingredients.Dat");
    if (!WriteWhole(ingredientPath, ingredientFile) ||
        !WriteWhole(RecipeDatabasePath, recipeFile)) {
        std::fprintf(stderr, "cannot write the database files under %s\n",
                     qPrintable(programFolder));
        std::exit(2);
    }

    QElapsedTimer timer;
    const auto keepBest = [](qint64& best, qint64 value) {
        if (best == 0 || value < best)
            best = value;
    };
    for (int run = 0; run < Runs; ++run) {
        Times t;
        // As at start-up, the collections are empty before the load.
        ReleaseCollections();

        timer.start();
        LoadIngredients();
        LoadRecipes();
        t.load = timer.nsecsElapsed();

        if (colIngredients.Count() != IngredientCount || colRecipes.Count() != recipes)
            f.loadedAll = false;

        timer.start();
        SaveIngredients();
        SaveRecipes();
        t.save = timer.nsecsElapsed();

        const qint64 recipeDiff = FirstDifference(ReadWhole(RecipeDatabasePath), recipeFile);
        if (recipeDiff >= 0 && f.recipesIdentical) {
            f.recipesIdentical = false;
            f.recipeDifference = recipeDiff;
        }
        const qint64 ingredientDiff = FirstDifference(ReadWhole(ingredientPath), ingredientFile);
        if (ingredientDiff >= 0 && f.ingredientsIdentical) {
            f.ingredientsIdentical = false;
            f.ingredientDifference = ingredientDiff;
        }
        ReleaseCollections();

        // The same bytes read and written plainly, in the same run.
        qint64 bytesRead = 0;
        timer.start();
        bytesRead += ReadWhole(ingredientPath).size();
        bytesRead += ReadWhole(RecipeDatabasePath).size();
        t.read = timer.nsecsElapsed();
        if (bytesRead != f.ingredientBytes + f.recipeBytes)
            f.loadedAll = false;

        timer.start();
        bool written = WriteWhole(ingredientPath, ingredientFile) &&
                       WriteWhole(RecipeDatabasePath, recipeFile);
        t.write = timer.nsecsElapsed();

        timer.start();
        written = written && WriteDurably(ingredientPath, ingredientFile) &&
                  WriteDurably(RecipeDatabasePath, recipeFile);
        t.durableWrite = timer.nsecsElapsed();
        if (!written) {
            std::fprintf(stderr, "plain write failed under %s\n", qPrintable(programFolder));
            std::exit(2);
        }

        if (run == 0)
            f.first = t;
        keepBest(f.best.load, t.load);
        keepBest(f.best.save, t.save);
        keepBest(f.best.read, t.read);
        keepBest(f.best.write, t.write);
        keepBest(f.best.durableWrite, t.durableWrite);
    }
    return f;
}

const char* Verdict(bool met)
{
    return met ? "PASS" : "MISS";
}

double Ratio(qint64 a, qint64 b)
{
    return double(a) / double(b);
}

void PrintTable(const char* title, const std::vector<Figures>& figures, Times Figures::*times)
{
    std::printf("%s\n", title);
    std::printf("%9s %8s %8s %8s %10s %8s %8s %12s %10s %10s\n", "recipes", "file MB", "load",
                "save", "load+save", "read", "write", "write+fsync", "vs durable", "vs plain");
    for (const Figures& f : figures) {
        const Times& t = f.*times;
        std::printf("%9d %8.1f %8.1f %8.1f %10.1f %8.1f %8.1f %12.1f %9.2fx %9.2fx\n", f.recipes,
                    double(f.ingredientBytes + f.recipeBytes) / 1e6, Ms(t.load), Ms(t.save),
                    Ms(t.LoadSave()), Ms(t.read), Ms(t.write), Ms(t.durableWrite),
                    Ratio(t.LoadSave(), t.Durable()), Ratio(t.LoadSave(), t.Plain()));
    }
    std::printf("\n");
}

// ---------------------------------------------------------------------------------------------
// The whole program

// In the child: what the editor's main does on the program folder `folder`, saying on standard
// output when the window is shown and when loading is done, then closing the window.
int RunWholeProgram(int argc, char* argv[], const QString& folder)
{
    QApplication app(argc, argv);
    platform::SetProgramFolder(folder);
    platform::MessageBox::SetScripted(true);
    frmMain* main = frmMain::Instance();
    struct ShowWatch : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Show) {
                std::printf("shown\n");
                std::fflush(stdout);
                removeEventFilter(this);
            }
            return false;
        }
    } showWatch;
    main->installEventFilter(&showWatch);
    if (!main->MDIForm_Load())
        return 3;
    QTimer::singleShot(0, main, [main] {
        std::printf("loaded\n");
        std::fflush(stdout);
        main->close();
    });
    const int result = QApplication::exec();
    frmMain::Destroy();
    const int shown = int(platform::MessageBox::Shown().size());
    return result != 0 ? result : shown > 0 ? 4 : 0;
}

struct ProgramTimes {
    double shown = 0;  // ms from the start of the process to its window shown
    double loaded = 0; // ms from the start to the database loaded
    double ended = 0;  // ms from the close (when loaded) to the end of the process
};

// Starts this program as the editor on `folder` and times it; ends the program on a failure.
ProgramTimes StartWholeProgram(const QString& folder)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {"--whole-program", folder});
    ProgramTimes t;
    const auto waitFor = [&](const QByteArray& line, double& at) {
        while (!child.canReadLine())
            if (!child.waitForReadyRead(60000))
                Fail("the editor did not say it was ready");
        if (child.readLine() != line + '\n')
            Fail("the editor said something unexpected");
        at = Ms(timer.nsecsElapsed());
    };
    waitFor("shown", t.shown);
    waitFor("loaded", t.loaded);
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        Fail("the editor did not end cleanly (or showed a message box)");
    t.ended = Ms(timer.nsecsElapsed()) - t.loaded;
    return t;
}

void MeasureWholeProgram(const QString& folder)
{
    // The glass and help files the editor expects besides the two measured ones: empty.
    const QByteArray empty(4, '\0');
    if (!WriteWhole(folder + "/Data/Glasses.Dat", empty) ||
        !WriteWhole(folder + "/Data/Help.Dat", empty))
        Fail("cannot write the glass and help files");
    std::vector<double> shown, loaded, ended;
    std::printf("The whole program on 100,000 recipes (a new process each run), ms\n");
    std::printf("%5s %14s %14s %16s\n", "run", "window shown", "loaded", "ended after close");
    for (int run = 1; run <= Runs; ++run) {
        const ProgramTimes t = StartWholeProgram(folder);
        std::printf("%5d %14.0f %14.0f %16.0f\n", run, t.shown, t.loaded, t.ended);
        shown.push_back(t.shown);
        loaded.push_back(t.loaded);
        ended.push_back(t.ended);
    }
    std::printf("%5s %14.0f %14.0f %16.0f\n", "median", Median(shown), Median(loaded),
                Median(ended));
    std::printf("  shown and loaded within 1 s of the start: %s; ended within 1 s of the close: "
                "%s\n\n",
                Verdict(Median(loaded) <= 1000), Verdict(Median(ended) <= 1000));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--whole-program") == 0)
        return RunWholeProgram(argc, argv, QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    platform::MessageBox::SetScripted(true);

    QTemporaryDir temporary;
    if (!temporary.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 2;
    }

    const IngredientDatabase ingredients = BuildIngredients();
    std::vector<Figures> figures;
    for (int recipes : {SmallRecipeCount, LargeRecipeCount}) {
        const QByteArray recipeFile = BuildRecipes(recipes, ingredients);
        figures.push_back(
            Measure(temporary.path() + QStringLiteral("/recipes-") + QString::number(recipes),
                    ingredients.file, recipeFile, recipes));
    }
    platform::SetProgramFolder(QString());

    const Figures& small = figures[0];
    const Figures& large = figures[1];

    std::printf("Data store: LoadIngredients+LoadRecipes and SaveIngredients+SaveRecipes\n");
    // Whatever the recipe records hold besides their instructions: head and three lines.
    const qint64 fixedPart = qint64(Recipe::HeadSize + 3 * RecipeIngredient::Size);
    std::printf("%d ingredients (%d top-level); 3 lines and on average %.0f characters of "
                "instructions per recipe; times in ms\n",
                IngredientCount, int(Categories().size()),
                double(large.recipeBytes - 4 - fixedPart * large.recipes) / large.recipes);
    std::printf("vs durable = (load+save) / (read + write+fsync) of the same files in the same "
                "run;\nvs plain = (load+save) / (read + write without fsync)\n\n");
    PrintTable("First run", figures, &Figures::first);
    char bestTitle[64];
    std::snprintf(bestTitle, sizeof bestTitle, "Best of %d runs (each figure on its own)", Runs);
    PrintTable(bestTitle, figures, &Figures::best);

    const double largeRatio = Ratio(large.best.LoadSave(), large.best.Durable());
    const double costRatio = Ratio(large.best.LoadSave(), small.best.LoadSave());
    std::printf("Targets\n");
    std::printf("  load plus save of 100,000 recipes within 3 times a plain read plus a durable "
                "write: %.2fx  %s\n",
                largeRatio, Verdict(largeRatio <= 3.0));
    std::printf("  the cost at 100,000 within 12 times the cost at 10,000: %.2fx  %s\n", costRatio,
                Verdict(costRatio <= 12.0));
    std::printf("\n");
    MeasureWholeProgram(temporary.path() + QStringLiteral("/recipes-") +
                        QString::number(LargeRecipeCount));

    std::printf("Checks (not timed)\n");
    bool allGood = true;
    for (const Figures& f : figures) {
        if (f.recipesIdentical)
            std::printf("  %d recipes: recipe file after load+save is byte-identical to the "
                        "generated file (%lld bytes)\n",
                        f.recipes, f.recipeBytes);
        else
            std::printf("  %d recipes: recipe file after load+save DIFFERS from the generated "
                        "file, first at byte %lld\n",
                        f.recipes, f.recipeDifference);
        if (f.ingredientsIdentical)
            std::printf("  %d recipes: ingredient file after load+save is byte-identical "
                        "(%lld bytes)\n",
                        f.recipes, f.ingredientBytes);
        else
            std::printf("  %d recipes: ingredient file after load+save DIFFERS, first at byte "
                        "%lld\n",
                        f.recipes, f.ingredientDifference);
        if (!f.loadedAll)
            std::printf("  %d recipes: NOT every record was loaded or read back\n", f.recipes);
        allGood = allGood && f.recipesIdentical && f.ingredientsIdentical && f.loadedAll;
    }
    const auto& shown = platform::MessageBox::Shown();
    if (!shown.isEmpty()) {
        allGood = false;
        std::printf("  %d message box(es) were shown, the first: %s: %s\n", int(shown.size()),
                    qPrintable(shown.first().title), qPrintable(shown.first().text));
    }
    return allGood ? 0 : 1;
}
