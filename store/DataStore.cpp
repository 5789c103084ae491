// Loading and saving the database files: a 4-byte record count followed by the records.
#include "modCellarix.h"

#include "platform/FileReplacement.h"
#include "platform/FileSystem.h"
#include "records/AnsiText.h"
#include "records/RecordIO.h"

#include <QBuffer>
#include <QFileInfo>
#include <QSet>

namespace modCellarix {

namespace {

LoadResult lastLoads[4];
// Files this session has already replaced, by BackupPlace: their backup is the file as it was
// at start-up.
QSet<QString> backedUpFiles;

// Where the backup of the file at `path` goes, however the path names its folder.
QString BackupPlace(const QString& path)
{
    const QFileInfo file(path);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? path : folder + QLatin1Char('/') + file.fileName();
}

LoadResult& LastLoadOf(Database database)
{
    return lastLoads[int(database)];
}

QString KeyOf(const Glass& glass)
{
    return glass.Name;
}
QString KeyOf(const Ingredient& ingredient)
{
    return ingredient.Name();
}
QString KeyOf(const Recipe& recipe)
{
    return recipe.Name;
}
QString KeyOf(const HelpTopic& topic)
{
    return topic.Name;
}

StoreMessage SaveError(const QString& text)
{
    return {QStringLiteral("SAVE ERROR"), text};
}

// The message shown when writing a record of `database` fails.
QString SaveErrorMessage(Database database)
{
    switch (database) {
    case Database::Glasses:
        return QStringLiteral("Error saving glasses.");
    case Database::Ingredients:
        return QStringLiteral("Error saving ingredients.");
    case Database::HelpTopics:
        return QStringLiteral("Error saving help topics.");
    case Database::Recipes:
        break;
    }
    return QStringLiteral("Error saving recipes.");
}

template <typename Record>
void ReadRecords(QIODevice& file, KeyedCollection<Record>& collection, const Progress& progress,
                 LoadResult& result)
{
    collection = KeyedCollection<Record>();
    QByteArray countBytes;
    result.countRead = RecordIO::ReadBytes(file, 4, countBytes);
    if (result.countRead)
        result.recordCount = RecordIO::Int32At(countBytes, 0);
    // Room for the records announced, as far as the rest of the file can hold them (every record
    // begins with a fixed text field).
    const qint64 room = RecordIO::Remaining(file) / AnsiText::FixedFieldSize;
    collection.Reserve(int(qBound(qint64(0), qint64(result.recordCount), room)));
    for (qint32 i = 1; i <= result.recordCount; ++i) {
        const qint64 start = file.pos();
        auto record = std::make_shared<Record>();
        if (record->LoadFromFile(file)) {
            const QString key = KeyOf(*record);
            if (collection.Add(key, record))
                result.taken.append(record);
            else if (const auto holder = collection.Item(key))
                result.skipped.append({i, SkippedRecord::NameTaken, key, KeyOf(*holder)});
            else
                result.skipped.append({i, SkippedRecord::NoName, {}, {}});
        } else if (file.pos() == start) {
            break; // too few bytes left for a record: every further one would fail the same way
        } else {
            result.skipped.append({i, SkippedRecord::Unreadable, {}, {}});
        }
        result.recordStarts.append(start);
        result.recordsFound = i;
        if (progress && i % 10 == 0)
            progress();
    }
    result.bytesLeftOver = RecordIO::Remaining(file);
}

// Writes the records of `collection` for which `include` holds, in collection order, counting
// them in `written` and calling `progress` after every tenth. Adds `message` to `messages` and
// stops at the first record that fails.
template <typename Record, typename Include>
bool WriteRecords(QIODevice& file, const KeyedCollection<Record>& collection, Include include,
                  int& written, const QString& message, StoreMessages& messages,
                  const Progress& progress)
{
    for (int i = 1; i <= collection.Count(); ++i) {
        const auto record = collection.Item(i);
        if (!include(*record))
            continue;
        if (!record->SaveToFile(file)) {
            messages << SaveError(message);
            return false;
        }
        if (++written % 10 == 0 && progress)
            progress();
    }
    return true;
}

// Writes the count of `collection`, then its records in one pass per filter of `passes`. Every
// pass runs, even after an earlier one stopped at a record that failed.
template <typename Record, typename... Passes>
bool WriteCollection(QIODevice& file, const KeyedCollection<Record>& collection,
                     const QString& message, StoreMessages& messages, const Progress& progress,
                     Passes... passes)
{
    if (!RecordIO::WriteBytes(file, RecordIO::Int32Bytes(collection.Count()))) {
        messages << SaveError(message);
        return false;
    }
    int written = 0;
    bool complete = true;
    ((complete =
          WriteRecords(file, collection, passes, written, message, messages, progress) && complete),
     ...);
    return complete;
}

// Replaces the collection of `database` with the file at `path`, read as a whole into memory;
// `create` makes a missing file, as the editor does at start-up. A file that cannot be opened or
// read, or that is no regular file, leaves the collection empty.
void LoadDatabase(Database database, const QString& path, bool create,
                  const Progress& progress = {})
{
    LoadResult& result = LastLoadOf(database);
    result = LoadResult();
    result.path = path;
    QByteArray bytes;
    result.opened = platform::ReadRegularFile(path, create, bytes, result.error);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ReadDatabase(database, buffer, progress);
}

// Rewrites the file at `path` from the collection of `database`. The new file replaces the old
// one only when it is complete; otherwise the old file stays as it was. The first replacement
// in a session keeps the old file as "<path>.bak", and happens only once that backup exists.
StoreMessages SaveDatabase(Database database, const QString& path, const Progress& progress)
{
    StoreMessages messages;
    const LoadResult& loaded = LastLoadOf(database);
    if (ReadOnly || (path == loaded.path && !loaded.opened))
        return messages; // read-only, or never read: writing would replace records never seen

    QByteArray bytes;
    platform::ReserveForFile(bytes, QFileInfo(path).size()); // about what it will hold
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!WriteDatabase(database, buffer, messages, progress))
        return messages;
    platform::FileReplacement file(path);
    const QString backup = BackupPlace(path);
    const bool saved = file.Write(bytes) && file.Commit(!backedUpFiles.contains(backup));
    if (file.Replaced())
        backedUpFiles.insert(backup);
    if (!saved)
        messages << SaveError(
            QStringLiteral("%1\n\n%2%3.%4")
                .arg(SaveErrorMessage(database), file.Error().left(1).toUpper(),
                     file.Error().mid(1),
                     file.Replaced() ? QString()
                                     : QStringLiteral("\n\nThe file %1 is unchanged.").arg(path)));
    return messages;
}

QString PathOf(Database database)
{
    switch (database) {
    case Database::Glasses:
        return DataPath + QStringLiteral("Glasses.Dat");
    case Database::Ingredients:
        return DataPath + QStringLiteral("Ingredients.Dat");
    case Database::HelpTopics:
        return DataPath + QStringLiteral("Help.Dat");
    case Database::Recipes:
        break;
    }
    return RecipeDatabasePath;
}

} // namespace

