#include "DatabaseJson.h"

#include "check/CheckDatabase.h"
#include "records/NewKey.h"
#include "records/RecordFields.h"
#include "records/modGeneralAmounts.h"
#include "store/modCellarix.h"

#include "JsonReader.h"

#include <QBuffer>
#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <vector>

#include <cmath>
#include <limits>

namespace DatabaseJson {

namespace {

const QString FormatName = QStringLiteral("mixora-database");
constexpr int FormatVersion = 1;

// The text of every amount code, made once: export writes one for every recipe line.
const QString& AmountTextOf(int code)
{
    static const std::vector<QString> texts = [] {
        std::vector<QString> all;
        for (int i = 0; i <= 255; ++i)
            all.push_back(modGeneralAmounts::AmountText(quint8(i)));
        return all;
    }();
    return texts[size_t(code)];
}

// ---------------------------------------------------------------------------------------------
// Writing

void AppendQuoted(QByteArray& out, const QString& text)
{
    static const char Hex[] = "0123456789abcdef";
    out.append('"');
    for (const char byte : text.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        switch (c) {
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        case '"':
        case '\\':
            out.append('\\').append(char(c));
            break;
        default:
            if (c < 0x20)
                out.append("\\u00").append(Hex[c >> 4]).append(Hex[c & 15]);
            else
                out.append(char(c));
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
        // Separator, indentation and key go out in one piece.
        char start[80];
        int size = 0;
        if (members++ > 0)
            start[size++] = ',';
        if (depth >= 0) {
            start[size++] = '\n';
            std::memset(start + size, ' ', size_t(2 * (depth + 1)));
            size += 2 * (depth + 1);
        } else if (size > 0) {
            start[size++] = ' ';
        }
        start[size++] = '"';
        const size_t length = std::min(std::strlen(key), sizeof start - size_t(size) - 3);
        std::memcpy(start + size, key, length);
        size += int(length);
        std::memcpy(start + size, "\": ", 3);
        return out.append(start, size + 3);
    }
    void Text(const char* key, const QString& value) { AppendQuoted(Key(key), value); }
    void Number(const char* key, qint64 value)
    {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        Key(key).append(digits, result.ptr - digits);
    }
    void Flag(const char* key, bool value) { Key(key).append(value ? "true" : "false"); }

private:
    QByteArray& out;
    int depth;
    int members = 0;
};

// The array member `key` of `object` being written: its items one per line at `depth` levels
// of indentation. The destructor closes it.
class ArrayWriter {
public:
    ArrayWriter(ObjectWriter& object, const char* key, int depth)
        : out(object.Key(key)), depth(depth)
    {
        out.append('[');
    }
    ~ArrayWriter()
    {
        if (items > 0) {
            out.append('\n');
            out.append(2 * depth, ' ');
        }
        out.append(']');
    }

    // Starts the next item; the caller appends it.
    QByteArray& Item()
    {
        out.append(items++ > 0 ? ",\n" : "\n");
        return out.append(2 * (depth + 1), ' ');
    }

private:
    QByteArray& out;
    int depth;
    int items = 0;
};

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
    ArrayWriter lines(object, "lines", 3);
    for (const auto& line : recipe.RecipeIngredients()) {
        ObjectWriter item(lines.Item(), -1);
        item.Text("ingredient", line->Name);
        item.Number("amount", qint64(line->Amount));
        item.Text("amountText", AmountTextOf(int(line->Amount)));
        item.Number("priority", line->Priority);
    }
}

void WriteHelpTopic(QByteArray& out, const HelpTopic& topic)
{
    ObjectWriter object(out, 2);
    object.Text("name", topic.Name);
    object.Text("text", topic.Data);
}

// The document on its way to a file: written out a piece at a time, so that it never has to be
// in memory whole.
struct Output {
    QIODevice& file;
    QByteArray bytes;
    bool failed = false;

    // Writes what has gathered once it is more than a piece.
    void Spill(qsizetype piece = 1 << 20)
    {
        if (bytes.size() < piece)
            return;
        failed = failed || file.write(bytes) != bytes.size();
        bytes.resize(0);
    }
};

template <typename Record, typename WriteRecord>
void WriteCollection(ObjectWriter& root, Output& output, const char* key,
                     const KeyedCollection<Record>& records, WriteRecord writeRecord)
{
    ArrayWriter array(root, key, 1);
    for (const auto& record : records) {
        writeRecord(array.Item(), *record);
        output.Spill();
    }
}

// ---------------------------------------------------------------------------------------------
// Reading

// Reads the members of one record's object, checking each value and noting every problem with
// the field it concerns. The record's place in messages is put together only when there is a
// problem.
class RecordReader {
public:
    // `line`, when not 0, is the recipe line the object is, for the names of its fields.
    RecordReader(JsonReader& json, QList<std::pair<QString, QString>>& findings, int line = 0)
        : json(json), findings(findings), line(line)
    {
    }

