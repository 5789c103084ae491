#include "modCellarix.h"

#include "platform/FileSystem.h"
#include "platform/ProgramFolder.h"

namespace modCellarix {

QString DataPath;
QString RecipeDatabasePath;
QString DataFolderError;
bool ReadOnly = false;
QString PickedIngredientName;

KeyedCollection<Glass> colGlasses;
KeyedCollection<Ingredient> colIngredients;
KeyedCollection<Recipe> colRecipes;
KeyedCollection<HelpTopic> colHelpTopics;

bool FileExists(const QString& Path)
{
    return platform::FindEntry(Path);
}

void InitDataPath()
{
    DataPath = platform::ProgramFolder();
    if (!DataPath.endsWith(QLatin1Char('/')))
        DataPath += QLatin1Char('/');
    DataPath += QStringLiteral("Data");
    DataFolderError.clear();
    if (!FileExists(DataPath))
        platform::MakeFolder(DataPath, &DataFolderError);
    else if (!platform::IsFolder(DataPath))
        DataFolderError = QStringLiteral("a file of that name is in the way");
    DataPath += QLatin1Char('/');
}

void ReleaseCollections()
{
    colGlasses.Clear();
    colIngredients.Clear();
    colRecipes.Clear();
}

} // namespace modCellarix