const LoadResult& LastLoad(Database database)
{
    return LastLoadOf(database);
}

void ReadDatabase(Database database, QIODevice& file, const Progress& progress)
{
    LoadResult& result = LastLoadOf(database);
    result.countRead = false;
    result.recordCount = 0;
    result.recordsFound = 0;
    result.recordStarts.clear();
    result.skipped.clear();
    result.taken.clear();
    switch (database) {
    case Database::Glasses:
        return ReadRecords(file, colGlasses, progress, result);
    case Database::Ingredients:
        return ReadRecords(file, colIngredients, progress, result);
    case Database::HelpTopics:
        return ReadRecords(file, colHelpTopics, Progress(), result);
    case Database::Recipes:
        return ReadRecords(file, colRecipes, Progress(), result);
    }
}

namespace {

// Reads the file at `path` into `records` as a load would, without creating the file or changing
// any collection or LastLoad.
template <typename Record> LoadResult Inspect(const QString& path, KeyedCollection<Record>& records)
{
    LoadResult result;
    result.path = path;
    QByteArray bytes;
    result.opened = platform::ReadRegularFile(path, false, bytes, result.error);
    if (!result.opened)
        return result;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ReadRecords(buffer, records, Progress(), result);
    return result;
}

template <typename Record> QStringList NamesIn(const QString& path)
{
    KeyedCollection<Record> records;
    Inspect(path, records);
    QStringList names;
    names.reserve(records.Count());
    for (int i = 1; i <= records.Count(); ++i)
        names << records.KeyAt(i);
    return names;
}

} // namespace

LoadResult InspectRecipeFile(const QString& path)
{
    KeyedCollection<Recipe> recipes;
    return Inspect(path, recipes);
}

QStringList RecordNames(Database database, const QString& path)
{
    switch (database) {
    case Database::Glasses:
        return NamesIn<Glass>(path);
    case Database::Ingredients:
        return NamesIn<Ingredient>(path);
    case Database::HelpTopics:
        return NamesIn<HelpTopic>(path);
    case Database::Recipes:
        break;
    }
    return NamesIn<Recipe>(path);
}

void ReadDatabaseFile(Database database, const QString& path)
{
    LoadDatabase(database, path, false);
}

