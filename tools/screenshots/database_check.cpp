// Makes the README's picture of the Database Check window: the sample database after the glass
// "Coupe" was renamed "Coupe Glass" in the glass editor, checked with File, Check Database.
// The editor runs on a copy of the sample database, so nothing of it is changed.
//
// Run by scripts/screenshots.sh: QT_QPA_PLATFORM=offscreen screenshot_database_check
// SAMPLE_DATABASE_DIR OUT.png
#include "app/frmMain.h"
#include "editors/frmCheck.h"
#include "platform/ListView.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "store/modCellarix.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

using namespace modCellarix;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot_database_check SAMPLE_DATABASE_DIR OUT.png\n");
        return 2;
    }
    QTemporaryDir program;
    QDir().mkpath(program.path() + "/Data");
    for (const char* name : {"Glasses.Dat", "Ingredients.Dat", "Recipes.Dat", "Help.Dat"})
        if (!QFile::copy(QDir(argv[1]).filePath(name), program.path() + "/Data/" + name)) {
            std::fprintf(stderr, "cannot copy %s\n", name);
            return 1;
        }
    platform::SetProgramFolder(program.path());
    platform::MessageBox::SetScripted(true);
    frmMain* main = frmMain::Instance();
    main->MDIForm_Load();

    // The rename as the glass editor makes it: the recipes keep the old name.
    const auto coupe = colGlasses.Item("Coupe");
    if (!coupe) {
        std::fprintf(stderr, "the sample database has no glass \"Coupe\"\n");
        return 1;
    }
    colGlasses.Remove("Coupe");
    coupe->Name = "Coupe Glass";
    colGlasses.Add(coupe->Name, coupe);

    main->resize(800, 480);
    main->mnuCheckDatabase->trigger();
    frmCheck* window = main->DatabaseCheck;
    window->lvProblems->setFocus();
    QApplication::processEvents();
    const bool saved = main->grab().save(QString::fromLocal8Bit(argv[2]));
    std::printf("%s: %d problems\n", argv[2], window->lvProblems->Count());
    // Nothing is saved: the window is destroyed without the shut-down.
    frmMain::Destroy();
    return saved ? 0 : 1;
}
