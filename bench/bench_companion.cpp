// How long mixora-dat takes to import, export and check a database of 100,000 recipes (three
// lines each) with 10,000 ingredients, set against the editor's own load and save of the same
// database. The tool runs as a user runs it, as a separate process.
//
// The database is generated as a JSON document; after the timed runs, exporting and importing
// again must give the same files byte for byte.
//
// Run it headless: QT_QPA_PLATFORM=offscreen bench_companion [PATH_TO_MIXORA_DAT]
#include "BenchSupport.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "store/modCellarix.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace BenchSupport;

constexpr int GlassCount = 20;
constexpr int CategoryCount = 100;
constexpr int IngredientCount = 10000;
constexpr int RecipeCount = 100000;
constexpr int LinesPerRecipe = 3;
constexpr int Runs = 3;

void AppendMember(QByteArray& out, const char* key, const QByteArray& value, bool last = false)
{
    out.append('"').append(key).append("\": ").append(value).append(last ? "" : ", ");
}

QByteArray Quoted(const QByteArray& text)
{
    return '"' + text + '"';
}

QByteArray Number(int value)
{
    return QByteArray::number(value);
}

QByteArray GenerateJson()
{
    Random random(20261205);
    const char* const words[] = {"Shake", "Stir",  "Strain",  "Pour",  "Muddle", "Build",
                                 "Top",   "Chill", "Garnish", "Layer", "Rim",    "Blend"};
    const auto sentence = [&](int words_) {
        QByteArray text;
        for (int i = 0; i < words_; ++i)
            text.append(i ? " " : "").append(words[random.Below(12)]);
        return text;
    };
    QByteArray out = R"({"format": "mixora-database", "version": 1, "glasses": [)";
    for (int g = 0; g < GlassCount; ++g) {
        out.append(g ? ",\n{" : "\n{");
        AppendMember(out, "name", Quoted("Glass " + Number(g)));
        for (const char* key :
             {"cursor", "opacityMap", "shadow", "highlight", "zoom", "animation", "helpTopic"})
            AppendMember(out, key, Quoted(""));
        AppendMember(out, "hotSpotId", Number(g));
        AppendMember(out, "displayText", Quoted(sentence(8)), true);
        out.append('}');
    }
    out.append("],\n\"ingredients\": [");
    for (int i = 0; i < IngredientCount; ++i) {
        const bool category = i < CategoryCount;
        out.append(i ? ",\n{" : "\n{");
        AppendMember(out, "name", Quoted((category ? "Category " : "Ingredient ") + Number(i)));
        AppendMember(out, "parent",
                     Quoted(category ? "" : "Category " + Number(random.Below(CategoryCount))));
        AppendMember(out, "ounces", random.Below(3) ? "true" : "false");
        AppendMember(out, "action", "false");
        AppendMember(out, "color", Quoted("#A0B0C0"));
        AppendMember(out, "opacity", Number(random.Below(101)));
        AppendMember(out, "hotSpotId", "255");
        AppendMember(out, "displayText", Quoted(sentence(10)), true);
        out.append('}');
    }
    out.append("],\n\"recipes\": [");
    for (int r = 0; r < RecipeCount; ++r) {
        out.append(r ? ",\n{" : "\n{");
        AppendMember(out, "name", Quoted("Recipe " + Number(r)));
        AppendMember(out, "glass", Quoted("Glass " + Number(random.Below(GlassCount))));
        AppendMember(out, "level", Number(random.Below(20)));
        AppendMember(out, "category", "0");
        AppendMember(out, "instructions", Quoted(sentence(20)));
        out.append("\"lines\": [");
        for (int l = 0; l < LinesPerRecipe; ++l) {
            out.append(l ? ", {" : "{");
            AppendMember(
                out, "ingredient",
                Quoted("Ingredient " +
                       Number(CategoryCount + random.Below(IngredientCount - CategoryCount))));
            AppendMember(out, "amount", Number(16 + random.Below(32)));
            AppendMember(out, "priority", Number(l), true);
            out.append('}');
        }
        out.append("]}");
    }
    out.append("],\n\"helpTopics\": [{\"name\": \"Welcome\", \"text\": \"Hello\"}]}\n");
    return out;
}

