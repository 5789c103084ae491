// mixora-dat, run as a user runs it: what "check" finds, what "import" writes and refuses, the
// round trip through "export", and "dump".
#include "TestSupport.h"

#include "platform/FileReplacement.h"
#include "platform/FolderLock.h"
#include "tools/mixora-dat/DataFolder.h"
#include "tools/mixora-dat/DatabaseJson.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace TestSupport;

namespace {

struct Result {
    int code = -1;
    QString out, err;
    // What the run printed on standard output or error; where the exit code is not `expected`,
    // only that, so that any comparison, contains() and endsWith() too, checks both.
    QString Out(int expected) const { return IfExited(expected, out); }
    QString Err(int expected) const { return IfExited(expected, err); }
    QString IfExited(int expected, const QString& text) const
    {
        return code == expected ? text : QString("exit code %1, not %2").arg(code).arg(expected);
    }
};

Result Run(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(MIXORA_DAT), arguments);
    process.waitForFinished(60000);
    return Result{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                  QString::fromUtf8(process.readAllStandardOutput()),
                  QString::fromUtf8(process.readAllStandardError())};
}

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "import" with `options`, from the folder's "in.json" into its "Data".
Result Import(const QTemporaryDir& dir, const QStringList& options = {})
{
    return Run(QStringList("import") + options +
               QStringList{dir.filePath("in.json"), dir.filePath("Data")});
}

// A small database as "export" writes it, but for the line breaks; every test below changes one
// thing in it.
const QByteArray ValidJson = R"({"format": "mixora-database", "version": 1,
  "glasses": [{"name": "Highball", "cursor": "", "opacityMap": "", "shadow": "", "highlight": "",
    "zoom": "", "animation": "", "helpTopic": "", "hotSpotId": 2, "displayText": "Tall"}],
  "ingredients": [{"name": "Gin", "parent": "", "ounces": true, "action": false,
    "color": "#FF0000", "opacity": 0, "hotSpotId": 255, "displayText": ""},
    {"name": "Lime", "parent": "Gin", "shadow": "lime_s", "ounces": false, "action": true,
     "color": 16777216, "opacity": 40, "hotSpotId": 3, "displayText": "Green"}],
  "recipes": [{"name": "Gin Neat", "glass": "Highball", "level": 2, "category": 7,
    "instructions": "Pour.\r\nServe.", "lines": [
      {"ingredient": "Gin", "amount": 32, "amountText": "2 oz", "priority": 0},
      {"ingredient": "Lime", "amount": 22, "priority": 9}]}],
  "helpTopics": [{"name": "Welcome", "text": "Hi"}]})";

} // namespace

class TestCompanion : public QObject {
    Q_OBJECT

private slots:
    // Every problem the finder knows is printed as the editor's Database Check lists it (its
    // tests compare the two); here the ones only this database has, and the count.
    void checkFindsEachKindOfProblem()
    {
        ProgramFolder folder;
        WriteDatabaseWithProblems(folder, true);
        const QString data = folder.DataPath();
        QString out = Run({"check", data}).Out(1);
        for (const QString line :
             {R"(Ingredients.Dat: record 7 "Loop": parent: is the ingredient itself)",
              R"(Help.Dat: count: says 3 records, but the file holds only 2)",
              R"(Recipes.Dat: record 6 "After": glass: no glass "Goblet")"})
            QVERIFY2(out.contains(line + '\n'), qPrintable(out));
        QVERIFY(out.endsWith("glasses 1, ingredients 7, recipes 5, help topics 2: 12 problems\n"));

        // A file that is not there is a problem too; nothing is created.
        QFile::remove(data + "Help.Dat");
        out = Run({"check", data}).Out(1);
        QVERIFY(out.contains("Help.Dat: cannot be read: No such file or directory\n"));
        QVERIFY(!QFile::exists(data + "Help.Dat"));
    }

