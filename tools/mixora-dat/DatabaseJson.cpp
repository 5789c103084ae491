#include "DatabaseJson.h"

#include "CheckDatabase.h"
#include "RecordFields.h"
#include "app/modCellarix.h"
#include "records/modGeneralAmounts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>
#include <limits>

namespace DatabaseJson {

namespace {

const QString FormatName = QStringLiteral("mixora-database");
constexpr int FormatVersion = 1;

// ---------------------------------------------------------------------------------------------
// Writing

void AppendQuoted(QByteArray& out, const QString& text)
{
    static const char Hex[] = "0123456789abcdef";
    out.append('"');
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out.append("\\u00");
                out.append(Hex[c >> 4]);
                out.append(Hex[c & 15]);
            } else {
                out.append(c);
            }
        }
    }
    out.append('"');
}

// An object being written: its members one per line, indented by `depth` levels, or all on one
// line when `depth` is negative. The destructor closes it.
class ObjectWriter {
public:
    ObjectWriter(QByteArray& out, int depth) : out(out), depth(depth) { out.append('{'); }
    ~ObjectWriter()
    {
        if (depth >= 0) {
            out.append('\n');
            out.append(2 * depth, ' ');
        }
        out.append('}');
    }

    // Starts the member `key`; the caller appends its value.
    QByteArray& Key(const char* key)
    {
        if (members++ > 0)
            out.append(depth >= 0 ? "," : ", ");
        if (depth >= 0) {
            out.append('\n');
            out.append(2 * (depth + 1), ' ');
        }
        out.append('"').append(key).append("\": ");
        return out;
    }
    void Text(const char* key, const QString& value) { AppendQuoted(Key(key), value); }
    void Number(const char* key, qint64 value) { Key(key).append(QByteArray::number(value)); }
    void Flag(const char* key, bool value) { Key(key).append(value ? "true" : "false"); }

private:
    QByteArray& out;
    int depth;
    int members = 0;
};

// Writes `count` items as the array member `key` of `object`, each item by `writeItem(out, i)`,
// one per line at `depth` levels of indentation.
template <typename WriteItem>
void WriteArray(ObjectWriter& object, const char* key, int count, int depth, WriteItem writeItem)
{
    QByteArray& out = object.Key(key);
    out.append('[');
    for (int i = 1; i <= count; ++i) {
        out.append(i > 1 ? ",\n" : "\n");
        out.append(2 * (depth + 1), ' ');
        writeItem(out, i);
    }
    if (count > 0) {
        out.append('\n');
        out.append(2 * depth, ' ');
    }
    out.append(']');
}

// A colour 0x00BBGGRR as "#RRGGBB"; a value with bits above those as its number.
void WriteColour(ObjectWriter& object, const char* key, qint32 colour)
{
    if (colour < 0 || colour > 0xFFFFFF)
        return object.Number(key, colour);
    const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    object.Text(key, QStringLiteral("#%1")
                         .arg((red << 16) | (green << 8) | blue, 6, 16, QLatin1Char('0'))
                         .toUpper());
}

void WriteGlass(QByteArray& out, const Glass& glass)
{
    ObjectWriter object(out, 2);
    for (const auto& field : RecordFields::GlassTexts)
        object.Text(field.key, glass.*field.member);
    object.Number("hotSpotId", glass.HotSpotID);
    object.Text("displayText", glass.DisplayText);
}

void WriteIngredient(QByteArray& out, const Ingredient& ingredient)
{
    ObjectWriter object(out, 2);
    for (const auto& field : RecordFields::IngredientTexts) {
        const QString value = (ingredient.*field.get)();
        if (!field.leftOutWhenUnassigned || !RecordFields::IsUnassigned(value))
            object.Text(field.key, value);
    }
    object.Flag("ounces", ingredient.Ounces());
    object.Flag("action", ingredient.Action());
    WriteColour(object, "color", ingredient.Color());
    object.Number("opacity", ingredient.Opacity());
    object.Number("hotSpotId", ingredient.HotSpotID());
    object.Text("displayText", ingredient.DisplayText());
}

