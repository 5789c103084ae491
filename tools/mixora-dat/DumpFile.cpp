#include "DumpFile.h"

#include "DataFolder.h"
#include "check/CheckDatabase.h"
#include "records/RecordFields.h"
#include "records/modGeneralAmounts.h"

#include <QFileInfo>
#include <QHash>

using modCellarix::Database;

namespace DumpFile {

namespace {

// A text between quotes, or "(unassigned)" for a field never assigned.
QString Shown(const QString& text)
{
    return RecordFields::IsUnassigned(text) ? QStringLiteral("(unassigned)")
                                            : CheckDatabase::Quoted(text);
}

class Lines {
public:
    explicit Lines(QByteArray& out) : out(out) {}
    void Field(const char* name, const QString& value)
    {
        out.append("  ").append(name).append(": ").append(value.toUtf8()).append('\n');
    }
    void Field(const char* name, qint64 value) { Field(name, QString::number(value)); }
    QByteArray& out;
};

void DumpGlass(Lines& lines, const Glass& glass)
{
    for (const auto& field : RecordFields::GlassTexts)
        lines.Field(field.key, Shown(glass.*field.member));
    lines.Field("hotSpotId", glass.HotSpotID);
    lines.Field("displayText", Shown(glass.DisplayText));
}

void DumpIngredient(Lines& lines, const Ingredient& ingredient)
{
    for (const auto& field : RecordFields::IngredientTexts)
        lines.Field(field.key, Shown((ingredient.*field.get)()));
    lines.Field("ounces", ingredient.Ounces() ? QStringLiteral("true") : QStringLiteral("false"));
    lines.Field("action", ingredient.Action() ? QStringLiteral("true") : QStringLiteral("false"));
    lines.Field("color",
                QStringLiteral("0x%1").arg(quint32(ingredient.Color()), 8, 16, QLatin1Char('0')));
    lines.Field("opacity", ingredient.Opacity());
    lines.Field("hotSpotId", ingredient.HotSpotID());
    lines.Field("displayText", Shown(ingredient.DisplayText()));
}

void DumpRecipe(Lines& lines, const Recipe& recipe)
{
    lines.Field("name", Shown(recipe.Name));
    lines.Field("category", recipe.Category);
    lines.Field("glass", Shown(recipe.Glass));
    lines.Field("level", recipe.Level);
    lines.Field("instructions", Shown(recipe.Instructions));
    lines.Field("lines", recipe.RecipeIngredients().Count());
    int number = 0;
    for (const auto& line : recipe.RecipeIngredients())
        lines.Field(QStringLiteral("  line %1").arg(++number).toLatin1().constData(),
                    QStringLiteral("%1, amount %2 (%3), priority %4")
                        .arg(Shown(line->Name))
                        .arg(line->Amount)
                        .arg(modGeneralAmounts::AmountText(quint8(line->Amount)))
                        .arg(line->Priority));
}

void DumpHelpTopic(Lines& lines, const HelpTopic& topic)
{
    lines.Field("name", Shown(topic.Name));
    lines.Field("text", Shown(topic.Data));
}

// Every record of `records`, in file order, with the records the load left out in their places.
template <typename Record, typename DumpRecord>
void DumpRecords(QByteArray& out, const KeyedCollection<Record>& records,
                 const modCellarix::LoadResult& load, const QHash<int, QString>& problems,
                 DumpRecord dumpRecord)
{
    Lines lines(out);
    int taken = 0;
    for (int record = 1; record <= load.recordsFound; ++record) {
        out.append(QStringLiteral("record %1 at byte %2")
                       .arg(record)
                       .arg(load.recordStarts[record - 1])
                       .toUtf8());
        if (problems.contains(record)) {
            out.append(": ").append(problems[record].toUtf8()).append('\n');
            continue;
        }
        out.append('\n');
        dumpRecord(lines, *records.Item(++taken));
    }
}

} // namespace

bool DatabaseOfName(const QString& fileName, Database& database)
{
    for (const auto& file : DataFolder::Files())
        if (QString::compare(file.fileName, fileName, Qt::CaseInsensitive) == 0) {
            database = file.database;
            return true;
        }
    return false;
}

bool Dump(Database database, const QString& path, QByteArray& out)
{
    modCellarix::ReadDatabaseFile(database, path);
    const modCellarix::LoadResult& load = modCellarix::LastLoad(database);
    if (!load.opened) {
        out = QStringLiteral("%1: cannot be read: %2\n").arg(path, load.error).toUtf8();
        return false;
    }
    out.append(QStringLiteral("%1: %2 bytes, count %3\n")
                   .arg(path)
                   .arg(QFileInfo(path).size())
                   .arg(load.recordCount)
                   .toUtf8());
    // What the load met, by record; the file-wide findings go at the end.
    QHash<int, QString> problems;
    QStringList fileProblems;
    for (const auto& problem : CheckDatabase::CheckLoads())
        if (problem.database == database) {
            if (problem.record > 0)
                problems.insert(problem.record, CheckDatabase::Finding(problem));
            else
                fileProblems << CheckDatabase::Describe(problem);
        }
    switch (database) {
    case Database::Glasses:
        DumpRecords(out, modCellarix::colGlasses, load, problems, DumpGlass);
        break;
    case Database::Ingredients:
        DumpRecords(out, modCellarix::colIngredients, load, problems, DumpIngredient);
        break;
    case Database::Recipes:
        DumpRecords(out, modCellarix::colRecipes, load, problems, DumpRecipe);
        break;
    case Database::HelpTopics:
        DumpRecords(out, modCellarix::colHelpTopics, load, problems, DumpHelpTopic);
        break;
    }
    for (const QString& problem : fileProblems)
        out.append(problem.toUtf8()).append('\n');
    return true;
}

} // namespace DumpFile
