// mixora-dat: checks, exports, imports and dumps the game's database files, using the editor's
// own records and data store.
#include "DataFolder.h"
#include "DatabaseJson.h"
#include "DumpFile.h"
#include "check/CheckDatabase.h"
#include "platform/FileReplacement.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>

namespace {

using modCellarix::Database;

constexpr int Success = 0, Failure = 1, UsageError = 2;

const char* const Usage = R"(Usage: mixora-dat COMMAND ARGUMENTS
Checks, exports, imports and dumps the Mixora game databases (Glasses.Dat,
Ingredients.Dat, Recipes.Dat and Help.Dat in a data folder).

Commands:
  check DATA_FOLDER
      list every problem of the database
  export DATA_FOLDER OUT.json
      write the four databases as one JSON document
  import [--force] IN.json DATA_FOLDER
      write the four database files from a JSON document
  dump [--kind glasses|ingredients|recipes|help] FILE
      print one database file as readable text

"mixora-dat COMMAND --help" tells more about a command.
)";

struct Command {
    const char* name;
    int arguments; // how many it takes
    const char* help;
    int (*run)(const QStringList& arguments);
};

void Print(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int Fail(const QString& message)
{
    Print(stderr, QStringLiteral("mixora-dat: %1\n").arg(message));
    return Failure;
}

// "3 problems"
QString ProblemCount(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 problem") : QStringLiteral("%1 problems").arg(count);
}

// A problem with its file named: "Recipes.Dat: record 7 ...".
QString InFile(const CheckDatabase::Problem& problem)
{
    return DataFolder::FileName(problem.database) + QStringLiteral(": ") +
           CheckDatabase::Describe(problem);
}

// Reads the database files of `folder`; Failure, said, when it is no folder.
int LoadFolder(const QString& folder)
{
    if (!QDir(folder).exists())
        return Fail(QStringLiteral("'%1' is not a folder").arg(folder));
    DataFolder::LoadAll(folder);
    return Success;
}

int RunCheck(const QStringList& arguments)
{
    if (LoadFolder(arguments.at(0)) != Success)
        return Failure;
    // By file, what the loads met among the records' problems; the signs about the files as a
    // whole last.
    QList<CheckDatabase::Problem> problems =
        CheckDatabase::CheckLoads() + CheckDatabase::RecordProblems();
    CheckDatabase::SortByFile(problems);
    problems += CheckDatabase::MixedGenerations();
    for (const auto& problem : problems)
        Print(stdout, InFile(problem) + QLatin1Char('\n'));
    Print(stdout, QStringLiteral("glasses %1, ingredients %2, recipes %3, help topics %4: %5\n")
                      .arg(modCellarix::colGlasses.Count())
                      .arg(modCellarix::colIngredients.Count())
                      .arg(modCellarix::colRecipes.Count())
                      .arg(modCellarix::colHelpTopics.Count())
                      .arg(problems.isEmpty() ? QStringLiteral("no problems")
                                              : ProblemCount(problems.size())));
    return problems.isEmpty() ? Success : Failure;
}

// Writes the document to `path` through a new file that replaces it only when complete.
int WriteDocument(const QString& path)
{
    const QString error = platform::ReplaceFile(path, DatabaseJson::Export(), false);
    return error.isEmpty() ? Success
                           : Fail(QStringLiteral("%1; '%2' is unchanged").arg(error, path));
}

int RunExport(const QStringList& arguments)
{
    if (LoadFolder(arguments.at(0)) != Success)
        return Failure;
    for (const auto& file : DataFolder::Files()) {
        const auto& load = modCellarix::LastLoad(file.database);
        if (!load.opened)
            return Fail(
                QStringLiteral("cannot read '%1': %2; nothing written").arg(load.path, load.error));
    }
    // What the editor would leave out when it loads the files is left out here too.
    for (const auto& problem : CheckDatabase::CheckLoads())
        Print(stderr, QStringLiteral("mixora-dat: warning: %1 (left out)\n").arg(InFile(problem)));
    return WriteDocument(arguments.at(1));
}

int RunImport(const QStringList& arguments)
{
    QStringList rest = arguments;
    const bool force = rest.removeAll(QStringLiteral("--force")) > 0;
    if (rest.size() != 2) {
        Print(stderr, QStringLiteral("mixora-dat: import takes IN.json and DATA_FOLDER; see "
                                     "mixora-dat import --help\n"));
        return UsageError;
    }
    const QString input = rest.at(0);
    QByteArray json;
    QString readError;
    if (!platform::ReadRegularFile(input, false, json, readError))
        return Fail(QStringLiteral("cannot read '%1': %2").arg(input, readError));
    const QStringList problems = DatabaseJson::Import(json);
    if (!problems.isEmpty()) {
        for (const QString& problem : problems)
            Print(stderr, QStringLiteral("%1: %2\n").arg(input, problem));
        return Fail(QStringLiteral("nothing written: %1 in '%2'")
                        .arg(ProblemCount(problems.size()), input));
    }
    // What the editor tolerates is written, but told. The texts were checked as they were read.
    QList<CheckDatabase::Problem> warnings = CheckDatabase::CheckRecords(false);
    const QString error = DataFolder::WriteAll(rest.at(1), force);
    CheckDatabase::SortByFile(warnings);
    for (const auto& warning : warnings)
        Print(stderr, QStringLiteral("mixora-dat: warning: %1\n").arg(InFile(warning)));
    return error.isEmpty() ? Success : Fail(error);
}

int RunDump(const QStringList& arguments)
{
    QStringList rest = arguments;
    const QStringList kinds{"glasses", "ingredients", "help", "recipes"}; // in Files() order
    Database database;
    const int option = rest.indexOf(QStringLiteral("--kind"));
    if (option >= 0) {
        const int kind = kinds.indexOf(rest.value(option + 1).toLower());
        if (kind < 0) {
            Print(stderr, QStringLiteral("mixora-dat: --kind takes glasses, ingredients, "
                                         "recipes or help\n"));
            return UsageError;
        }
        database = DataFolder::Files()[kind].database;
        rest.remove(option, 2);
    }
    if (rest.size() != 1) {
        Print(stderr,
              QStringLiteral("mixora-dat: dump takes one file; see mixora-dat dump --help\n"));
        return UsageError;
    }
    const QString path = rest.first();
    if (option < 0 && !DumpFile::DatabaseOfName(QFileInfo(path).fileName(), database))
        return Fail(QStringLiteral("cannot tell which database '%1' holds; name it with --kind "
                                   "glasses|ingredients|recipes|help")
                        .arg(path));
    QByteArray out;
    if (!DumpFile::Dump(database, path, out))
        return Fail(QString::fromUtf8(out).trimmed());
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return Success;
}

const Command Commands[] = {
    {"check", 1, R"(Usage: mixora-dat check DATA_FOLDER
Reads the four database files of DATA_FOLDER as the editor does and lists every
problem, one per line: the file, the record (its position in the file and its
name) and the field. Finds files that cannot be read, records that cannot be
read, names equal but for letter case, counts that disagree with the records,
recipes naming a glass or ingredient that does not exist, ingredients whose
parent does not exist or comes after them, levels, priorities, amounts and
opacities the editor does not offer, texts a save would not keep, and files
that seem to be of two generations (recipes naming glasses or ingredients that
only the backups "<name>.bak" hold, as an import cut short leaves them).
Exits with status 1 when there is a problem, 0 when there is none.
)",
     RunCheck},
    {"export", 2, R"(Usage: mixora-dat export DATA_FOLDER OUT.json
Writes the four databases of DATA_FOLDER as one JSON document: keys in a fixed
order, one record per object, records in file order, amounts as codes with
their text alongside. Records the editor could not load are left out, with a
warning. OUT.json is replaced only when it is complete.
)",
     RunExport},
    {"import", 2, R"(Usage: mixora-dat import [--force] IN.json DATA_FOLDER
Writes Glasses.Dat, Ingredients.Dat, Recipes.Dat and Help.Dat in DATA_FOLDER
(created if missing) from a JSON document in the form "export" writes. Input
that cannot be stored as it stands (a wrong type, a number out of range, a name
used twice, a text too long or with characters the files cannot hold, an
amountText that does not match its amount, an unknown field) is refused with a
message naming the record and field, and nothing is written. What the editor
tolerates (a missing glass or ingredient, a level it does not offer) is written
and reported as a warning.
All four new files are written completely, and each file to be replaced is kept
as it was as "<name>.bak", before any old file is replaced, so a failure until
then leaves every database file as it was. An existing Help.Dat with other
contents is the game's own file and is replaced only with --force. Nothing is
written into a folder that a Mixora Database Editor has open, nor where a file
cannot be replaced (marked immutable, or in a folder that takes no new files).
The replacements happen one file after the other: a kill or power loss during
them can leave a mix of new and old files (the old ones are then in the
"<name>.bak" files); "check" points this out where the files show it.
)",
     RunImport},
    {"dump", 1, R"(Usage: mixora-dat dump [--kind glasses|ingredients|recipes|help] FILE
Prints one database file as readable text: its size and count, then every
record in file order with where it starts and its fields (a recipe's lines in
the order the editor holds them: by priority), and what could not be read.
The kind of database comes from the file name (Glasses.Dat, Ingredients.Dat,
Recipes.Dat, Help.Dat) unless --kind names it.
)",
     RunDump},
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        Print(arguments.isEmpty() ? stderr : stdout, QString::fromUtf8(Usage));
        return arguments.isEmpty() ? UsageError : Success;
    }
    const QString name = arguments.takeFirst();
    for (const Command& command : Commands) {
        if (name != QLatin1String(command.name))
            continue;
        if (arguments.contains(QLatin1String("--help")) ||
            arguments.contains(QLatin1String("-h"))) {
            Print(stdout, QString::fromUtf8(command.help));
            return Success;
        }
        // dump and import check their own arguments, which may include an option.
        if (command.run != RunDump && command.run != RunImport &&
            arguments.size() != command.arguments) {
            Print(stderr, QString::fromUtf8(command.help));
            return UsageError;
        }
        return command.run(arguments);
    }
    Print(stderr, QStringLiteral("mixora-dat: unknown command '%1'\n\n").arg(name) +
                      QString::fromUtf8(Usage));
    return UsageError;
}