void WriteRecipe(QByteArray& out, const Recipe& recipe)
{
    ObjectWriter object(out, 2);
    object.Text("name", recipe.Name);
    object.Text("glass", recipe.Glass);
    object.Number("level", recipe.Level);
    object.Number("category", recipe.Category);
    object.Text("instructions", recipe.Instructions);
    WriteArray(object, "lines", recipe.RecipeIngredients.Count(), 3, [&](QByteArray& out, int i) {
        const auto line = recipe.RecipeIngredients.Item(i);
        ObjectWriter item(out, -1);
        item.Text("ingredient", line->Name);
        item.Number("amount", qint64(line->Amount));
        item.Text("amountText", modGeneralAmounts::AmountText(quint8(line->Amount)));
        item.Number("priority", line->Priority);
    });
}

void WriteHelpTopic(QByteArray& out, const HelpTopic& topic)
{
    ObjectWriter object(out, 2);
    object.Text("name", topic.Name);
    object.Text("text", topic.Data);
}

template <typename Record, typename WriteRecord>
void WriteCollection(ObjectWriter& root, const char* key, const KeyedCollection<Record>& records,
                     WriteRecord writeRecord)
{
    WriteArray(root, key, records.Count(), 1,
               [&](QByteArray& out, int i) { writeRecord(out, *records.Item(i)); });
}

// ---------------------------------------------------------------------------------------------
// Reading

// Reads the members of one JSON object, noting every problem with the place it was found.
class ObjectReader {
public:
    ObjectReader(const QJsonValue& value, const QString& where, QStringList& problems)
        : object(value.toObject()), where(where), problems(problems)
    {
        if (!value.isObject())
            Refuse(QString(), QStringLiteral("an object { ... } is required"));
    }

    // Notes a problem with `key` (or with the object itself when `key` is empty).
    void Refuse(const QString& key, const QString& message)
    {
        problems << where + (key.isEmpty() ? QString() : QStringLiteral(": ") + key) +
                        QStringLiteral(": ") + message;
    }

    bool Has(const char* key) const { return object.contains(QLatin1String(key)); }
    qsizetype ProblemCount() const { return problems.size(); }

    // A text; `fixedField` for the 50-character fields.
    QString Text(const char* key, bool fixedField)
    {
        const QJsonValue value = Take(key);
        if (!value.isString()) {
            Refuse(QLatin1String(key), QStringLiteral("a text \"...\" is required"));
            return QString();
        }
        const QString why = CheckDatabase::TextNotKept(value.toString(), fixedField);
        if (!why.isEmpty())
            Refuse(QLatin1String(key), why);
        return value.toString();
    }

    // A name: a text of 1 to 50 characters.
    QString Name(const char* key)
    {
        const QString name = Text(key, true);
        if (name.isEmpty() && Has(key))
            Refuse(QLatin1String(key), QStringLiteral("a name cannot be empty"));
        return name;
    }

    int Number(const char* key, int low, int high)
    {
        return WholeNumber(Take(key), key, low, high);
    }

    int WholeNumber(const QJsonValue& value, const char* key, int low, int high)
    {
        const double number = value.toDouble(double(low) - 1);
        if (!value.isDouble() || number != std::floor(number) || number < low || number > high) {
            Refuse(QLatin1String(key),
                   QStringLiteral("a whole number from %1 to %2 is required").arg(low).arg(high));
            return low;
        }
        return int(number);
    }

    bool Flag(const char* key)
    {
        const QJsonValue value = Take(key);
        if (!value.isBool())
            Refuse(QLatin1String(key), QStringLiteral("true or false is required"));
        return value.toBool();
    }

