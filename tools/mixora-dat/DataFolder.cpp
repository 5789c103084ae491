#include "DataFolder.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

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

QString WriteAll(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder '%1'; nothing written").arg(folder);
    // Each file goes to a temporary file beside it first; only when all four are complete on
    // disk are they put in place, one after the other. Until then, a failure leaves every file as
    // it was.
    std::vector<std::unique_ptr<QSaveFile>> saves;
    for (const DatabaseFile& file : Files()) {
        auto save = platform::CreateSaveFile(QDir(folder).filePath(file.fileName));
        const bool opened = save->open(QIODevice::WriteOnly);
        modCellarix::StoreMessages messages;
        if (!opened || !modCellarix::WriteDatabase(file.database, *save, messages) ||
            !save->flush()) {
            if (opened && save->error() == QFileDevice::NoError) // a record it cannot hold
                return QStringLiteral("cannot put together %1 (%2); nothing written")
                    .arg(file.fileName, messages.value(0).text);
            return QStringLiteral("cannot write '%1': %2; nothing written")
                .arg(save->fileName(), save->errorString());
        }
        saves.push_back(std::move(save));
    }
    QStringList replaced;
    for (const auto& save : saves) {
        if (!save->commit())
            return QStringLiteral("cannot replace '%1': %2; %3")
                .arg(save->fileName(), save->errorString(),
                     replaced.isEmpty()
                         ? QStringLiteral("nothing written")
                         : QStringLiteral("already replaced: %1").arg(replaced.join(", ")));
        replaced << QFileInfo(save->fileName()).fileName();
    }
    return QString();
}

} // namespace DataFolder
