#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mixora Database Editor"));
    frmMain::Instance()->MDIForm_Load();
    const int result = QApplication::exec();
    frmMain::Destroy();
    return result;
}
