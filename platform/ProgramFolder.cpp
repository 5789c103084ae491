#include "ProgramFolder.h"

#include <QCoreApplication>

namespace platform {

namespace {
QString& Override()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder()
{
    return Override().isEmpty() ? QCoreApplication::applicationDirPath() : Override();
}

void SetProgramFolder(const QString& folder)
{
    Override() = folder;
}

} // namespace platform
