#include "FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#endif

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
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return true;
    if (error)
        *error = errno == EEXIST ? QStringLiteral("a file of that name is in the way")
                                 : QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool ReadRegularFile(const QString& path, bool create, QByteArray& bytes, QString& error)
{
    bytes.clear();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        QFile file(path);
        if (create && file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        error = create ? file.errorString() : QStringLiteral("No such file or directory");
        return false;
    }
    if (!info.isFile()) {
        error = info.isDir()     ? QStringLiteral("it is a folder")
                : !info.exists() ? QStringLiteral("it is a link to nothing")
                                 : QStringLiteral("it is not a regular file");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    ReserveForFile(bytes, file.size());
    bytes.resize(file.size());
    const qint64 got = bytes.isEmpty() ? 0 : file.read(bytes.data(), bytes.size());
    bytes.resize(qMax<qint64>(got, 0));
    if (got >= 0)
        bytes += file.readAll(); // what a file holds beyond the size it tells (those of /proc)
    if (got < 0 || file.error() != QFileDevice::NoError) {
        error = file.errorString();
        bytes.clear();
        return false;
    }
    return true;
}

void ReserveForFile(QByteArray& bytes, qint64 size)
{
    bytes.reserve(qsizetype(size));
#ifdef __linux__
    constexpr quintptr LargePage = quintptr(1) << 21;
    const quintptr start = (quintptr(bytes.data()) + LargePage - 1) & ~(LargePage - 1);
    const quintptr end = (quintptr(bytes.data()) + quintptr(size)) & ~(LargePage - 1);
    if (end > start)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#endif
}

QString ReplacedFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath()
                                                                   : path;
}

QString WhyNotReplaceable(const QString& path)
{
    for (const QString& folder :
         {QFileInfo(ReplacedFile(path)).absolutePath(), QFileInfo(path).absolutePath()}) {
        if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
            return QStringLiteral("the folder %1 takes no new files (%2)")
                .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    }
    QStringList files{path};
    // A save first keeps a file that holds anything as the backup beside it: a link there is
    // replaced as the link, whatever it leads to, but a folder, a pipe or a device is not replaced.
    const QFileInfo replaced(ReplacedFile(path));
    if (replaced.isFile() && replaced.size() > 0) {
        const QFileInfo backup(path + QStringLiteral(".bak"));
        if (!backup.isSymLink() && backup.exists() && !backup.isFile())
            return QStringLiteral("%1 is not a regular file").arg(backup.fileName());
        if (!backup.isSymLink())
            files << backup.filePath();
    }
#ifdef __linux__
    for (const QString& file : files) {
        const QFileInfo info(file);
        if (!info.isFile())
            continue;
        const int fd =
            ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        int flags = 0;
        const bool known = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        ::close(fd);
        if (known && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)))
            return QStringLiteral("%1 is marked immutable or append-only").arg(info.fileName());
    }
#endif
    return QString();
}

} // namespace platform
