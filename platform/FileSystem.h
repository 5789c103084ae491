// File-system operations the data store relies on. Paths use '/' as separator.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// True when a directory search for `path` finds an entry: a file or a folder of that name.
bool FindEntry(const QString& path);

// True when `path` is a folder.
bool IsFolder(const QString& path);

// Creates one folder level; `error` receives the reason on failure.
bool MakeFolder(const QString& path, QString* error = nullptr);

// Reads the whole file at `path` into `bytes`. Only a regular file is read: a folder, a pipe
// or a device is refused, so that nothing waits for a writer or reads without end. A missing
// file is created empty when `create` is set. False, with the reason in `error`, when the file
// could not be read.
bool ReadRegularFile(const QString& path, bool create, QByteArray& bytes, QString& error);

// Gives `bytes` room for `size` bytes and lets the system back that room with large pages: a
// file of many megabytes then costs far fewer page faults to read or to put together.
void ReserveForFile(QByteArray& bytes, qint64 size);

// The file a save to `path` replaces: when `path` is a link to a file, the file it links to.
QString ReplacedFile(const QString& path);

// Why the file at `path` could not be replaced by a save: the folder of the file replaced, or
// the folder of `path` where the file as it was is kept, takes no new files; where the file holds
// anything to keep, the backup "<path>.bak" is a folder, a pipe or a device; or the file or that
// backup is marked immutable or append-only. Empty when nothing is known to stand in the way.
QString WhyNotReplaceable(const QString& path);

} // namespace platform