    // The sample database is clean and survives export and import. A file that cannot be written
    // whole, here because it may not grow that far, replaces nothing: not the document export
    // writes, not the files import writes.
    void sampleDatabaseSurvivesExportAndImportWhichReplaceNothingUnlessWrittenWhole()
    {
        const QString sample = QStringLiteral(SAMPLE_DATABASE_DIR);
        QVERIFY(Run({"check", sample}).Out(0).endsWith(": no problems\n"));

        QTemporaryDir dir;
        const QString json = dir.filePath("out.json");
        Write(json, "the previous document");
        Write(dir.filePath("in.json"), Read(QStringLiteral(SAMPLE_DATABASE_JSON)));
        Write(dir.filePath("Data/Recipes.Dat"), "the previous recipes");
        Result exported, imported;
        {
            const FileSizeLimit limit(4000);
            exported = Run({"export", sample, json});
            imported = Import(dir);
        }
        QCOMPARE(exported.Err(1), "mixora-dat: cannot write the new out.json: File too large; '" +
                                      json + "' is unchanged\n");
        QCOMPARE(Read(json), QByteArray("the previous document"));
        QVERIFY2(imported.Err(1).contains("nothing written"), qPrintable(imported.err));
        QCOMPARE(QDir(dir.filePath("Data")).entryList(QDir::Files), QStringList({"Recipes.Dat"}));
        QCOMPARE(Read(dir.filePath("Data/Recipes.Dat")), QByteArray("the previous recipes"));

        QCOMPARE(Run({"export", sample, json}).Err(0), QString());
        // The sample is kept as the JSON that export writes.
        QCOMPARE(Read(json), Read(QStringLiteral(SAMPLE_DATABASE_JSON)));
        QCOMPARE(Import(dir).code, 0);
        for (const QString name : {"Glasses.Dat", "Ingredients.Dat", "Recipes.Dat", "Help.Dat"})
            QCOMPARE(Read(dir.filePath("Data/" + name)), Read(sample + "/" + name));
    }

    // Import writes the files byte for byte, keeps each file it replaces as "<name>.bak", and
    // leaves a Help.Dat of other contents alone unless told to replace it. Check then notices
    // files of two generations, as an import cut short leaves them: the recipes name a glass
    // that only the backup of the glasses holds.
    void importWritesTheFilesByteForByteAndKeepsBackups()
    {
        QTemporaryDir dir;
        Write(dir.filePath("in.json"), ValidJson);
        const auto data = [&](const QString& name) { return dir.filePath("Data/" + name); };
        const QByteArray oldHelp = DatabaseFile({HelpRecord("Other", "x")});
        Write(data("Glasses.Dat"), "the previous glasses");
        Write(data("Help.Dat"), oldHelp);
        QCOMPARE(Import(dir).Err(1), "mixora-dat: '" + data("Help.Dat") +
                                         "' holds other help topics; it is the game's file and is "
                                         "replaced only with --force; nothing written\n");
        QCOMPARE(QDir(dir.filePath("Data")).entryList(QDir::Files),
                 QStringList({"Glasses.Dat", "Help.Dat"}));

        QCOMPARE(Import(dir, {"--force"}).Err(0), QString());
        QCOMPARE(Read(data("Glasses.Dat.bak")), QByteArray("the previous glasses"));
        QCOMPARE(Read(data("Help.Dat.bak")), oldHelp);
        QCOMPARE(Read(data("Glasses.Dat")), DatabaseFile({GlassRecord("Highball", "Tall", 2, "")}));
        // "#FF0000" is red, in the low byte.
        QByteArray lime = IngredientRecord("Lime", "Gin", {false, true, 16777216, 40, 3, "Green"});
        lime.replace(107, 50, Field("lime_s")); // the one asset name given
        QCOMPARE(
            Read(data("Ingredients.Dat")),
            DatabaseFile({IngredientRecord("Gin", "", {true, false, 0x0000FF, 0, 255}), lime}));
        QCOMPARE(Read(data("Recipes.Dat")),
                 DatabaseFile({RecipeRecord("Gin Neat", "Highball", "Pour.\r\nServe.",
                                            {Line("Gin", 32, 0), Line("Lime", 22, 9)}, 2, 7)}));
        QCOMPARE(Read(data("Help.Dat")), DatabaseFile({HelpRecord("Welcome", "Hi")}));

        // Exported again (the fixed form is that of the sample's document): an asset name given
        // comes alone, the unassigned ones stay out, and a colour beyond RGB stays a number.
        QCOMPARE(Run({"export", dir.filePath("Data"), dir.filePath("out.json")}).code, 0);
        const QByteArray out = Read(dir.filePath("out.json"));
        QVERIFY(out.contains("\"parent\": \"Gin\",\n      \"shadow\": \"lime_s\","));
        QVERIFY(out.contains(R"("color": 16777216,)"));

        {
            const platform::FolderLock editor(dir.filePath("Data")); // an editor has the folder
            QCOMPARE(Import(dir).Err(1),
                     QString("mixora-dat: the databases in '%1' are open in a Mixora "
                             "Database Editor (process %2); nothing written\n")
                         .arg(dir.filePath("Data"))
                         .arg(QCoreApplication::applicationPid()));
            QCOMPARE(Read(data("Glasses.Dat.bak")), QByteArray("the previous glasses"));
        }

        // The same help topics again: Help.Dat is left as it is, and its backup too.
        QCOMPARE(Import(dir).code, 0);
        QCOMPARE(Read(data("Help.Dat.bak")), oldHelp);
        QCOMPARE(Read(data("Glasses.Dat.bak")), Read(data("Glasses.Dat")));
        QVERIFY(Run({"import", "--help"}).Out(0).contains("a mix of new and old files"));

        QCOMPARE(Run({"check", dir.filePath("Data")}).code, 0);
        Write(data("Glasses.Dat"), DatabaseFile({GlassRecord("Coupe")}));
        const QString check = Run({"check", dir.filePath("Data")}).Out(1);
        QVERIFY2(check.contains("only Glasses.Dat.bak holds") && check.endsWith(": 2 problems\n"),
                 qPrintable(check));
    }

