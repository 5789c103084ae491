// Writes a picture of each child window, opened alone on the databases of a given folder, as
// <output folder>/<window>-<scale>x.png. Run under the offscreen platform by
// scripts/screenshots.sh, once per screen scale (QT_SCALE_FACTOR).
#include "app/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTextStream errors(stderr);
    if (argc != 3) {
        errors << "usage: mixora-screenshots <database folder> <output folder>\n";
        return 2;
    }
    // The editor saves when it closes: it works on copies in a folder of its own.
    QTemporaryDir program;
    const QDir databases(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(program.filePath(QStringLiteral("Data")));
    for (const char* name : {"Glasses.Dat", "Ingredients.Dat", "Recipes.Dat", "Help.Dat"})
        if (!QFile::copy(databases.filePath(QLatin1String(name)),
                         program.filePath(QStringLiteral("Data/") + QLatin1String(name)))) {
            errors << "cannot copy " << databases.filePath(QLatin1String(name)) << "\n";
            return 1;
        }
    platform::SetProgramFolder(program.path());
    platform::MessageBox::SetScripted(true);

    const QDir output(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(output.path());
    frmMain* main = frmMain::Instance();
    main->MDIForm_Load();
    const int scale = int(std::lround(main->devicePixelRatioF()));
    const QList<std::pair<QPushButton*, QString>> windows = {
        {main->cmdGlasses, QStringLiteral("glasses")},
        {main->cmdIngredients, QStringLiteral("ingredients")},
        {main->cmdRecipes, QStringLiteral("recipes")},
        {main->cmdBrowse, QStringLiteral("recipe-browser")},
        {main->cmdShowHelp, QStringLiteral("help-browser")}};
    int result = 0;
    for (const auto& [button, name] : windows) {
        button->click();
        QApplication::processEvents();
        QMdiSubWindow* window = main->mdiArea->activeSubWindow();
        const QString path = output.filePath(QStringLiteral("%1-%2x.png").arg(name).arg(scale));
        if (!window || !window->grab().save(path)) {
            errors << "cannot write " << path << "\n";
            result = 1;
        }
        if (window)
            window->close();
    }
    main->close();
    frmMain::Destroy();
    return result;
}
