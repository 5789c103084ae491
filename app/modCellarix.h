// The main module: the global state of the editor, the data store that moves the four
// databases between memory and disk, and the routines every window shares.
#pragma once

#include "records/Glass.h"
#include "records/HelpTopic.h"
#include "records/Ingredient.h"
#include "records/KeyedCollection.h"
#include "records/NewKey.h"
#include "records/Recipe.h"

#include <QString>

namespace platform {
class ListView;
class TreeView;
} // namespace platform

namespace modCellarix {

// The data folder beside the program, always ending in '/'.
extern QString DataPath;
// Full path of the recipe database being edited.
extern QString RecipeDatabasePath;
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

void SaveGlasses();
void SaveIngredients();
void SaveRecipes();

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

// The four databases, for asking what their last load took from disk.
enum class Database { Glasses, Ingredients, HelpTopics, Recipes };

// What the most recent load of one database took from its file.
struct LoadResult {
    QString path;
    bool opened = false;    // false when the file could not be opened (or was never loaded)
    qint32 recordCount = 0; // the count at the start of the file
    int recordsTaken = 0;   // records added to the collection
};
const LoadResult& LastLoad(Database database);

} // namespace modCellarix
