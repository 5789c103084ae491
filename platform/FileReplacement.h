// Replacing a file safely: the new contents go to a file of their own beside it, which takes the
// old file's place only once it is complete and on the disk; the file as it was can first be
// kept as "<name>.bak". Tests fail any single step on purpose through FileFaults.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

class FileReplacement {
public:
    // The file at `path`; when it is a link to a file, the file it links to.
    explicit FileReplacement(const QString& path);
    // Removes a new file that was not put in place.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Writes `contents` as the new file, complete and on the disk, not yet in place.
    bool Write(const QByteArray& contents);
    // Copies the file as it is, when it holds anything, to "<path>.bak" (a link of that name is
    // replaced, never written through), complete and on the disk.
    bool KeepBackup();
    // Puts the new file in place of the old one. With `keepBackup`, KeepBackup first, and the
    // file is replaced only once that copy is complete and on the disk.
    bool Commit(bool keepBackup);

    const QString& Path() const { return path; }
    // True once the new file has taken the old one's place (Commit can still fail after that,
    // when the system cannot confirm the change is on the disk).
    bool Replaced() const { return replaced; }
    // What went wrong, with the system's reason ("cannot write the new file: No space left on
    // device"); empty while nothing did.
    const QString& Error() const { return error; }

private:
    FileReplacement(const QString& path, bool followLink);
    bool Fail(const QString& what, int code);
    bool SyncFolder();

    QString path;         // as the caller named it
    QString target;       // the file replaced
    QString folder;       // the folder that holds it
    QString temporary;    // the new file's name until it takes the target's place
    bool followLink;      // a link at `path` stands for the file it leads to
    int fd = -1;          // the new file
    bool unnamed = false; // the new file has no name yet
    bool replaced = false;
    QString error;
};

// Writes `contents` to `path` as FileReplacement does; empty on success, else what went wrong.
QString ReplaceFile(const QString& path, const QByteArray& contents, bool keepBackup);

// The steps of a replacement that can fail. Tests make the N-th of one fail.
enum class FileStep { Write, Sync, Rename, BackupCopy, DirectorySync };

namespace FileFaults {
// From now on, the `n`-th (1-based) `step` fails with the system error `code` (an errno value);
// every step is counted from here on.
void FailAt(FileStep step, int n, int code);
// From now on, new files are made under their temporary name "<name>.saving", as on a file
// system that has no unnamed files (FAT); until Reset.
void RefuseUnnamedFiles();
// No step fails, unnamed files are made again; the counts start again from zero.
void Reset();
// How many `step`s were taken since the last FailAt or Reset.
int Count(FileStep step);
} // namespace FileFaults

} // namespace platform
