// File-system operations the data store relies on. Paths use '/' as separator.
#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>

namespace platform {

// True when a directory search for `path` finds an entry: a file or a folder of that name.
bool FindEntry(const QString& path);

// True when `path` is a folder.
bool IsFolder(const QString& path);

// Creates one folder level; `error` receives the reason on failure.
bool MakeFolder(const QString& path, QString* error = nullptr);

// Gives an existing file normal permissions (readable and writable by its owner).
bool SetNormalAttributes(const QString& path);

// Opens a file for binary reading and writing, creating it empty when it is missing. An
// existing file that cannot be written is opened for reading only. Null on failure, with the
// reason in `error`.
std::unique_ptr<QFile> OpenBinaryFile(const QString& path, QString* error = nullptr);

// The contents of an open file from its current position to its end, in memory that the system
// can back with large pages (far fewer page faults for a file of many megabytes). The bytes stay
// valid while the object lives. When the file cannot be read, `error` says why and the contents
// are empty.
class FileContents {
public:
    explicit FileContents(QFile& file);
    ~FileContents();
    FileContents(const FileContents&) = delete;
    FileContents& operator=(const FileContents&) = delete;

    // The bytes, without a copy.
    QByteArray Bytes() const;
    QString error;

private:
    char* data = nullptr;
    qint64 size = 0;
};

// A file that is written beside `path` and replaces it only when committed complete. The real
// one hands what it has written to the disk every few megabytes, so that the flush to disk on
// commit waits only for the last part. Tests install a factory of their own to make writes fail on
// purpose.
using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString& path)>;
std::unique_ptr<QSaveFile> CreateSaveFile(const QString& path);
void SetSaveFileFactory(SaveFileFactory factory); // an empty factory restores the real one

} // namespace platform