    // "#RRGGBB", or the stored number itself.
    qint32 Colour(const char* key)
    {
        const QJsonValue value = Take(key);
        if (value.isDouble())
            return WholeNumber(value, key, std::numeric_limits<qint32>::min(),
                               std::numeric_limits<qint32>::max());
        const QString text = value.toString();
        bool ok = false;
        const uint rgb =
            text.size() == 7 && text.startsWith(QLatin1Char('#')) ? text.mid(1).toUInt(&ok, 16) : 0;
        if (!ok) {
            Refuse(QLatin1String(key), QStringLiteral("a colour \"#RRGGBB\" is required"));
            return 0;
        }
        return qint32(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    }

    QJsonArray Array(const char* key)
    {
        const QJsonValue value = Take(key);
        if (!value.isArray())
            Refuse(QLatin1String(key), QStringLiteral("an array [ ... ] is required"));
        return value.toArray();
    }

    // A reader for `value`, an item of one of this object's arrays.
    ObjectReader Item(const QJsonValue& value, const QString& what)
    {
        return ObjectReader(value, where + QStringLiteral(": ") + what, problems);
    }

    // Refuses the members nothing asked for: most likely a misspelt key.
    void RefuseUnknownKeys()
    {
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!used.contains(it.key()))
                Refuse(it.key(), QStringLiteral("is not a field of this record"));
    }

private:
    QJsonValue Take(const char* key)
    {
        used.insert(QLatin1String(key));
        return object.value(QLatin1String(key));
    }

    QJsonObject object;
    QString where;
    QStringList& problems;
    QSet<QString> used;
};

QString RecordPlace(const char* array, int position, const QString& name)
{
    return QStringLiteral("%1 record %2 \"%3\"").arg(QLatin1String(array)).arg(position).arg(name);
}

// Adds `record` under `name` unless the name is already used.
template <typename Record>
void AddRecord(KeyedCollection<Record>& records, const QString& name,
               std::shared_ptr<Record> record, ObjectReader& reader)
{
    if (name.isEmpty() || records.Add(name, std::move(record)))
        return;
    reader.Refuse(QStringLiteral("name"),
                  QStringLiteral("\"%1\" is already used by an earlier record (letter case is "
                                 "not told apart)")
                      .arg(name));
}

// Reads the records of the array `key` of `root`, each by `readRecord(reader, position)`, which
// returns the record and its name.
template <typename Record, typename ReadRecord>
KeyedCollection<Record> ReadCollection(ObjectReader& root, const char* key, QStringList& problems,
                                       ReadRecord readRecord)
{
    KeyedCollection<Record> records;
    const QJsonArray array = root.Array(key);
    records.Reserve(int(array.size()));
    for (int i = 0; i < array.size(); ++i) {
        const QString name = array.at(i).toObject().value(QStringLiteral("name")).toString();
        ObjectReader reader(array.at(i), RecordPlace(key, i + 1, name), problems);
        auto record = std::make_shared<Record>();
        readRecord(reader, *record);
        reader.RefuseUnknownKeys();
        AddRecord(records, name, std::move(record), reader);
    }
    return records;
}

void ReadGlass(ObjectReader& reader, Glass& glass)
{
    for (const auto& field : RecordFields::GlassTexts)
        glass.*field.member =
            field.member == &Glass::Name ? reader.Name(field.key) : reader.Text(field.key, true);
    glass.HotSpotID = quint8(reader.Number("hotSpotId", 0, 255));
    glass.DisplayText = reader.Text("displayText", false);
}

void ReadIngredient(ObjectReader& reader, Ingredient& ingredient)
{
    for (const auto& field : RecordFields::IngredientTexts)
        if (!field.leftOutWhenUnassigned || reader.Has(field.key))
            (ingredient.*field.set)(field.set == &Ingredient::SetName
                                        ? reader.Name(field.key)
                                        : reader.Text(field.key, true));
    ingredient.SetOunces(reader.Flag("ounces"));
    ingredient.SetAction(reader.Flag("action"));
    ingredient.SetColor(reader.Colour("color"));
    ingredient.SetOpacity(quint8(reader.Number("opacity", 0, 255)));
    ingredient.SetHotSpotID(quint8(reader.Number("hotSpotId", 0, 255)));
    ingredient.SetDisplayText(reader.Text("displayText", false));
}

