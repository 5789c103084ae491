// The main module: the global state of the editor and the data store that moves the four
// databases between memory and disk. It shows nothing itself: what the user is to be told comes
// back as messages, and the loops that let the windows repaint call a progress routine.
#pragma once

#include "records/Glass.h"
#include "records/HelpTopic.h"
#include "records/Ingredient.h"
#include "records/KeyedCollection.h"
#include "records/NewKey.h"
#include "records/Recipe.h"

#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace modCellarix {

// The data folder beside the program, always ending in '/'.
extern QString DataPath;
// Full path of the recipe database being edited.
extern QString RecipeDatabasePath;
// Why the data folder could not be created at start-up; empty when it exists.
extern QString DataFolderError;
// True while another editor has the data folder: nothing is saved and the editors take no
// changes.
extern bool ReadOnly;
// The ingredient picker's hand-over: the confirmed ingredient's name, or empty.
extern QString PickedIngredientName;

extern KeyedCollection<Glass> colGlasses;
extern KeyedCollection<Ingredient> colIngredients;
extern KeyedCollection<Recipe> colRecipes;
extern KeyedCollection<HelpTopic> colHelpTopics;

// What a load or a save has to tell the user, always something that was not done (a file not
// written, records not read): a message box's title and text.
struct StoreMessage {
    QString title;
    QString text;
};
using StoreMessages = QList<StoreMessage>;

// Called after every tenth record by the loops that let the windows repaint meanwhile.
using Progress = std::function<void()>;

// True when a directory search for `Path` finds a file or folder of that name.
bool FileExists(const QString& Path);

// Sets DataPath to the program folder's "Data" folder and creates that folder if missing.
void InitDataPath();

void LoadGlasses(const Progress& progress = {});
void LoadIngredients(const Progress& progress = {});
void LoadHelpTopics();
void LoadRecipes();

// Each returns what went wrong ("Error saving glasses." and the like under "SAVE ERROR").
StoreMessages SaveGlasses(const Progress& progress = {});
StoreMessages SaveIngredients(const Progress& progress = {});
StoreMessages SaveRecipes(const Progress& progress = {});

// Why changes to the three editable files could not be saved, one reason per file or folder
// ("the folder … takes no new files (Permission denied)"); empty when nothing stands in the way.
QStringList WhyChangesCannotBeSaved();

// Writes the glasses, the ingredients and the recipes as complete database files into `folder`
// (for when the data folder cannot take them), each under its own file name. Empty on success,
// else what went wrong.
QString SaveDatabasesTo(const QString& folder);

// Empties the glass, ingredient and recipe collections.
void ReleaseCollections();

// The four databases.
enum class Database { Glasses, Ingredients, HelpTopics, Recipes };

// A record of a file that its collection did not take.
struct SkippedRecord {
    enum Reason { Unreadable, NoName, NameTaken };
    int record = 0; // 1-based position in the file
    Reason reason = Unreadable;
    QString name;    // NameTaken: the record's name
    QString takenBy; // NameTaken: the name of the earlier record that holds it
};

// What the most recent load of one database took from its file.
struct LoadResult {
    QString path;
    bool opened = false;          // false when the file could not be opened or read
    QString error;                // why it could not, when it could not
    bool countRead = false;       // false when the file is too short to hold a count
    qint32 recordCount = 0;       // the count at the start of the file
    int recordsFound = 0;         // records the file holds up to where reading stopped
    QList<qint64> recordStarts;   // where each record found starts in the file
    qint64 bytesLeftOver = 0;     // bytes after the records the count announced
    QList<SkippedRecord> skipped; // records found but not taken, in file order
    // The records added to the collection, in file order: one still held is known by its place in
    // the file.
    QList<std::weak_ptr<const void>> taken;
    // Records the file announced but the collection did not take: unreadable, missing from
    // the file, or carrying a name already taken.
    int RecordsNotTaken() const { return qMax(0, recordCount) - int(taken.size()); }
    bool IsClean() const { return opened && RecordsNotTaken() == 0 && bytesLeftOver == 0; }
    // What of the file could not be read: "2 records and 20 bytes after the last record".
    QString NotRead() const;
};
const LoadResult& LastLoad(Database database);

// Replaces the collection of `database` with the records of `file` (a count, then the
// records), noting in LastLoad what was taken and where each record starts. A record that cannot be
// read, or whose name is already taken (letter case ignored), is dropped; reading stops where the
// file ends. The glasses and the ingredients call `progress` every tenth record.
void ReadDatabase(Database database, QIODevice& file, const Progress& progress = {});

// Replaces the collection of `database` with the records of the file at `path`, as the loaders
// do, but creating and changing nothing: a missing file is noted in LastLoad as not opened.
void ReadDatabaseFile(Database database, const QString& path);

// What loading the file at `path` as the recipe database would take from it, read without
// creating the file or changing any collection or LastLoad.
LoadResult InspectRecipeFile(const QString& path);

// The names of the records that loading the file at `path` as `database` would take, in file
// order, read without creating the file or changing any collection or LastLoad; none when the
// file cannot be read.
QStringList RecordNames(Database database, const QString& path);

// Writes the collection of `database` to `file`: the count, then the records (top-level
// ingredients first), calling `progress` every tenth record. Stops at a record that cannot be
// written and adds "Error saving …" under "SAVE ERROR" to `messages`; false then. The editor
// never writes the help topics; the companion tool builds "Help.Dat" with this.
bool WriteDatabase(Database database, QIODevice& file, StoreMessages& messages,
                   const Progress& progress = {});

// What the last loads of `databases` could not take, in one "LOAD ERROR" message: a data folder
// that could not be made, files that could not be opened or read, and records that could not be
// read. None when everything loaded cleanly.
StoreMessages ReportLoadProblems(const QList<Database>& databases);

} // namespace modCellarix
