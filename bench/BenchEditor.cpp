#include "BenchEditor.h"

#include "BenchSupport.h"
#include "app/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"

#include <QDir>

namespace BenchSupport {

frmMain* StartEditor(const QString& folder, const QByteArray& glasses,
                     const QByteArray& ingredients, const QByteArray& recipes,
                     const QByteArray& help)
{
    QDir().mkpath(folder + "/Data");
    if (!WriteWhole(folder + "/Data/Glasses.Dat", glasses) ||
        !WriteWhole(folder + "/Data/Ingredients.Dat", ingredients) ||
        !WriteWhole(folder + "/Data/Recipes.Dat", recipes) ||
        !WriteWhole(folder + "/Data/Help.Dat", help))
        Fail("cannot write the database files");
    platform::SetProgramFolder(folder);
    frmMain::Destroy();
    platform::MessageBox::SetScripted(true);
    frmMain* main = frmMain::Instance();
    main->MDIForm_Load();
    return main;
}

} // namespace BenchSupport