// Runs mixora-dat with `arguments`; the time it took, or stops the program when it failed.
qint64 RunTool(const QString& tool, const QStringList& arguments, bool mayFindProblems = false)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(tool, arguments);
    process.waitForFinished(-1);
    const qint64 elapsed = timer.nsecsElapsed();
    if (process.exitStatus() != QProcess::NormalExit ||
        (process.exitCode() != 0 && !(mayFindProblems && process.exitCode() == 1))) {
        std::fprintf(stderr, "mixora-dat %s failed:\n%s\n", qPrintable(arguments.join(' ')),
                     process.readAllStandardError().constData());
        std::exit(2);
    }
    return elapsed;
}

QByteArray ReadWhole(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The editor's start-up loads and shut-down saves on the program folder `folder`.
qint64 EditorLoadAndSave(const QString& folder)
{
    using namespace modCellarix;
    platform::SetProgramFolder(folder);
    InitDataPath();
    RecipeDatabasePath = DataPath + QStringLiteral("Recipes.Dat");
    ReleaseCollections();
    colHelpTopics.Clear();
    QElapsedTimer timer;
    timer.start();
    LoadGlasses();
    LoadIngredients();
    LoadHelpTopics();
    LoadRecipes();
    SaveGlasses();
    SaveIngredients();
    SaveRecipes();
    const qint64 elapsed = timer.nsecsElapsed();
    if (colRecipes.Count() != RecipeCount || colIngredients.Count() != IngredientCount) {
        std::fprintf(stderr, "the editor loaded %d recipes and %d ingredients\n",
                     colRecipes.Count(), colIngredients.Count());
        std::exit(2);
    }
    return elapsed;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    platform::MessageBox::SetScripted(true);
    const QString tool =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QCoreApplication::applicationDirPath() + QStringLiteral("/../mixora-dat");
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("database.json"));
    const QString data = dir.filePath(QStringLiteral("editor/Data"));
    if (!WriteWhole(json, GenerateJson())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(json));
        return 2;
    }

    qint64 import = -1, exportTime = -1, check = -1, editor = -1;
    const auto keepBest = [](qint64& best, qint64 value) {
        best = best < 0 ? value : qMin(best, value);
    };
    for (int run = 0; run < Runs; ++run) {
        keepBest(import, RunTool(tool, {"import", json, data}));
        keepBest(exportTime,
                 RunTool(tool, {"export", data, dir.filePath(QStringLiteral("exported.json"))}));
        keepBest(check, RunTool(tool, {"check", data}, true));
        keepBest(editor, EditorLoadAndSave(dir.filePath(QStringLiteral("editor"))));
    }

    // The round trip: the exported document imported again gives the same files.
    RunTool(tool, {"import", json, data});
    RunTool(tool, {"export", data, dir.filePath(QStringLiteral("exported.json"))});
    RunTool(tool, {"import", dir.filePath(QStringLiteral("exported.json")),
                   dir.filePath(QStringLiteral("again"))});
    bool identical = true;
    for (const char* file : {"Glasses.Dat", "Ingredients.Dat", "Recipes.Dat", "Help.Dat"})
        identical = identical && ReadWhole(data + '/' + file) ==
                                     ReadWhole(dir.filePath(QStringLiteral("again/")) + file);

    std::printf("database: %d recipes (%d lines each), %d ingredients; JSON %.1f MB, "
                "Recipes.Dat %.1f MB\n",
                RecipeCount, LinesPerRecipe, IngredientCount, QFileInfo(json).size() / 1e6,
                QFileInfo(data + "/Recipes.Dat").size() / 1e6);
    std::printf("editor load + save:  %8.1f ms\n", Ms(editor));
    const auto line = [&](const char* what, qint64 time) {
        const double ratio = double(time) / double(editor);
        std::printf("mixora-dat %-8s %8.1f ms  %5.2f x the editor  (target 3: %s)\n", what,
                    Ms(time), ratio, ratio <= 3 ? "met" : "MISSED");
    };
    line("import", import);
    line("export", exportTime);
    line("check", check);
    std::printf("export then import gives the same files: %s\n", identical ? "yes" : "NO");
    return identical ? 0 : 1;
}