bool WriteDatabase(Database database, QIODevice& file, StoreMessages& messages,
                   const Progress& progress)
{
    const auto all = [](const auto&) { return true; };
    const QString message = SaveErrorMessage(database);
    switch (database) {
    case Database::Glasses:
        return WriteCollection(file, colGlasses, message, messages, progress, all);
    case Database::Ingredients:
        // Top-level ingredients first, so that every parent precedes its children.
        return WriteCollection(
            file, colIngredients, message, messages, progress,
            [](const Ingredient& i) { return i.ParentItem().isEmpty(); },
            [](const Ingredient& i) { return !i.ParentItem().isEmpty(); });
    case Database::Recipes:
        return WriteCollection(file, colRecipes, message, messages, progress, all);
    case Database::HelpTopics:
        return WriteCollection(file, colHelpTopics, message, messages, progress, all);
    }
    return false;
}

QString LoadResult::NotRead() const
{
    QStringList parts;
    if (RecordsNotTaken() > 0)
        parts << (RecordsNotTaken() == 1 ? QStringLiteral("1 record")
                                         : QStringLiteral("%1 records").arg(RecordsNotTaken()));
    if (bytesLeftOver > 0)
        parts << (bytesLeftOver == 1
                      ? QStringLiteral("1 byte after the last record")
                      : QStringLiteral("%1 bytes after the last record").arg(bytesLeftOver));
    return parts.join(QStringLiteral(" and "));
}

StoreMessages ReportLoadProblems(const QList<Database>& databases)
{
    QStringList problems;
    bool damagedEditable = false;
    if (!DataFolderError.isEmpty())
        problems << QStringLiteral("The data folder '%1' could not be created: %2.")
                        .arg(DataPath, DataFolderError);
    for (Database database : databases) {
        const LoadResult& result = LastLoadOf(database);
        const QString name = QFileInfo(result.path).fileName();
        if (!result.opened) {
            if (DataFolderError.isEmpty())
                problems << QStringLiteral("%1 could not be opened: %2. It will not be written "
                                           "when the editor closes.")
                                .arg(name, result.error);
            continue;
        }
        if (result.IsClean())
            continue;
        problems << QStringLiteral("%1: %2 could not be read.").arg(name, result.NotRead());
        damagedEditable = damagedEditable || database != Database::HelpTopics;
    }
    if (problems.isEmpty())
        return {};
    QString text = problems.join(QLatin1Char('\n'));
    if (damagedEditable)
        text += QStringLiteral("\n\nWhen the editor next saves a damaged file, it keeps the file "
                               "as it was beside it as \"<name>.bak\".");
    return {{QStringLiteral("LOAD ERROR"), text}};
}

QStringList WhyChangesCannotBeSaved()
{
    QStringList reasons;
    for (Database database : {Database::Glasses, Database::Ingredients, Database::Recipes}) {
        const LoadResult& loaded = LastLoadOf(database);
        if (loaded.opened)
            reasons << platform::WhyNotReplaceable(loaded.path);
    }
    reasons.removeAll(QString());
    reasons.removeDuplicates();
    return reasons;
}

QString SaveDatabasesTo(const QString& folder)
{
    for (Database database : {Database::Glasses, Database::Ingredients, Database::Recipes}) {
        const LoadResult& loaded = LastLoadOf(database);
        if (!loaded.opened)
            continue; // never read: there is nothing of it to keep
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        StoreMessages messages;
        if (!WriteDatabase(database, buffer, messages))
            return SaveErrorMessage(database);
        const QString name = QFileInfo(PathOf(database)).fileName();
        const QString error = platform::ReplaceFile(folder + QLatin1Char('/') + name, bytes, true);
        if (!error.isEmpty())
            return QStringLiteral("%1 could not be saved in %2: %3.").arg(name, folder, error);
    }
    return QString();
}

void LoadGlasses(const Progress& progress)
{
    LoadDatabase(Database::Glasses, PathOf(Database::Glasses), true, progress);
}
void LoadIngredients(const Progress& progress)
{
    LoadDatabase(Database::Ingredients, PathOf(Database::Ingredients), true, progress);
}
void LoadHelpTopics()
{
    LoadDatabase(Database::HelpTopics, PathOf(Database::HelpTopics), true);
}
void LoadRecipes()
{
    LoadDatabase(Database::Recipes, PathOf(Database::Recipes), true);
}

StoreMessages SaveGlasses(const Progress& progress)
{
    return SaveDatabase(Database::Glasses, PathOf(Database::Glasses), progress);
}
StoreMessages SaveIngredients(const Progress& progress)
{
    return SaveDatabase(Database::Ingredients, PathOf(Database::Ingredients), progress);
}
StoreMessages SaveRecipes(const Progress& progress)
{
    return SaveDatabase(Database::Recipes, PathOf(Database::Recipes), progress);
}

} // namespace modCellarix
