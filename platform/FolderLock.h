// The lock an editor holds on its data folder while it has the databases: a file "Editor.lock"
// beside them that holds the process id and host of the editor. The system releases the lock
// when that process ends in any way, so the lock file of an editor that crashed is taken over.
#pragma once

#include <QString>

namespace platform {

class FolderLock {
public:
    // Tries to take the lock of `folder`.
    explicit FolderLock(const QString& folder);
    // Releases the lock and removes its file.
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // True when another process holds the lock; its process id and host are then known.
    bool HeldElsewhere() const { return ownerPid != 0 || !ownerHost.isEmpty() || busy; }
    qint64 OwnerPid() const { return ownerPid; }
    QString OwnerHost() const { return ownerHost; }

private:
    QString path;
    int fd = -1; // the lock file, locked by this process
    bool busy = false;
    qint64 ownerPid = 0;
    QString ownerHost;
};

} // namespace platform
