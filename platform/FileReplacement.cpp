#include "FileReplacement.h"

#include "FileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

struct Faults {
    FileStep step = FileStep::Write;
    int n = 0; // 0: none armed
    int code = 0;
    int counts[5] = {};
    bool refuseUnnamed = false;
};

Faults& InstalledFaults()
{
    static Faults faults;
    return faults;
}

// Counts `step`; the error code it is to fail with, or 0.
int Injected(FileStep step)
{
    Faults& faults = InstalledFaults();
    const int count = ++faults.counts[int(step)];
    return faults.n > 0 && faults.step == step && count == faults.n ? faults.code : 0;
}

QByteArray Encoded(const QString& path)
{
    return QFile::encodeName(path);
}

QString Reason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

FileReplacement::FileReplacement(const QString& path) : FileReplacement(path, true) {}

FileReplacement::FileReplacement(const QString& path, bool followLink)
    : path(path), target(followLink ? ReplacedFile(path) : path), followLink(followLink)
{
    folder = QFileInfo(target).absolutePath();
    temporary = target + QStringLiteral(".saving");
}

FileReplacement::~FileReplacement()
{
    if (fd < 0)
        return;
    ::close(fd);
    if (!replaced && !unnamed)
        ::unlink(Encoded(temporary).constData());
}

bool FileReplacement::Fail(const QString& what, int code)
{
    error = code ? QStringLiteral("%1: %2").arg(what, Reason(code)) : what;
    return false;
}

bool FileReplacement::Write(const QByteArray& contents)
{
    const QString name = QFileInfo(target).fileName();
    // A link followed leads to the file replaced; one that leads to a pipe or a device (as
    // "/dev/stdout" may) is not replaced either.
    const QFileInfo existing(target);
    if ((followLink || !existing.isSymLink()) && existing.exists() && !existing.isFile())
        return Fail(QStringLiteral("%1 is not a regular file").arg(name), 0);
#ifdef O_TMPFILE
    // A file without a name until it is complete: a save that is killed leaves nothing behind.
    if (!InstalledFaults().refuseUnnamed) {
        fd = ::open(Encoded(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        unnamed = fd >= 0;
    }
#endif
    if (fd < 0) {
        ::unlink(Encoded(temporary).constData()); // left by a save that was killed
        fd = ::open(Encoded(temporary).constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0)
            return Fail(QStringLiteral("cannot create a new file in %1").arg(folder), errno);
    }
    // The new file keeps the old one's permissions, but its owner may always write it.
    struct stat old {};
    if (::stat(Encoded(target).constData(), &old) == 0)
        ::fchmod(fd, (old.st_mode & 07777) | S_IRUSR | S_IWUSR);

    // Written straight to the system, a piece at a time, so that nothing waits in a buffer and
    // every refusal comes with its reason; a short write goes on where it stopped.
    const QString writing = QStringLiteral("cannot write the new %1").arg(name);
    constexpr qint64 Piece = qint64(1) << 20;
    for (qint64 at = 0; at < contents.size();) {
        if (const int code = Injected(FileStep::Write))
            return Fail(writing, code);
        const ssize_t written =
            ::write(fd, contents.constData() + at, size_t(qMin(Piece, contents.size() - at)));
        if (written == 0 || (written < 0 && errno != EINTR))
            return Fail(writing, written == 0 ? EIO : errno);
        at += qMax<ssize_t>(written, 0);
    }
    if (const int code = Injected(FileStep::Sync))
        return Fail(writing, code);
    if (::fsync(fd) != 0)
        return Fail(writing, errno);
    return true;
}

bool FileReplacement::KeepBackup()
{
    const QFileInfo original(target);
    if (!original.isFile() || original.size() == 0)
        return true; // nothing to keep
    const QString backupPath = path + QStringLiteral(".bak");
    const QString keeping = QStringLiteral("cannot keep %1 as it was as %2")
                                .arg(original.fileName(), QFileInfo(backupPath).fileName());
    if (const int code = Injected(FileStep::BackupCopy))
        return Fail(keeping, code);
    QByteArray bytes;
    QString readError;
    if (!ReadRegularFile(target, false, bytes, readError))
        return Fail(keeping + QStringLiteral(": ") + readError, 0);
    // The backup's own name is replaced, whatever it is: a link there is not followed.
    FileReplacement backup(backupPath, false);
    if (backup.Write(bytes) && backup.Commit(false))
        return true;
    error = keeping + QStringLiteral(" (") + backup.error + QLatin1Char(')');
    return false;
}

bool FileReplacement::SyncFolder()
{
    if (const int code = Injected(FileStep::DirectorySync))
        return Fail(QString(), code);
    const int folderFd = ::open(Encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return Fail(QString(), errno);
    const bool synced = ::fsync(folderFd) == 0 || errno == EINVAL; // some file systems cannot
    const int code = errno;
    ::close(folderFd);
    return synced || Fail(QString(), code);
}

bool FileReplacement::Commit(bool keepBackup)
{
    if (fd < 0)
        return false;
    const QString name = QFileInfo(target).fileName();
    if (keepBackup && !KeepBackup())
        return false;
    const QString placing = QStringLiteral("cannot put the new %1 in place").arg(name);
    if (const int code = Injected(FileStep::Rename))
        return Fail(placing, code);
#ifdef O_TMPFILE
    if (unnamed) {
        ::unlink(Encoded(temporary).constData()); // left by a save that was killed
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, Encoded(temporary).constData(),
                     AT_SYMLINK_FOLLOW) != 0)
            return Fail(placing, errno);
        unnamed = false;
    }
#endif
    if (::rename(Encoded(temporary).constData(), Encoded(target).constData()) != 0)
        return Fail(placing, errno);
    replaced = true;
    if (!SyncFolder()) {
        error = QStringLiteral("the new %1 is in place, but the system did not confirm that it "
                               "is on the disk%2")
                    .arg(name, error);
        return false;
    }
    return true;
}

QString ReplaceFile(const QString& path, const QByteArray& contents, bool keepBackup)
{
    FileReplacement file(path);
    if (file.Write(contents) && file.Commit(keepBackup))
        return QString();
    return file.Error();
}

namespace FileFaults {

void FailAt(FileStep step, int n, int code)
{
    Faults& faults = InstalledFaults();
    faults = Faults{step, n, code, {}, faults.refuseUnnamed};
}

void RefuseUnnamedFiles()
{
    InstalledFaults().refuseUnnamed = true;
}

void Reset()
{
    InstalledFaults() = Faults{};
}

int Count(FileStep step)
{
    return InstalledFaults().counts[int(step)];
}

} // namespace FileFaults

} // namespace platform