    // Writing the files of an import failing at any step (a write, a sync, the copy for a
    // backup, the sync of the folder), counted over all four files, leaves them of one
    // generation: all as they were, or all new with their backups, the system's reason told.
    void aFaultAtAnyStepOfImportLeavesTheFilesOfOneGeneration()
    {
        const QStringList names{"Glasses.Dat", "Ingredients.Dat", "Help.Dat", "Recipes.Dat"};
        for (const auto step : {platform::FileStep::Write, platform::FileStep::Sync,
                                platform::FileStep::BackupCopy, platform::FileStep::DirectorySync})
            for (int n = 0, steps = 0; n <= steps; ++n) {
                QTemporaryDir dir;
                for (const QString& name : names)
                    Write(dir.filePath(name), "old " + name.toLatin1());
                QVERIFY(DatabaseJson::Import(ValidJson).isEmpty());
                platform::FileFaults::FailAt(step, n, ENOSPC);
                const QString error = DataFolder::WriteAll(dir.path(), true);
                if (n == 0)
                    steps = platform::FileFaults::Count(step);
                platform::FileFaults::Reset();
                QVERIFY(steps >= 4);
                int old = 0;
                for (const QString& name : names) {
                    const bool asItWas = Read(dir.filePath(name)).startsWith("old ");
                    old += asItWas;
                    QVERIFY(asItWas || Read(dir.filePath(name + ".bak")) == "old " + name);
                }
                QVERIFY2(n == 0 ? error.isEmpty() && old == 0
                                : error.contains(qt_error_string(ENOSPC)) && (old == 0 || old == 4),
                         qPrintable(QString("step %1, %2: %3").arg(int(step)).arg(n).arg(error)));
            }
    }

    // A pipe where a file should be is refused at once, never waited on; nor is a document
    // written over a pipe through a link ("/dev/stdout" is one), or the link replaced. A file the
    // system will not let be replaced (here one marked immutable) is found before anything is
    // replaced: the import writes nothing, rather than leaving the files of two generations.
    void pipesAreNotReadNorWrittenAndFilesThatCannotBeReplacedStopTheImport()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath("Data/");
        QVERIFY(QDir().mkpath(data));
        QCOMPARE(QProcess::execute("mkfifo", {data + "Glasses.Dat", dir.filePath("in.json")}), 0);
        const QString check = Run({"check", data}).Out(1);
        QVERIFY2(check.contains("it is not a regular file"), qPrintable(check));
        QCOMPARE(Import(dir).Err(1), "mixora-dat: cannot read '" + dir.filePath("in.json") +
                                         "': it is not a regular file\n");

