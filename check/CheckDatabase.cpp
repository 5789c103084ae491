#include "CheckDatabase.h"

#include "records/AnsiText.h"
#include "records/RecordFields.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <limits>

using modCellarix::Database;
using modCellarix::LoadResult;
using modCellarix::SkippedRecord;

namespace CheckDatabase {

namespace {

// The databases in the order they are read.
constexpr Database ReadOrder[] = {Database::Glasses, Database::Ingredients, Database::HelpTopics,
                                  Database::Recipes};

// What the editor's choosers offer.
constexpr int LevelCount = 20;    // "Level 1" .. "Level 20"
constexpr int PriorityCount = 10; // "Priority 1" .. "Priority 9", "Garnish"
constexpr int MaxOpacity = 100;   // "0 Percent" .. "100 Percent"

// The checks of one record. Field names are put together only for a problem, as problems are
// rare and records many.
class RecordCheck {
public:
    RecordCheck(QList<Problem>& problems, Database database, int record, const QString& name,
                std::shared_ptr<void> inMemory)
        : problems(problems), database(database), record(record), name(name),
          inMemory(std::move(inMemory))
    {
    }

    // The fields checked from now on are those of the record's line `number`, keyed `key`; 0 for
    // the record's own fields.
    void AtLine(int number, const QString& key)
    {
        line = number;
        lineKey = key;
    }

    void Report(const char* field, const QString& message)
    {
        const QString key = QLatin1String(field);
        problems.append(Problem{database, record, name,
                                line > 0 ? QStringLiteral("line %1 %2").arg(line).arg(key) : key,
                                message, line, inMemory, lineKey});
    }

    void Text(const char* field, const QString& text, bool fixedField)
    {
        const QString why = TextNotKept(text, fixedField);
        if (!why.isEmpty())
            Report(field, why);
    }

