// The main module: the global state of the editor, the data store that moves the four
// databases between memory and disk, and the routines every window shares.
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

namespace platform {
class ListView;
class TreeView;
} // namespace platform

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

// Writes `Message` into the main window's hint line, creating the main window if need be.
void ShowHint(const QString& Message);

// True when a directory search for `Path` finds a file or folder of that name.
bool FileExists(const QString& Path);

// Sets DataPath to the program folder's "Data" folder and creates that folder if missing.
void InitDataPath();

void LoadGlasses();
void LoadIngredients();
void LoadHelpTopics();
void LoadRecipes();

// Each rewrites its file; false, after showing "SAVE ERROR", when the file could not be saved.
bool SaveGlasses();
bool SaveIngredients();
bool SaveRecipes();

// Why changes to the three editable files could not be saved, one reason per file or folder
// ("the folder … takes no new files (Permission denied)"); empty when nothing stands in the way.
QStringList WhyChangesCannotBeSaved();

// Writes the glasses, the ingredients and the recipes as complete database files into `folder`
// (for when the data folder cannot take them), each under its own file name. Empty on success,
// else what went wrong.
QString SaveDatabasesTo(const QString& folder);

// Empties the glass, ingredient and recipe collections.
void ReleaseCollections();

// Fits columns 2.. of `List` to their widest text plus 20 pixels and gives the first column
// the rest of the list's width (or its own widest text plus 20 pixels when nothing is left).
void AutoSizeColumns(platform::ListView* List);

// Sorts `List` by the column at 1-based position `Column`: ascending, or descending when the
// same column was last sorted ascending. `Reset` forces ascending.
void SortByColumn(platform::ListView* List, int Column, bool Reset);

// Fills `Tree` with the ingredient tree: a root "Ingredients", the top-level ingredients under
// it and every other ingredient under its parent.
void FillIngredientTree(platform::TreeView* Tree);

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
    int recordsTaken = 0;         // records added to the collection
    int recordsFound = 0;         // records the file holds up to where reading stopped
    QList<qint64> recordStarts;   // where each record found starts in the file
    qint64 bytesLeftOver = 0;     // bytes after the records the count announced
    QList<SkippedRecord> skipped; // records found but not taken, in file order
    // Records the file announced but the collection did not take: unreadable, missing from
    // the file, or carrying a name already taken.
    int RecordsNotTaken() const { return qMax(0, recordCount) - recordsTaken; }
    bool IsClean() const { return opened && RecordsNotTaken() == 0 && bytesLeftOver == 0; }
};
const LoadResult& LastLoad(Database database);

// Replaces the collection of `database` with the records of `file` (a count, then the
// records), noting in LastLoad what was taken and where each record starts. A record that cannot be
// read, or whose name is already taken (letter case ignored), is dropped; reading stops where the
// file ends.
void ReadDatabase(Database database, QIODevice& file);

// Replaces the collection of `database` with the records of the file at `path`, as the loaders
// do, but creating and changing nothing: a missing file is noted in LastLoad as not opened.
void ReadDatabaseFile(Database database, const QString& path);

// What loading the file at `path` as the recipe database would take from it, read without
// creating the file or changing any collection or LastLoad.
LoadResult InspectRecipeFile(const QString& path);

// Writes the collection of `database` to `file`: the count, then the records (top-level
// ingredients first). Shows "Error saving …" under "SAVE ERROR" and stops at a record that
// cannot be written; false then. The editor never writes the help topics; the companion tool
// builds "Help.Dat" with this.
bool WriteDatabase(Database database, QIODevice& file);

// Tells the user, in one message, what the last loads of `databases` could not take: a data
// folder that could not be made, files that could not be opened or read, and records that
// could not be read. Shows nothing when everything loaded cleanly.
void ReportLoadProblems(const QList<Database>& databases);

} // namespace modCellarix