        const QString out = dir.filePath("out.json");
        QVERIFY(QFile::link("/proc/self/fd/1", out)); // the tool's output, a pipe
        QCOMPARE(Run({"export", QStringLiteral(SAMPLE_DATABASE_DIR), out}).Err(1),
                 "mixora-dat: out.json is not a regular file; '" + out + "' is unchanged\n");
        QCOMPARE(QFileInfo(out).symLinkTarget(), QString("/proc/self/fd/1"));

        QVERIFY(QFile::remove(dir.filePath("in.json")) && QFile::remove(data + "Glasses.Dat"));
        Write(dir.filePath("in.json"), ValidJson);
        const QString recipes = data + "Recipes.Dat";
        Write(data + "Glasses.Dat", "the previous glasses");
        Write(recipes, "the previous recipes");
        // No ingredient file to keep, so a folder where its backup would go is in nobody's way.
        QVERIFY(QDir().mkpath(data + "Ingredients.Dat.bak"));
        if (QProcess::execute("chattr", {"+i", recipes}) != 0)
            QSKIP("files cannot be made immutable here");
        const auto unlock = qScopeGuard([&] { QProcess::execute("chattr", {"-i", recipes}); });
        QCOMPARE(Import(dir).Err(1),
                 QString("mixora-dat: Recipes.Dat cannot be replaced: Recipes.Dat is marked "
                         "immutable or append-only; nothing written\n"));
        QCOMPARE(QDir(data).entryList(QDir::Files), QStringList({"Glasses.Dat", "Recipes.Dat"}));
        QCOMPARE(Read(data + "Glasses.Dat"), QByteArray("the previous glasses"));
        QCOMPARE(QProcess::execute("chattr", {"-i", recipes}), 0);
        QCOMPARE(Import(dir).code, 0);
    }

    void importRefusesBadInputAndWritesNothing()
    {
        const QString line1 = R"(recipes record 1 "Gin Neat": line 1: )";
        const QString amount = line1 + "amount: a whole number from 0 to 255 is required";
        // The text replaced in the valid document, its replacement, and the problem told.
        const QList<std::tuple<QByteArray, QByteArray, QString>> cases = {
            {R"("amount": 32)", R"("amount": 300)", amount}, // amount out of range
            {R"("name": "Highball")", "\"name\": \"" + QByteArray(60, 'x') + '"',
             "glasses record 1 \"" + QString(60, 'x') +
                 "\": name: 60 characters, more than the 50 a save keeps"},
            {R"("amountText": "2 oz")", R"("amountText": "3 oz")",
             line1 +
                 R"(amountText: "3 oz" does not match amount 32, which reads "2 oz"; correct it or leave amountText out)"},
            {R"("text": "Hi")", "\"text\": \"Hi \xe2\x86\x92\"",
             "helpTopics record 1 \"Welcome\": text: holds \"\xe2\x86\x92\" (U+2192), which the "
             "files cannot hold (Windows-1252)"},
            {R"("hotSpotId": 2,)", R"("hotSpotId": 2, "glas": "x",)", // a misspelt field
             R"(glasses record 1 "Highball": glas: is not a field of this record)"},
            {R"("name": "Lime", "parent": "Gin")", R"("name": "GIN", "parent": "Gin")",
             R"(ingredients record 2 "GIN": name: "GIN" is already used by an earlier record (letter case is not told apart))"},
            {R"(, "priority": 0})", "}", line1 + "priority: is missing"},
            {R"("amount": 32)", R"("amount": 1e400)", amount}, // a number beyond a double
            {R"("hotSpotId": 2,)", R"("hotSpotId": 2, "hotSpotId": 3,)",
             R"(glasses record 1 "Highball": hotSpotId: appears twice)"},
            {R"("color": 16777216)", "\"color\": \"#0x1234\"",
             "ingredients record 2 \"Lime\": color: a colour \"#RRGGBB\" is required"},
            {R"("Hi"})", R"("Hi",})", "line 12: not valid JSON: a key in quotes should be here"},
            {R"("Hi")", Bytes(70, '['),
             "line 12: not valid JSON: objects and arrays nested too deep"},
            {R"("ounces": true)", R"("ounces": "yes")",
             R"(ingredients record 1 "Gin": ounces: true or false is required)"}};
        for (const auto& [from, to, message] : cases) {
            QTemporaryDir dir;
            Write(dir.filePath("in.json"), QByteArray(ValidJson).replace(from, to));

            QCOMPARE(Import(dir).Err(1),
                     QString("%1: %2\nmixora-dat: nothing written: 1 problem in '%1'\n")
                         .arg(dir.filePath("in.json"), message));
            QCOMPARE(QDir(dir.filePath("Data")).entryList(QDir::Files), QStringList());
        }
    }

    // A child stored before its parent and lines out of priority order: the round trip writes
    // the parent first and the lines by priority, as the editor's save does, and neither is a
    // problem. What cannot be read is left out; what the editor tolerates, an unknown glass and
    // a line naming no ingredient, is written; each with a warning.
    void exportThenImportNormalisesAsTheEditorSaves()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath("Data/");
        Write(data + "Glasses.Dat", DatabaseFile({}));
        const QByteArray gin = IngredientRecord("Gin", "Spirits"),
                         spirits = IngredientRecord("Spirits", "");
        Write(data + "Ingredients.Dat", DatabaseFile({gin, spirits}));
        const QByteArray tall = RecipeRecord(
            "Tall", "Tumbler", "", {Line("Gin", 8, 3), Line("", 2, 5), Line("Gin", 4, 1)});
        Write(data + "Recipes.Dat", Int32(2) + tall + Bytes(20, 'z'));
        Write(data + "Help.Dat", QByteArray());

        QCOMPARE(Run({"export", data, dir.filePath("db.json")}).Err(0),
                 QString("mixora-dat: warning: Recipes.Dat: count: says 2 records, but the file "
                         "holds only 1 and 20 bytes that are no whole record (left out)\n"));
        QCOMPARE(Run({"import", dir.filePath("db.json"), dir.filePath("Out")}).Err(0),
                 QString("mixora-dat: warning: Recipes.Dat: record 1 \"Tall\": glass: no glass "
                         "\"Tumbler\"\nmixora-dat: warning: Recipes.Dat: record 1 \"Tall\": line 3 "
                         "ingredient: no ingredient \"\"\n"));
        QCOMPARE(Read(dir.filePath("Out/Ingredients.Dat")), DatabaseFile({spirits, gin}));
        QCOMPARE(
            Read(dir.filePath("Out/Recipes.Dat")),
            DatabaseFile({RecipeRecord("Tall", "Tumbler", "",
                                       {Line("Gin", 4, 1), Line("Gin", 8, 3), Line("", 2, 5)})}));
        QCOMPARE(Read(dir.filePath("Out/Glasses.Dat")) + Read(dir.filePath("Out/Help.Dat")),
                 Int32(0) + Int32(0));
    }

    void dumpShowsEveryRecordWhereItStartsAndEachCommandTellsItsUsage()
    {
        QTemporaryDir dir;
        const QByteArray first = HelpRecord("Welcome", "Line one\r\nLine \"two\"");
        Write(dir.filePath("Help.Dat"), Int32(3) + first + HelpRecord("Keys", ""));
        QCOMPARE(Run({"dump", dir.filePath("Help.Dat")}).Out(0).section('\n', 1),
                 QString("record 1 at byte 4\n"
                         "  name: \"Welcome\"\n"
                         "  text: \"Line one\\r\\nLine \\\"two\\\"\"\n"
                         "record 2 at byte %1\n"
                         "  name: \"Keys\"\n"
                         "  text: \"\"\n"
                         "count: says 3 records, but the file holds only 2\n")
                     .arg(4 + first.size()));

        // Any other file name needs its kind named.
        const QString topics = dir.filePath("topics.bin");
        QFile::rename(dir.filePath("Help.Dat"), topics);
        QCOMPARE(Run({"dump", topics}).code, 1);
        QVERIFY(Run({"dump", "--kind", "help", topics}).Out(0).contains("\"Keys\""));

        // Without a command, or with one unknown or lacking its arguments, the usage is told.
        QVERIFY(Run({}).Err(2).startsWith("Usage: mixora-dat COMMAND"));
        for (const char* command : {"check", "export", "import", "dump"})
            QVERIFY(Run({command, "--help"})
                        .Out(0)
                        .startsWith(QStringLiteral("Usage: mixora-dat %1 ").arg(command)));
        QVERIFY(Run({"check"}).code == 2 && Run({"frobnicate"}).code == 2);
    }
};

QTEST_MAIN(TestCompanion)
#include "test_companion.moc"