    // Reads the object member by member: `readMember(key)` reads the value of each member it
    // knows and returns false for the others, which are refused. Refuses members that appear
    // twice and the keys of `required` that are missing.
    template <typename ReadMember>
    void Members(std::initializer_list<std::string_view> required, ReadMember readMember)
    {
        if (!json.EnterObject()) {
            Refuse(QString(), QStringLiteral("an object { ... } is required"));
            json.Skip();
            return;
        }
        QVarLengthArray<std::string_view, 16> seen;
        std::string_view key;
        while (json.NextMember(key)) {
            if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
                Refuse(key, QStringLiteral("appears twice"));
                json.Skip();
                continue;
            }
            seen.push_back(key);
            if (!readMember(key)) {
                Refuse(key, QStringLiteral("is not a field of this record"));
                json.Skip();
            }
        }
        for (const std::string_view key : required)
            if (std::find(seen.begin(), seen.end(), key) == seen.end())
                Refuse(key, QStringLiteral("is missing"));
    }

    void Refuse(std::string_view key, const QString& message)
    {
        Refuse(QString::fromUtf8(key.data(), qsizetype(key.size())), message);
    }
    void Refuse(const QString& key, const QString& message)
    {
        QString field = line > 0 ? QStringLiteral("line %1").arg(line) : QString();
        if (!key.isEmpty())
            field += (field.isEmpty() ? QString() : QStringLiteral(": ")) + key;
        findings.append({field, message});
    }

    // A text; `fixedField` for the 50-character fields.
    QString Text(std::string_view key, bool fixedField)
    {
        QString value;
        if (!json.String(value)) {
            Refuse(key, QStringLiteral("a text \"...\" is required"));
            json.Skip();
            return value;
        }
        const QString why = CheckDatabase::TextNotKept(value, fixedField);
        if (!why.isEmpty())
            Refuse(key, why);
        return value;
    }

    // A name: a text of 1 to 50 characters.
    QString Name(std::string_view key)
    {
        const bool isText = json.Next() == JsonReader::Kind::String;
        name = Text(key, true);
        if (isText && name.isEmpty())
            Refuse(key, QStringLiteral("a name cannot be empty"));
        return name;
    }

    // A whole number from `low` to `high`; `low` when there is none, and `valid` false then.
    qint64 Number(std::string_view key, qint64 low, qint64 high, bool* valid = nullptr)
    {
        double number = 0;
        const bool read = json.Number(number);
        if (!read)
            json.Skip();
        const bool ok =
            read && number == std::floor(number) && number >= double(low) && number <= double(high);
        if (valid)
            *valid = ok;
        if (!ok) {
            Refuse(key,
                   QStringLiteral("a whole number from %1 to %2 is required").arg(low).arg(high));
            return low;
        }
        return qint64(number);
    }

    // A reader for the recipe line at the current position, numbered `number`.
    RecordReader Line(int number) { return RecordReader(json, findings, number); }

    bool Flag(std::string_view key)
    {
        bool flag = false;
        if (!json.Bool(flag)) {
            Refuse(key, QStringLiteral("true or false is required"));
            json.Skip();
        }
        return flag;
    }

