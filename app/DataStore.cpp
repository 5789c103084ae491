// Loading and saving the database files: a 4-byte record count followed by the records.
#include "modCellarix.h"

#include "platform/Events.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "records/RecordIO.h"

#include <QBuffer>
#include <QSaveFile>

namespace modCellarix {

namespace {

LoadResult lastLoads[4];

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

void ShowError(const QString& text, const QString& title)
{
    platform::MessageBox::Show(text, platform::MsgButtons::OK, platform::MsgIcon::Information,
                               title);
}

// Replaces `collection` with the records of the file at `path`. A record that fails to read,
// or whose key is already taken, is dropped; reading stops where the file ends.
template <typename Record>
void LoadDatabase(Database database, const QString& path, KeyedCollection<Record>& collection,
                  bool yields)
{
    LoadResult& result = LastLoadOf(database);
    result = LoadResult{path};
    collection = KeyedCollection<Record>();

    QString error;
    auto file = platform::OpenBinaryFile(path, &error);
    if (!file) {
        ShowError(QStringLiteral("Cannot open the file '%1': %2.\n\nIts records are not "
                                 "loaded, and the file will not be written when the editor "
                                 "closes.")
                      .arg(path, error),
                  QStringLiteral("LOAD ERROR"));
        return;
    }
    result.opened = true;

    // The records are read from a copy of the whole file in memory: one read from disk, and no
    // file-system call each time a record asks how much of the file is left.
    QByteArray contents = file->readAll();
    QBuffer records(&contents);
    records.open(QIODevice::ReadOnly);

    QByteArray countBytes;
    if (RecordIO::ReadBytes(records, 4, countBytes))
        result.recordCount = RecordIO::Int32At(countBytes, 0);
    for (qint32 i = 1; i <= result.recordCount; ++i) {
        if (RecordIO::Remaining(records) == 0)
            break;
        auto record = std::make_shared<Record>();
        if (record->LoadFromFile(records) && collection.Add(KeyOf(*record), record))
            ++result.recordsTaken;
        if (yields && i % 10 == 0)
            platform::ProcessPendingEvents();
    }
}

// Writes the records of `collection` for which `include` holds, in collection order, counting
// them in `written` and yielding after every tenth. Shows `message` and stops at the first
// record that fails.
template <typename Record, typename Include>
bool WriteRecords(QIODevice& file, const KeyedCollection<Record>& collection, Include include,
                  int& written, const QString& message)
{
    for (int i = 1; i <= collection.Count(); ++i) {
        const auto record = collection.Item(i);
        if (!include(*record))
            continue;
        if (!record->SaveToFile(file)) {
            ShowError(message, QStringLiteral("SAVE ERROR"));
            return false;
        }
        if (++written % 10 == 0)
            platform::ProcessPendingEvents();
    }
    return true;
}

// Rewrites the file at `path` with `count` followed by what `writeRecords` writes. The new
// file replaces the old one only when it is complete; otherwise the old file stays as it was.
template <typename WriteRecordsFn>
void SaveDatabase(Database database, const QString& path, qint32 count, const QString& message,
                  WriteRecordsFn writeRecords)
{
    if (path == LastLoadOf(database).path && !LastLoadOf(database).opened)
        return; // never loaded: writing would replace records the editor never saw

    if (FileExists(path))
        platform::SetNormalAttributes(path);
    auto file = platform::CreateSaveFile(path);
    if (!file->open(QIODevice::WriteOnly)) {
        ShowError(QStringLiteral("Cannot write the file '%1': %2.\n\nThe file is unchanged.")
                      .arg(path, file->errorString()),
                  QStringLiteral("SAVE ERROR"));
        return;
    }
    bool complete = RecordIO::WriteBytes(*file, RecordIO::Int32Bytes(count));
    if (!complete)
        ShowError(message, QStringLiteral("SAVE ERROR"));
    else
        complete = writeRecords(*file);
    if (!complete) {
        file->cancelWriting();
        file->commit();
        return;
    }
    if (!file->commit())
        ShowError(QStringLiteral("Cannot replace the file '%1': %2.\n\nThe file is unchanged.")
                      .arg(path, file->errorString()),
                  QStringLiteral("SAVE ERROR"));
}

} // namespace

const LoadResult& LastLoad(Database database)
{
    return LastLoadOf(database);
}

void LoadGlasses()
{
    LoadDatabase(Database::Glasses, DataPath + QStringLiteral("Glasses.Dat"), colGlasses, true);
}

void LoadIngredients()
{
    LoadDatabase(Database::Ingredients, DataPath + QStringLiteral("Ingredients.Dat"),
                 colIngredients, true);
}

void LoadHelpTopics()
{
    LoadDatabase(Database::HelpTopics, DataPath + QStringLiteral("Help.Dat"), colHelpTopics, false);
}

void LoadRecipes()
{
    LoadDatabase(Database::Recipes, RecipeDatabasePath, colRecipes, false);
}

void SaveGlasses()
{
    const QString message = QStringLiteral("Error saving glasses.");
    SaveDatabase(Database::Glasses, DataPath + QStringLiteral("Glasses.Dat"), colGlasses.Count(),
                 message, [&](QIODevice& file) {
                     int written = 0;
                     return WriteRecords(
                         file, colGlasses, [](const Glass&) { return true; }, written, message);
                 });
}

void SaveIngredients()
{
    const QString message = QStringLiteral("Error saving ingredients.");
    SaveDatabase(
        Database::Ingredients, DataPath + QStringLiteral("Ingredients.Dat"), colIngredients.Count(),
        message, [&](QIODevice& file) {
            // Top-level ingredients first, so that every parent precedes its children.
            int written = 0;
            const bool topLevel = WriteRecords(
                file, colIngredients, [](const Ingredient& i) { return i.ParentItem().isEmpty(); },
                written, message);
            const bool others = WriteRecords(
                file, colIngredients, [](const Ingredient& i) { return !i.ParentItem().isEmpty(); },
                written, message);
            return topLevel && others;
        });
}

void SaveRecipes()
{
    const QString message = QStringLiteral("Error saving recipes.");
    SaveDatabase(Database::Recipes, RecipeDatabasePath, colRecipes.Count(), message,
                 [&](QIODevice& file) {
                     int written = 0;
                     return WriteRecords(
                         file, colRecipes, [](const Recipe&) { return true; }, written, message);
                 });
}

} // namespace modCellarix
