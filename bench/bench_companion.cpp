// How long mixora-dat takes to import, export and check a database of 100,000 recipes (three
// lines each) with 10,000 ingredients, set against a process that only reads the same files and
// writes the same number of bytes durably. Both run as a user runs them, as separate processes.
//
// The database is generated as a JSON document; after the timed runs, exporting and importing
// again must give the same files byte for byte.
//
// Run it: bench_companion [PATH_TO_MIXORA_DAT]
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

// The time of the plain I/O program reading `reads` and writing durably as many bytes as the
// files `sizesOf` hold, to files of their names in `scratch`, each name followed by `suffixes`
// in turn ("" and ".bak": the file and its backup).
qint64 RunPlainIo(const QString& plainIo, const QStringList& reads, const QStringList& sizesOf,
                  const QString& scratch, const QStringList& suffixes = {QString()})
{
    QStringList arguments = reads;
    arguments << QStringLiteral("--");
    for (const QString& suffix : suffixes)
        for (const QString& file : sizesOf)
            arguments << scratch + QLatin1Char('/') + QFileInfo(file).fileName() + suffix
                      << QString::number(QFileInfo(file).size());
    return RunTool(plainIo, arguments);
}

struct Times {
    qint64 tool = 0;
    qint64 plain = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath();
    const QString tool =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : bin + QStringLiteral("/../mixora-dat");
    const QString plainIo = bin + QStringLiteral("/bench_plainio");
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("database.json"));
    const QString exported = dir.filePath(QStringLiteral("exported.json"));
    const QString data = dir.filePath(QStringLiteral("Data"));
    const QString scratch = dir.filePath(QStringLiteral("scratch"));
    QDir().mkpath(scratch);
    if (!WriteWhole(json, GenerateJson())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(json));
        return 2;
    }

    // Once untimed, for the files' sizes; then the round trip: the exported document imported
    // again gives the same files.
    RunTool(tool, {"import", json, data});
    RunTool(tool, {"export", data, exported});
    RunTool(tool, {"import", exported, dir.filePath(QStringLiteral("again"))});
    QStringList datFiles;
    bool identical = true;
    for (const char* file : {"Glasses.Dat", "Ingredients.Dat", "Recipes.Dat", "Help.Dat"}) {
        datFiles << data + QLatin1Char('/') + QLatin1String(file);
        identical = identical && ReadWhole(datFiles.last()) ==
                                     ReadWhole(dir.filePath(QStringLiteral("again/")) + file);
    }

    // Each command and its plain counterpart in the same run: import reads the document and the
    // four files it replaces, and writes the four new files and the old ones as backups; export
    // reads the four files and writes the document; check reads the four files and writes
    // nothing, and is set against reading them and writing them back.
    const char* const names[] = {"import", "export", "check"};
    Times first[3], best[3];
    for (int run = 0; run < Runs; ++run) {
        const Times times[3] = {
            {RunTool(tool, {"import", json, data}),
             RunPlainIo(plainIo, QStringList{json} + datFiles, datFiles, scratch,
                        {QString(), QStringLiteral(".bak")})},
            {RunTool(tool, {"export", data, exported}),
             RunPlainIo(plainIo, datFiles, {exported}, scratch)},
            {RunTool(tool, {"check", data}, true),
             RunPlainIo(plainIo, datFiles, datFiles, scratch)},
        };
        for (int c = 0; c < 3; ++c) {
            if (run == 0)
                first[c] = times[c];
            if (run == 0 || times[c].tool < best[c].tool)
                best[c].tool = times[c].tool;
            if (run == 0 || times[c].plain < best[c].plain)
                best[c].plain = times[c].plain;
        }
    }

    std::printf("database: %d recipes (%d lines each), %d ingredients; JSON %.1f MB, "
                "Recipes.Dat %.1f MB\n",
                RecipeCount, LinesPerRecipe, IngredientCount, QFileInfo(json).size() / 1e6,
                QFileInfo(data + "/Recipes.Dat").size() / 1e6);
    std::printf("times in ms, process start included; plain = a process that reads the same "
                "files and writes the same number of bytes durably (write + fsync); for import "
                "that is the document and the files it replaces, then the new files and the "
                "backups\n");
    std::printf("%-8s %10s %10s %7s   %10s %10s %7s\n", "", "first run", "plain", "ratio", "best",
                "plain", "ratio");
    bool met = true;
    for (int c = 0; c < 3; ++c) {
        const double ratio = double(best[c].tool) / double(best[c].plain);
        met = met && ratio <= 3;
        std::printf("%-8s %10.1f %10.1f %6.2fx   %10.1f %10.1f %6.2fx  (target 3: %s)\n", names[c],
                    Ms(first[c].tool), Ms(first[c].plain),
                    double(first[c].tool) / double(first[c].plain), Ms(best[c].tool),
                    Ms(best[c].plain), ratio, ratio <= 3 ? "met" : "MISSED");
    }
    std::printf("export then import gives the same files: %s\n", identical ? "yes" : "NO");
    return identical ? 0 : 1;
}