    // "#RRGGBB", or the stored number itself.
    qint32 Colour(std::string_view key)
    {
        if (json.Next() == JsonReader::Kind::Number)
            return qint32(Number(key, std::numeric_limits<qint32>::min(),
                                 std::numeric_limits<qint32>::max()));
        QString text;
        if (!json.String(text))
            json.Skip();
        const bool ok = text.size() == 7 && text.startsWith(QLatin1Char('#')) &&
                        std::all_of(text.begin() + 1, text.end(), [](QChar c) {
                            return c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f');
                        });
        const uint rgb = text.mid(1).toUInt(nullptr, 16);
        if (!ok) {
            Refuse(key, QStringLiteral("a colour \"#RRGGBB\" is required"));
            return 0;
        }
        return qint32(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    }

    JsonReader& json;
    QString name; // the record's name, once read

private:
    QList<std::pair<QString, QString>>& findings;
    int line;
};

// Reads the array at the reader's position as records of one kind, each by
// `readRecord(reader, record)`, noting problems as "<array> record <n> \"<name>\": ...".
template <typename Record, typename ReadRecord>
KeyedCollection<Record> ReadCollection(JsonReader& json, std::string_view array,
                                       QStringList& problems, ReadRecord readRecord)
{
    KeyedCollection<Record> records;
    const QString arrayName = QString::fromLatin1(array.data(), qsizetype(array.size()));
    if (!json.EnterArray()) {
        problems << QStringLiteral("%1: an array [ ... ] is required").arg(arrayName);
        json.Skip();
        return records;
    }
    QList<std::pair<QString, QString>> findings;
    for (int position = 1; json.NextItem(); ++position) {
        RecordReader reader(json, findings);
        auto record = std::make_shared<Record>();
        readRecord(reader, *record);
        if (!reader.name.isEmpty() && !records.Add(reader.name, std::move(record)))
            reader.Refuse(QStringLiteral("name"),
                          QStringLiteral("%1 is already used by an earlier record (letter case "
                                         "is not told apart)")
                              .arg(CheckDatabase::Quoted(reader.name)));
        for (const auto& [field, message] : findings)
            problems << QStringLiteral("%1 record %2 %3: %4%5")
                            .arg(arrayName)
                            .arg(position)
                            .arg(CheckDatabase::Quoted(reader.name),
                                 field.isEmpty() ? QString() : field + ": ", message);
        findings.clear();
    }
    return records;
}

void ReadGlass(RecordReader& reader, Glass& glass)
{
    reader.Members({"name", "cursor", "opacityMap", "shadow", "highlight", "zoom", "animation",
                    "helpTopic", "hotSpotId", "displayText"},
                   [&](std::string_view key) {
                       for (const auto& field : RecordFields::GlassTexts)
                           if (key == field.key) {
                               glass.*field.member = field.member == &Glass::Name
                                                         ? reader.Name(key)
                                                         : reader.Text(key, true);
                               return true;
                           }
                       if (key == "hotSpotId")
                           glass.HotSpotID = quint8(reader.Number(key, 0, 255));
                       else if (key == "displayText")
                           glass.DisplayText = reader.Text(key, false);
                       else
                           return false;
                       return true;
                   });
}

void ReadIngredient(RecordReader& reader, Ingredient& ingredient)
{
    reader.Members(
        {"name", "parent", "ounces", "action", "color", "opacity", "hotSpotId", "displayText"},
        [&](std::string_view key) {
            for (const auto& field : RecordFields::IngredientTexts)
                if (key == field.key) {
                    (ingredient.*field.set)(field.set == &Ingredient::SetName
                                                ? reader.Name(key)
                                                : reader.Text(key, true));
                    return true;
                }
            if (key == "ounces")
                ingredient.SetOunces(reader.Flag(key));
            else if (key == "action")
                ingredient.SetAction(reader.Flag(key));
            else if (key == "color")
                ingredient.SetColor(reader.Colour(key));
            else if (key == "opacity")
                ingredient.SetOpacity(quint8(reader.Number(key, 0, 255)));
            else if (key == "hotSpotId")
                ingredient.SetHotSpotID(quint8(reader.Number(key, 0, 255)));
            else if (key == "displayText")
                ingredient.SetDisplayText(reader.Text(key, false));
            else
                return false;
            return true;
        });
}

// One line of a recipe. The amount's text, when given, must be the code's.
void ReadLine(RecordReader& reader, RecipeIngredient& line)
{
    QString amountText;
    bool amountRead = false, amountTextRead = false;
    reader.Members({"ingredient", "amount", "priority"}, [&](std::string_view key) {
        if (key == "ingredient") {
            // A reference, like a recipe's glass: one that names nothing is the editor's concern.
            line.Name = reader.Text(key, true);
        } else if (key == "amount") {
            line.Amount = double(reader.Number(key, 0, 255, &amountRead));
        } else if (key == "amountText") {
            amountTextRead = reader.json.Next() == JsonReader::Kind::String;
            amountText = reader.Text(key, false);
        } else if (key == "priority") {
            line.Priority = quint8(reader.Number(key, 0, 255));
        } else {
            return false;
        }
        return true;
    });
    const QString& expected = AmountTextOf(int(line.Amount));
    if (amountRead && amountTextRead && amountText != expected)
        reader.Refuse(QStringLiteral("amountText"),
                      QStringLiteral("%1 does not match amount %2, which reads \"%3\"; "
                                     "correct it or leave amountText out")
                          .arg(CheckDatabase::Quoted(amountText))
                          .arg(line.Amount)
                          .arg(expected));
}

void ReadLines(RecordReader& reader, Recipe& recipe)
{
    if (!reader.json.EnterArray()) {
        reader.Refuse(QStringLiteral("lines"), QStringLiteral("an array [ ... ] is required"));
        reader.json.Skip();
        return;
    }
    for (int number = 1; reader.json.NextItem(); ++number) {
        RecordReader lineReader = reader.Line(number);
        auto line = std::make_shared<RecipeIngredient>();
        ReadLine(lineReader, *line);
        line->ThisKey = NewKey();
        recipe.RecipeIngredients().Add(line->ThisKey, line);
    }
}

void ReadRecipe(RecordReader& reader, Recipe& recipe)
{
    reader.Members({"name", "glass", "level", "category", "instructions", "lines"},
                   [&](std::string_view key) {
                       if (key == "name")
                           recipe.Name = reader.Name(key);
                       else if (key == "glass")
                           recipe.Glass = reader.Text(key, true);
                       else if (key == "level")
                           recipe.Level = quint8(reader.Number(key, 0, 255));
                       else if (key == "category")
                           recipe.Category = quint8(reader.Number(key, 0, 255));
                       else if (key == "instructions")
                           recipe.Instructions = reader.Text(key, false);
                       else if (key == "lines")
                           ReadLines(reader, recipe);
                       else
                           return false;
                       return true;
                   });
}

void ReadHelpTopic(RecordReader& reader, HelpTopic& topic)
{
    reader.Members({"name", "text"}, [&](std::string_view key) {
        if (key == "name")
            topic.Name = reader.Name(key);
        else if (key == "text")
            topic.Data = reader.Text(key, false);
        else
            return false;
        return true;
    });
}

// The ingredients in the order a save writes them: the top-level ones first. Checked in this
// order, they are named by their positions in the file that import writes.
KeyedCollection<Ingredient> InSavedOrder(const KeyedCollection<Ingredient>& ingredients)
{
    KeyedCollection<Ingredient> ordered;
    ordered.Reserve(ingredients.Count());
    for (const bool topLevel : {true, false})
        for (int i = 1; i <= ingredients.Count(); ++i)
            if (ingredients.Item(i)->ParentItem().isEmpty() == topLevel)
                ordered.Add(ingredients.KeyAt(i), ingredients.Item(i));
    return ordered;
}

} // namespace

bool Export(QIODevice& file)
{
    using namespace modCellarix;
    Output output{file, {}};
    {
        ObjectWriter root(output.bytes, 0);
        root.Text("format", FormatName);
        root.Number("version", FormatVersion);
        WriteCollection(root, output, "glasses", colGlasses, WriteGlass);
        WriteCollection(root, output, "ingredients", colIngredients, WriteIngredient);
        WriteCollection(root, output, "recipes", colRecipes, WriteRecipe);
        WriteCollection(root, output, "helpTopics", colHelpTopics, WriteHelpTopic);
    }
    output.bytes.append('\n');
    output.Spill(0);
    return !output.failed;
}

QByteArray Export()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Export(buffer);
    return buffer.data();
}

