#include "frmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mixora Database Editor"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/mixora-editor.svg")));
    frmMain::Instance()->MDIForm_Load();
    const int result = QApplication::exec();
    frmMain::Destroy();
    return result;
}