void ReadRecipe(ObjectReader& reader, Recipe& recipe)
{
    recipe.Name = reader.Name("name");
    recipe.Glass = reader.Text("glass", true);
    recipe.Level = quint8(reader.Number("level", 0, 255));
    recipe.Category = quint8(reader.Number("category", 0, 255));
    recipe.Instructions = reader.Text("instructions", false);
    const QJsonArray lines = reader.Array("lines");
    for (int i = 0; i < lines.size(); ++i) {
        ObjectReader lineReader = reader.Item(lines.at(i), QStringLiteral("line %1").arg(i + 1));
        auto line = std::make_shared<RecipeIngredient>();
        line->Name = lineReader.Name("ingredient");
        const qsizetype problemsBefore = lineReader.ProblemCount();
        line->Amount = lineReader.Number("amount", 0, 255);
        const bool amountRead = lineReader.ProblemCount() == problemsBefore;
        if (lineReader.Has("amountText")) {
            // The text is there for reading; it must not contradict the code.
            const QString shown = lineReader.Text("amountText", false);
            const QString expected = modGeneralAmounts::AmountText(quint8(line->Amount));
            if (amountRead && shown != expected)
                lineReader.Refuse(QStringLiteral("amountText"),
                                  QStringLiteral("\"%1\" does not match amount %2, which reads "
                                                 "\"%3\"; correct it or leave amountText out")
                                      .arg(shown)
                                      .arg(line->Amount)
                                      .arg(expected));
        }
        line->Priority = quint8(lineReader.Number("priority", 0, 255));
        lineReader.RefuseUnknownKeys();
        line->ThisKey = NewKey();
        recipe.RecipeIngredients.Add(line->ThisKey, line);
    }
}

void ReadHelpTopic(ObjectReader& reader, HelpTopic& topic)
{
    topic.Name = reader.Name("name");
    topic.Data = reader.Text("text", false);
}

} // namespace

QByteArray Export()
{
    using namespace modCellarix;
    QByteArray out;
    {
        ObjectWriter root(out, 0);
        root.Text("format", FormatName);
        root.Number("version", FormatVersion);
        WriteCollection(root, "glasses", colGlasses,
                        [](QByteArray& out, const Glass& glass) { WriteGlass(out, glass); });
        WriteCollection(root, "ingredients", colIngredients,
                        [](QByteArray& out, const Ingredient& i) { WriteIngredient(out, i); });
        WriteCollection(root, "recipes", colRecipes,
                        [](QByteArray& out, const Recipe& r) { WriteRecipe(out, r); });
        WriteCollection(root, "helpTopics", colHelpTopics,
                        [](QByteArray& out, const HelpTopic& t) { WriteHelpTopic(out, t); });
    }
    out.append('\n');
    return out;
}

QStringList Import(const QByteArray& json)
{
    QStringList problems;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const QByteArray before = json.left(parseError.offset);
        return {QStringLiteral("line %1: not valid JSON: %2")
                    .arg(before.count('\n') + 1)
                    .arg(parseError.errorString())};
    }
    ObjectReader root(document.isObject() ? QJsonValue(document.object()) : QJsonValue(),
                      QStringLiteral("the document"), problems);
    if (!problems.isEmpty())
        return problems;
    if (root.Text("format", false) != FormatName)
        root.Refuse(QStringLiteral("format"), QStringLiteral("\"%1\" is required").arg(FormatName));
    root.Number("version", FormatVersion, FormatVersion);

    auto glasses = ReadCollection<Glass>(root, "glasses", problems, ReadGlass);
    auto ingredients = ReadCollection<Ingredient>(root, "ingredients", problems, ReadIngredient);
    auto recipes = ReadCollection<Recipe>(root, "recipes", problems, ReadRecipe);
    auto helpTopics = ReadCollection<HelpTopic>(root, "helpTopics", problems, ReadHelpTopic);
    root.RefuseUnknownKeys();
    if (!problems.isEmpty())
        return problems;

    modCellarix::colGlasses = std::move(glasses);
    modCellarix::colIngredients = std::move(ingredients);
    modCellarix::colRecipes = std::move(recipes);
    modCellarix::colHelpTopics = std::move(helpTopics);
    return problems;
}

} // namespace DatabaseJson
