#include "frmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mixora Database Editor"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/mixora-editor.svg")));
    if (!frmMain::Instance()->MDIForm_Load()) {
        frmMain::Destroy();
        return 0;
    }
    const int result = QApplication::exec();
    frmMain::Destroy();
    return result;
}
