#include "FolderLock.h"

#include <QFile>
#include <QSysInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FolderLock::FolderLock(const QString& folder) : path(folder + QStringLiteral("/Editor.lock"))
{
    const QByteArray name = QFile::encodeName(path);
    // The editor that held the lock removes its file as it lets go; a file locked after that
    // is no longer the lock file, so the lock is taken again on the file now there.
    for (int attempt = 0; attempt < 5; ++attempt) {
        int file = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        // No editor makes its lock file a link: a link there is replaced by a lock file of this
        // editor's own, and what it links to is never opened, so it is neither locked nor written.
        struct stat link {};
        if (file < 0 && errno == ELOOP && ::lstat(name.constData(), &link) == 0 &&
            S_ISLNK(link.st_mode) && ::unlink(name.constData()) == 0)
            continue;
        // A lock file this process may not write (another user's) can still be locked.
        if (file < 0)
            file = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (file < 0)
            return; // the folder takes no files: nothing can be saved there either
        if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
            char contents[256] = {};
            const ssize_t got = ::pread(file, contents, sizeof contents - 1, 0);
            ::close(file);
            const QStringList lines =
                QString::fromUtf8(contents, got > 0 ? int(got) : 0).split(QLatin1Char('\n'));
            ownerPid = lines.value(0).toLongLong();
            ownerHost = lines.value(1);
            busy = true;
            return;
        }
        struct stat opened {
        }, named{};
        if (::fstat(file, &opened) == 0 && ::stat(name.constData(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            fd = file;
            const QByteArray owner = QByteArray::number(qint64(::getpid())) + '\n' +
                                     QSysInfo::machineHostName().toUtf8() + '\n';
            if (::ftruncate(fd, 0) != 0 ||
                ::pwrite(fd, owner.constData(), size_t(owner.size()), 0) != owner.size()) {
                // The lock holds all the same; only the note of who holds it is missing.
            }
            return;
        }
        ::close(file);
    }
}

FolderLock::~FolderLock()
{
    if (fd < 0)
        return;
    ::unlink(QFile::encodeName(path).constData());
    ::close(fd);
}

} // namespace platform
