#include "FileSystem.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#ifdef __linux__
#include <fcntl.h>
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

constexpr qint64 LargePage = qint64(1) << 21;

// Memory for `size` bytes; a block of at least one large page is aligned to one and offered to
// the system for large pages. Null when there is no memory.
char* AllocateForReading(qint64 size)
{
    if (size < LargePage)
        return static_cast<char*>(std::malloc(size_t(std::max<qint64>(size, 1))));
    const qint64 capacity = (size + LargePage - 1) / LargePage * LargePage;
    char* block = static_cast<char*>(std::aligned_alloc(size_t(LargePage), size_t(capacity)));
#ifdef __linux__
    if (block)
        ::madvise(block, size_t(capacity), MADV_HUGEPAGE);
#endif
    return block;
}

} // namespace

FileContents::FileContents(QFile& file)
{
    qint64 capacity = std::max<qint64>(0, file.size() - file.pos());
    data = AllocateForReading(capacity);
    if (!data) {
        error = QStringLiteral("not enough memory to read %1 bytes").arg(capacity);
        return;
    }
    for (;;) {
        qint64 got = 0;
        if (size < capacity) {
            got = file.read(data + size, capacity - size);
        } else {
            // Full: a file that reported less than it holds (a pipe, a file of /proc) or that
            // has grown meanwhile goes on.
            char more[16384];
            got = file.read(more, sizeof more);
            if (got > 0) {
                const qint64 larger = std::max(2 * capacity, capacity + qint64(sizeof more));
                char* moved = static_cast<char*>(std::realloc(data, size_t(larger)));
                if (!moved) {
                    error = QStringLiteral("not enough memory to read the file");
                    size = 0;
                    return;
                }
                data = moved;
                capacity = larger;
                std::memcpy(data + size, more, size_t(got));
            }
        }
        if (got < 0) {
            error = file.errorString();
            size = 0;
            return;
        }
        if (got == 0)
            return;
        size += got;
    }
}

FileContents::~FileContents()
{
    std::free(data);
}

QByteArray FileContents::Bytes() const
{
    return QByteArray::fromRawData(data, size);
}

namespace {

// Writes like QSaveFile and, after every further megabyte, asks the system to start putting it on
// the disk while the rest of the file is still being put together. A write that fails here keeps
// its bytes in the buffer, so the next write, or the flush every caller makes before committing,
// fails too and the file is not replaced.
class StreamingSaveFile : public QSaveFile {
public:
    using QSaveFile::QSaveFile;

protected:
    qint64 writeData(const char* bytes, qint64 length) override
    {
        const qint64 written = QSaveFile::writeData(bytes, length);
        if (written > 0)
            total += written;
        if (total - handedOver >= Step && flush()) {
#ifdef __linux__
            ::sync_file_range(handle(), handedOver, total - handedOver, SYNC_FILE_RANGE_WRITE);
#endif
            handedOver = total;
        }
        return written;
    }

private:
    static constexpr qint64 Step = qint64(1) << 20;
    qint64 total = 0;
    qint64 handedOver = 0; // bytes already handed to the system for the disk
};

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
    return std::make_unique<StreamingSaveFile>(path);
}

void SetSaveFileFactory(SaveFileFactory factory)
{
    InstalledFactory() = std::move(factory);
}

} // namespace platform
