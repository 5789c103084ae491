#include "FileSystem.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

bool FindEntry(const QString& path)
{
    QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool IsFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

bool MakeFolder(const QString& path, QString* error)
{
    if (QDir().mkdir(path))
        return true;
    if (error)
        *error = QFileInfo(path).exists() ? QStringLiteral("a file of that name is in the way")
                                          : QStringLiteral("the folder could not be created");
    return false;
}

bool SetNormalAttributes(const QString& path)
{
    return QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOwner |
                                           QFileDevice::WriteOwner);
}

std::unique_ptr<QFile> OpenBinaryFile(const QString& path, QString* error)
{
    auto file = std::make_unique<QFile>(path);
    if (file->open(QIODevice::ReadWrite))
        return file;
    if (file->exists() && file->open(QIODevice::ReadOnly))
        return file;
    if (error)
        *error = file->errorString();
    return nullptr;
}

namespace {
SaveFileFactory& InstalledFactory()
{
    static SaveFileFactory factory;
    return factory;
}
} // namespace

std::unique_ptr<QSaveFile> CreateSaveFile(const QString& path)
{
    if (InstalledFactory())
        return InstalledFactory()(path);
    return std::make_unique<QSaveFile>(path);
}

void SetSaveFileFactory(SaveFileFactory factory)
{
    InstalledFactory() = std::move(factory);
}

} // namespace platform
