#include "modCellarix.h"

#include "frmMain.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"

#include <QPlainTextEdit>

namespace modCellarix {

QString DataPath;
QString RecipeDatabasePath;
QString PickedIngredientName;

KeyedCollection<Glass> colGlasses;
KeyedCollection<Ingredient> colIngredients;
KeyedCollection<Recipe> colRecipes;
KeyedCollection<HelpTopic> colHelpTopics;

void ShowHint(const QString& Message)
{
    frmMain::Instance()->txtHelp->setPlainText(Message);
}

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
    QString error;
    if (!FileExists(DataPath) && !platform::MakeFolder(DataPath, &error))
        platform::MessageBox::Show(
            QStringLiteral("Cannot create the data folder '%1': %2.").arg(DataPath, error),
            platform::MsgButtons::OK, platform::MsgIcon::Information, QStringLiteral("LOAD ERROR"));
    DataPath += QLatin1Char('/');
}

void ReleaseCollections()
{
    colGlasses.Clear();
    colIngredients.Clear();
    colRecipes.Clear();
}

} // namespace modCellarix