QStringList Import(const QByteArray& json)
{
    QStringList problems;
    JsonReader reader(json);
    QList<std::pair<QString, QString>> findings;
    RecordReader document(reader, findings);
    KeyedCollection<Glass> glasses;
    KeyedCollection<Ingredient> ingredients;
    KeyedCollection<Recipe> recipes;
    KeyedCollection<HelpTopic> helpTopics;
    document.Members(
        {"format", "version", "glasses", "ingredients", "recipes", "helpTopics"},
        [&](std::string_view key) {
            if (key == "format") {
                if (document.Text(key, false) != FormatName)
                    document.Refuse(key, QStringLiteral("\"%1\" is required").arg(FormatName));
            } else if (key == "version") {
                document.Number(key, FormatVersion, FormatVersion);
            } else if (key == "glasses") {
                glasses = ReadCollection<Glass>(reader, key, problems, ReadGlass);
            } else if (key == "ingredients") {
                ingredients = ReadCollection<Ingredient>(reader, key, problems, ReadIngredient);
            } else if (key == "recipes") {
                recipes = ReadCollection<Recipe>(reader, key, problems, ReadRecipe);
            } else if (key == "helpTopics") {
                helpTopics = ReadCollection<HelpTopic>(reader, key, problems, ReadHelpTopic);
            } else {
                return false;
            }
            return true;
        });
    if (!reader.Finish())
        return {reader.Error()};
    for (const auto& [field, message] : findings)
        problems << QStringLiteral("the document: %1%2")
                        .arg(field.isEmpty() ? QString() : field + ": ", message);
    if (!problems.isEmpty())
        return problems;

    modCellarix::colGlasses = std::move(glasses);
    modCellarix::colIngredients = InSavedOrder(ingredients);
    modCellarix::colRecipes = std::move(recipes);
    modCellarix::colHelpTopics = std::move(helpTopics);
    return problems;
}

} // namespace DatabaseJson