    void Below(const char* field, int value, int limit, const char* offered)
    {
        if (value >= limit)
            Report(field, QStringLiteral("%1 is beyond what the editor offers (%2)")
                              .arg(value)
                              .arg(QLatin1String(offered)));
    }

private:
    QList<Problem>& problems;
    Database database;
    int record;
    QString name;
    std::shared_ptr<void> inMemory;
    int line = 0;
    QString lineKey;
};

// Texts a save would not keep as they are, in every record.
void CheckTexts(QList<Problem>& problems)
{
    int position = 0;
    for (const auto& glass : modCellarix::colGlasses) {
        RecordCheck check(problems, Database::Glasses, ++position, glass->Name, glass);
        for (const auto& field : RecordFields::GlassTexts)
            check.Text(field.key, (*glass).*field.member, true);
        check.Text("displayText", glass->DisplayText, false);
    }
    position = 0;
    for (const auto& ingredient : modCellarix::colIngredients) {
        RecordCheck check(problems, Database::Ingredients, ++position, ingredient->Name(),
                          ingredient);
        for (const auto& field : RecordFields::IngredientTexts)
            check.Text(field.key, ((*ingredient).*field.get)(), true);
        check.Text("displayText", ingredient->DisplayText(), false);
    }
    position = 0;
    for (const auto& recipe : modCellarix::colRecipes) {
        RecordCheck check(problems, Database::Recipes, ++position, recipe->Name, recipe);
        check.Text("name", recipe->Name, true);
        check.Text("glass", recipe->Glass, true);
        check.Text("instructions", recipe->Instructions, false);
        int lineNumber = 0;
        for (const auto& line : recipe->RecipeIngredients()) {
            check.AtLine(++lineNumber, line->ThisKey);
            check.Text("ingredient", line->Name, true);
        }
    }
    position = 0;
    for (const auto& topic : modCellarix::colHelpTopics) {
        RecordCheck check(problems, Database::HelpTopics, ++position, topic->Name, topic);
        check.Text("name", topic->Name, true);
        check.Text("text", topic->Data, false);
    }
}

void CheckIngredients(QList<Problem>& problems)
{
    const auto& ingredients = modCellarix::colIngredients;
    // Position of every ingredient, to tell whether a parent comes first.
    QHash<const Ingredient*, int> positions;
    for (int i = 1; i <= ingredients.Count(); ++i)
        positions.insert(ingredients.Item(i).get(), i);

    for (int position = 1; position <= ingredients.Count(); ++position) {
        const auto ingredient = ingredients.Item(position);
        RecordCheck check(problems, Database::Ingredients, position, ingredient->Name(),
                          ingredient);
        if (ingredient->Name().compare(Ingredient::TreeRootName, Qt::CaseInsensitive) == 0)
            check.Report("name", QStringLiteral("is the name of the ingredient tree's root, so the "
                                                "editor cannot show it"));
        const QString parent = ingredient->ParentItem();
        if (!parent.isEmpty()) {
            const int parentAt = positions.value(ingredients.Item(parent).get(), 0);
            if (parentAt == 0)
                check.Report("parent", QStringLiteral("no ingredient %1").arg(Quoted(parent)));
            else if (parentAt == position)
                check.Report("parent", QStringLiteral("is the ingredient itself"));
            else if (parentAt > position)
                check.Report("parent",
                             QStringLiteral("%1 comes after this ingredient; a parent must "
                                            "come first")
                                 .arg(Quoted(parent)));
        }
        check.Below("opacity", ingredient->Opacity(), MaxOpacity + 1, "0 to 100 percent");
    }
}

void CheckRecipes(QList<Problem>& problems)
{
    int position = 0;
    for (const auto& recipe : modCellarix::colRecipes) {
        RecordCheck check(problems, Database::Recipes, ++position, recipe->Name, recipe);
        if (!recipe->Glass.isEmpty() && !modCellarix::colGlasses.Contains(recipe->Glass))
            check.Report("glass", QStringLiteral("no glass %1").arg(Quoted(recipe->Glass)));
        check.Below("level", recipe->Level, LevelCount, "0 to 19, shown as Level 1 to Level 20");
        int lineNumber = 0;
        for (const auto& linePtr : recipe->RecipeIngredients()) {
            const RecipeIngredient& line = *linePtr;
            check.AtLine(++lineNumber, line.ThisKey);
            if (!modCellarix::colIngredients.Contains(line.Name))
                check.Report("ingredient",
                             QStringLiteral("no ingredient %1").arg(Quoted(line.Name)));
            if (line.Amount < 0 || line.Amount > 255 || line.Amount != int(line.Amount))
                check.Report(
                    "amount",
                    QStringLiteral("%1 is not an amount code (a whole number from 0 to 255)")
                        .arg(line.Amount));
            check.Below("priority", line.Priority, PriorityCount,
                        "0 to 9, shown as Priority 1 to Priority 9 and Garnish");
        }
    }
}

void CheckLoad(QList<Problem>& problems, Database database)
{
    const LoadResult& load = modCellarix::LastLoad(database);
    const auto report = [&](int record, const QString& name, const QString& field,
                            const QString& message) {
        problems.append(Problem{database, record, name, field, message});
    };
    if (!load.opened) {
        report(0, QString(), QString(), QStringLiteral("cannot be read: %1").arg(load.error));
        return;
    }
    const QString count = QStringLiteral("count");
    const auto records = [](qint64 n) {
        return n == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(n);
    };
    if (!load.countRead && load.bytesLeftOver > 0)
        report(0, QString(), count,
               QStringLiteral("cut off: the file holds only %1 bytes").arg(load.bytesLeftOver));
    else if (load.recordCount < 0)
        report(0, QString(), count, QStringLiteral("is negative (%1)").arg(load.recordCount));
    else if (load.recordsFound < load.recordCount)
        report(0, QString(), count,
               QStringLiteral("says %1, but the file holds only %2")
                       .arg(records(load.recordCount), QString::number(load.recordsFound)) +
                   (load.bytesLeftOver > 0
                        ? QStringLiteral(" and %1 bytes that are no whole record")
                              .arg(load.bytesLeftOver)
                        : QString()));
    else if (load.bytesLeftOver > 0)
        report(0, QString(), count,
               QStringLiteral("says %1, but %2 more bytes follow them")
                   .arg(records(load.recordCount))
                   .arg(load.bytesLeftOver));
    for (const SkippedRecord& skipped : load.skipped) {
        switch (skipped.reason) {
        case SkippedRecord::Unreadable:
            report(skipped.record, QString(), QString(),
                   QStringLiteral("cannot be read: it is cut off or a length in it is out of "
                                  "range"));
            break;
        case SkippedRecord::NoName:
            report(skipped.record, QString(), "name", QStringLiteral("is empty"));
            break;
        case SkippedRecord::NameTaken:
            report(skipped.record, skipped.name, QStringLiteral("name"),
                   skipped.name == skipped.takenBy
                       ? QStringLiteral("%1 is already the name of an earlier record")
                             .arg(Quoted(skipped.name))
                       : QStringLiteral("%1 equals %2 of an earlier record but for letter case")
                             .arg(Quoted(skipped.name), Quoted(skipped.takenBy)));
            break;
        }
    }
}

// The names, letter case ignored, that the backup of the file `database` was loaded from holds
// while `collection` does not.
template <typename Record>
QSet<QString> OnlyInBackup(Database database, const KeyedCollection<Record>& collection)
{
    QSet<QString> only;
    for (const QString& name : modCellarix::RecordNames(
             database, modCellarix::LastLoad(database).path + QStringLiteral(".bak")))
        if (!collection.Contains(name))
            only.insert(name.toCaseFolded());
    return only;
}

} // namespace

QString TextNotKept(const QString& text, bool fixedField)
{
    if (fixedField && text.size() > AnsiText::FixedFieldSize)
        return QStringLiteral("%1 characters, more than the %2 a save keeps")
            .arg(text.size())
            .arg(AnsiText::FixedFieldSize);
    if (fixedField && (text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '))))
        return QStringLiteral("starts or ends with a space, which the next load removes");
    if (!AnsiText::CanHold(text)) {
        const auto bad = std::find_if(text.begin(), text.end(),
                                      [](QChar c) { return !AnsiText::CanHold(QString(c)); });
        // A character outside the 16-bit range is a pair of code units.
        const bool pair =
            bad->isHighSurrogate() && bad + 1 != text.end() && (bad + 1)->isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(*bad, *(bad + 1)) : bad->unicode();
        return QStringLiteral("holds %1 (U+%2), which the files cannot hold (Windows-1252)")
            .arg(Quoted(QString(bad, pair ? 2 : 1)),
                 QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    }
    return QString();
}

QList<Problem> CheckRecords(bool texts)
{
    QList<Problem> problems;
    if (texts)
        CheckTexts(problems);
    CheckIngredients(problems);
    CheckRecipes(problems);
    return problems;
}

QList<Problem> Check()
{
    return CheckLoads() + MixedGenerations() + RecordProblems();
}

QList<Problem> MixedGenerations()
{
    const QSet<QString> glasses = OnlyInBackup(Database::Glasses, modCellarix::colGlasses);
    const QSet<QString> ingredients =
        OnlyInBackup(Database::Ingredients, modCellarix::colIngredients);
    if (glasses.isEmpty() && ingredients.isEmpty())
        return {};
    // The names of each kind the recipes use that only the backup holds.
    QSet<QString> glassesUsed, ingredientsUsed;
    for (const auto& recipe : modCellarix::colRecipes) {
        if (!glasses.isEmpty() && glasses.contains(recipe->Glass.toCaseFolded()))
            glassesUsed.insert(recipe->Glass.toCaseFolded());
        if (ingredients.isEmpty())
            continue;
        for (const auto& line : recipe->RecipeIngredients())
            if (ingredients.contains(line->Name.toCaseFolded()))
                ingredientsUsed.insert(line->Name.toCaseFolded());
    }
    QList<Problem> problems;
    const auto note = [&](const QSet<QString>& used, const char* what, Database database) {
        if (used.isEmpty())
            return;
        const QString message =
            QStringLiteral("recipes name %1 %2 that only %3.bak holds: the files may be of "
                           "two generations, as an import cut short leaves them")
                .arg(QString::number(used.size()), QLatin1String(what), FileName(database));
        problems.append({Database::Recipes, 0, {}, {}, message});
    };
    note(glassesUsed, "glass(es)", Database::Glasses);
    note(ingredientsUsed, "ingredient(s)", Database::Ingredients);
    return problems;
}

QList<Problem> RecordProblems()
{
    QList<Problem> records = CheckRecords();
    ToFilePositions(records);
    SortByFile(records);
    return records;
}

void SortByFile(QList<Problem>& problems)
{
    const auto order = [](Database database) {
        return std::find(std::begin(ReadOrder), std::end(ReadOrder), database) -
               std::begin(ReadOrder);
    };
    const auto place = [](const Problem& problem) {
        return problem.record == NotInFile ? std::numeric_limits<int>::max() : problem.record;
    };
    std::stable_sort(problems.begin(), problems.end(), [&](const Problem& a, const Problem& b) {
        return a.database != b.database ? order(a.database) < order(b.database)
                                        : place(a) < place(b);
    });
}

QString FileName(Database database)
{
    return QFileInfo(modCellarix::LastLoad(database).path).fileName();
}

QList<Problem> CheckLoads()
{
    QList<Problem> problems;
    for (Database database : ReadOrder)
        CheckLoad(problems, database);
    return problems;
}

void ToFilePositions(QList<Problem>& problems)
{
    // Per database: the file position of every record its last load took that is still held.
    // Records are found by identity, as a rename or a removal since the load moves the others in
    // their collection.
    QHash<int, QHash<const void*, int>> filePositions;
    for (Problem& problem : problems) {
        if (problem.record == 0)
            continue;
        auto positions = filePositions.find(int(problem.database));
        if (positions == filePositions.end()) {
            positions = filePositions.insert(int(problem.database), {});
            const LoadResult& load = modCellarix::LastLoad(problem.database);
            QSet<int> skipped;
            for (const SkippedRecord& record : load.skipped)
                skipped.insert(record.record);
            qsizetype taken = 0;
            for (int record = 1; record <= load.recordsFound && taken < load.taken.size(); ++record)
                if (!skipped.contains(record))
                    if (const auto held = load.taken[taken++].lock())
                        positions->insert(held.get(), record);
        }
        problem.record = positions->value(problem.inMemory.get(), NotInFile);
    }
}

namespace {

// Appends `text` between double quotes to `out`, as Quoted() gives it.
void AppendQuoted(QString& out, const QString& text)
{
    const auto escaped = [](QChar c) { return c.unicode() < 0x20 || c == u'"' || c == u'\\'; };
    out += QLatin1Char('"');
    if (std::none_of(text.begin(), text.end(), escaped)) {
        out += text; // the usual case, in one step
    } else {
        for (const QChar c : text) {
            if (c == u'\r')
                out += QStringLiteral("\\r");
            else if (c == u'\n')
                out += QStringLiteral("\\n");
            else if (c == u'\t')
                out += QStringLiteral("\\t");
            else if (c == u'"' || c == u'\\')
                out += QLatin1Char('\\') + c;
            else if (c.unicode() < 0x20)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
}

} // namespace

QString Quoted(const QString& text)
{
    QString quoted;
    quoted.reserve(text.size() + 2);
    AppendQuoted(quoted, text);
    return quoted;
}

QString Finding(const Problem& problem)
{
    return problem.field.isEmpty() ? problem.message
                                   : problem.field + QStringLiteral(": ") + problem.message;
}

QString RecordText(const Problem& problem)
{
    if (problem.record == 0)
        return QString();
    QString text = problem.record > 0 ? QString::number(problem.record) : QString();
    if (!problem.name.isNull()) {
        text.reserve(text.size() + problem.name.size() + 3);
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        AppendQuoted(text, problem.name);
    }
    return text;
}

QString Describe(const Problem& problem)
{
    if (problem.record == 0)
        return Finding(problem);
    return QStringLiteral("record ") + RecordText(problem) + QStringLiteral(": ") +
           Finding(problem);
}

} // namespace CheckDatabase
