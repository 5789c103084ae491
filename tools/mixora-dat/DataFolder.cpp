#include "DataFolder.h"

#include "platform/FileReplacement.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <memory>
#include <vector>

using modCellarix::Database;

namespace DataFolder {

const QList<DatabaseFile>& Files()
{
    static const QList<DatabaseFile> files{
        {Database::Glasses, QStringLiteral("Glasses.Dat")},
        {Database::Ingredients, QStringLiteral("Ingredients.Dat")},
        {Database::HelpTopics, QStringLiteral("Help.Dat")},
        {Database::Recipes, QStringLiteral("Recipes.Dat")},
    };
    return files;
}

QString FileName(Database database)
{
    for (const DatabaseFile& file : Files())
        if (file.database == database)
            return file.fileName;
    return QString();
}

void LoadAll(const QString& folder)
{
    for (const DatabaseFile& file : Files())
        modCellarix::ReadDatabaseFile(file.database, QDir(folder).filePath(file.fileName));
}

QString WriteAll(const QString& folder, bool replaceHelp)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder '%1'; nothing written").arg(folder);
    // An editor that has the folder would write its own databases over these when it closes.
    const platform::FolderLock lock(folder);
    if (lock.HeldElsewhere())
        return QStringLiteral("the databases in '%1' are open in a Mixora Database Editor "
                              "(process %2); nothing written")
            .arg(folder)
            .arg(lock.OwnerPid());
    std::vector<std::unique_ptr<platform::FileReplacement>> files;
    for (const DatabaseFile& file : Files()) {
        const QString path = QDir(folder).filePath(file.fileName);
        QByteArray bytes;
        platform::ReserveForFile(bytes, QFileInfo(path).size()); // about what it will hold
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        modCellarix::StoreMessages messages;
        if (!modCellarix::WriteDatabase(file.database, buffer, messages))
            return QStringLiteral("cannot put together %1 (%2); nothing written")
                .arg(file.fileName, messages.value(0).text);
        if (file.database == Database::HelpTopics) {
            QByteArray present;
            QString error;
            if (platform::ReadRegularFile(path, false, present, error) && !present.isEmpty()) {
                if (present == bytes)
                    continue; // nothing to replace
                if (!replaceHelp)
                    return QStringLiteral("'%1' holds other help topics; it is the game's file "
                                          "and is replaced only with --force; nothing written")
                        .arg(path);
            }
        }
        const QString why = platform::WhyNotReplaceable(path);
        if (!why.isEmpty())
            return QStringLiteral("%1 cannot be replaced: %2; nothing written")
                .arg(file.fileName, why);
        auto replacement = std::make_unique<platform::FileReplacement>(path);
        if (!replacement->Write(bytes))
            return QStringLiteral("%1; nothing written").arg(replacement->Error());
        files.push_back(std::move(replacement));
    }
    // Every backup is kept before any file is replaced, so that a disk too full for one
    // leaves all the files as they were.
    for (const auto& file : files)
        if (!file->KeepBackup())
            return QStringLiteral("%1; no file replaced").arg(file->Error());
    QStringList replaced, unconfirmed;
    for (const auto& file : files) {
        if (!file->Commit(false) && !file->Replaced())
            return QStringLiteral("%1; %2").arg(
                file->Error(), replaced.isEmpty()
                                   ? QStringLiteral("no file replaced")
                                   : QStringLiteral("already replaced: %1 (their backups "
                                                    "are the files as they were)")
                                         .arg(replaced.join(", ")));
        replaced << QFileInfo(file->Path()).fileName();
        // In place but not confirmed on the disk: the others are replaced all the same, so that
        // the files stay of one generation.
        if (!file->Error().isEmpty())
            unconfirmed << file->Error();
    }
    return unconfirmed.join(QStringLiteral("; "));
}

} // namespace DataFolder
