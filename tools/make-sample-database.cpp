// Builds the four database files from the readable JSON form of a database:
//   make-sample-database DATABASE.json OUTPUT_FOLDER
// Every reference and every amount text is checked; on a problem the tool names the record and
// field of the first one, writes nothing and exits with status 1.
#include "records/AnsiText.h"
#include "records/Glass.h"
#include "records/Ingredient.h"
#include "records/KeyedCollection.h"
#include "records/Recipe.h"
#include "records/RecordIO.h"
#include "records/modGeneralAmounts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>

#include <cstdio>
#include <functional>

namespace {

// The first problem found; nothing is written once there is one.
QString firstProblem;

void Report(const QString& problem)
{
    if (firstProblem.isEmpty())
        firstProblem = problem;
}

QString Where(const char* array, int index, const QString& field)
{
    return QStringLiteral("%1[%2].%3").arg(QLatin1String(array)).arg(index).arg(field);
}

QString Text(const QJsonObject& object, const QString& field, const QString& where,
             bool nameLike = false)
{
    const QJsonValue value = object.value(field);
    if (!value.isString())
        Report(where + QStringLiteral(": a text is required"));
    if (nameLike && (value.toString().isEmpty() || value.toString().size() > 50))
        Report(where + QStringLiteral(": must hold 1 to 50 characters"));
    return value.toString();
}

int Number(const QJsonObject& object, const QString& field, const QString& where, int low, int high)
{
    const QJsonValue value = object.value(field);
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number != int(number) || number < low || number > high)
        Report(where +
               QStringLiteral(": a whole number from %1 to %2 is required").arg(low).arg(high));
    return int(number);
}

bool Flag(const QJsonObject& object, const QString& field, const QString& where)
{
    if (!object.value(field).isBool())
        Report(where + QStringLiteral(": true or false is required"));
    return object.value(field).toBool();
}

qint32 Colour(const QJsonObject& object, const QString& field, const QString& where)
{
    const QString text = Text(object, field, where);
    bool ok = false;
    const uint rgb = text.mid(1).toUInt(&ok, 16);
    if (text.size() != 7 || !text.startsWith(QLatin1Char('#')) || !ok)
        Report(where + QStringLiteral(": a colour #RRGGBB is required"));
    const uint red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    return qint32(red + 256 * green + 65536 * blue);
}

QJsonArray Array(const QJsonObject& object, const char* field)
{
    if (!object.value(QLatin1String(field)).isArray())
        Report(QStringLiteral("%1: an array is required").arg(QLatin1String(field)));
    return object.value(QLatin1String(field)).toArray();
}

template <typename Record>
void Add(KeyedCollection<Record>& collection, const QString& key, std::shared_ptr<Record> record,
         const QString& where)
{
    if (!collection.Add(key, std::move(record)))
        Report(where + QStringLiteral(": the name '%1' is already used").arg(key));
}

// Writes `count` and then the records through `writeRecords` into `path`.
void WriteFile(const QString& path, int count, const std::function<bool(QIODevice&)>& writeRecords)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !RecordIO::WriteBytes(file, RecordIO::Int32Bytes(count)) || !writeRecords(file) ||
        !file.commit())
        Report(QStringLiteral("%1: cannot write (%2)").arg(path, file.errorString()));
}

template <typename Record, typename Include>
bool WriteAll(QIODevice& file, const KeyedCollection<Record>& collection, Include include)
{
    for (const auto& record : collection)
        if (include(*record) && !record->SaveToFile(file))
            return false;
    return true;
}

void Build(const QJsonObject& root, const QString& outputFolder)
{
    KeyedCollection<Glass> glasses;
    const QJsonArray glassArray = Array(root, "glasses");
    for (int i = 0; i < glassArray.size(); ++i) {
        const QJsonObject o = glassArray.at(i).toObject();
        auto glass = std::make_shared<Glass>();
        glass->Name = Text(o, QStringLiteral("name"), Where("glasses", i, "name"), true);
        glass->HotSpotID = quint8(
            Number(o, QStringLiteral("hotSpotId"), Where("glasses", i, "hotSpotId"), 0, 255));
        glass->DisplayText =
            Text(o, QStringLiteral("displayText"), Where("glasses", i, "displayText"));
        for (auto [field, member] : {std::pair{"cursor", &glass->Cursor},
                                     {"opacityMap", &glass->OpacityMap},
                                     {"shadow", &glass->Shadow},
                                     {"highlight", &glass->Highlight},
                                     {"zoom", &glass->Zoom},
                                     {"animation", &glass->Animation},
                                     {"helpTopic", &glass->HelpTopic}})
            if (o.contains(QLatin1String(field)))
                *member = Text(o, QLatin1String(field), Where("glasses", i, field));
        Add(glasses, glass->Name, glass, Where("glasses", i, "name"));
    }

    KeyedCollection<Ingredient> ingredients;
    const QJsonArray ingredientArray = Array(root, "ingredients");
    for (int i = 0; i < ingredientArray.size(); ++i) {
        const QJsonObject o = ingredientArray.at(i).toObject();
        auto ingredient = std::make_shared<Ingredient>();
        ingredient->SetName(Text(o, QStringLiteral("name"), Where("ingredients", i, "name"), true));
        const QString parent = Text(o, QStringLiteral("parent"), Where("ingredients", i, "parent"));
        if (!parent.isEmpty() && !ingredients.Contains(parent))
            Report(Where("ingredients", i, "parent") +
                   QStringLiteral(": '%1' is not an earlier ingredient").arg(parent));
        ingredient->SetParentItem(parent);
        ingredient->SetOunces(Flag(o, QStringLiteral("ounces"), Where("ingredients", i, "ounces")));
        ingredient->SetAction(Flag(o, QStringLiteral("action"), Where("ingredients", i, "action")));
        ingredient->SetColor(Colour(o, QStringLiteral("color"), Where("ingredients", i, "color")));
        ingredient->SetOpacity(quint8(
            Number(o, QStringLiteral("opacity"), Where("ingredients", i, "opacity"), 0, 100)));
        ingredient->SetHotSpotID(quint8(
            Number(o, QStringLiteral("hotSpotId"), Where("ingredients", i, "hotSpotId"), 0, 255)));
        ingredient->SetDisplayText(
            Text(o, QStringLiteral("displayText"), Where("ingredients", i, "displayText")));
        // Attribute names left out stay unassigned, as in an ingredient made by the editor.
        for (auto [field, setter] : {std::pair{"cursor", &Ingredient::SetCursor},
                                     {"shadow", &Ingredient::SetShadow},
                                     {"highlight", &Ingredient::SetHighlight},
                                     {"zoom", &Ingredient::SetZoom},
                                     {"animation", &Ingredient::SetAnimation},
                                     {"helpTopic", &Ingredient::SetHelpTopic}})
            if (o.contains(QLatin1String(field)))
                (ingredient.get()->*setter)(
                    Text(o, QLatin1String(field), Where("ingredients", i, field)));
        Add(ingredients, ingredient->Name(), ingredient, Where("ingredients", i, "name"));
    }

    KeyedCollection<Recipe> recipes;
    const QJsonArray recipeArray = Array(root, "recipes");
    for (int i = 0; i < recipeArray.size(); ++i) {
        const QJsonObject o = recipeArray.at(i).toObject();
        auto recipe = std::make_shared<Recipe>();
        recipe->Name = Text(o, QStringLiteral("name"), Where("recipes", i, "name"), true);
        recipe->Glass = Text(o, QStringLiteral("glass"), Where("recipes", i, "glass"));
        if (!recipe->Glass.isEmpty() && !glasses.Contains(recipe->Glass))
            Report(Where("recipes", i, "glass") +
                   QStringLiteral(": no glass '%1'").arg(recipe->Glass));
        recipe->Level =
            quint8(Number(o, QStringLiteral("level"), Where("recipes", i, "level"), 0, 19));
        recipe->Category =
            quint8(Number(o, QStringLiteral("category"), Where("recipes", i, "category"), 0, 255));
        recipe->Instructions =
            Text(o, QStringLiteral("instructions"), Where("recipes", i, "instructions"));
        const QJsonArray lines = Array(o, "lines");
        for (int j = 0; j < lines.size(); ++j) {
            const QJsonObject l = lines.at(j).toObject();
            const QString where = Where("recipes", i, QStringLiteral("lines[%1]").arg(j));
            auto line = std::make_shared<RecipeIngredient>();
            line->Name =
                Text(l, QStringLiteral("ingredient"), where + QStringLiteral(".ingredient"), true);
            if (!ingredients.Contains(line->Name))
                Report(where + QStringLiteral(".ingredient: no ingredient '%1'").arg(line->Name));
            const int amount =
                Number(l, QStringLiteral("amount"), where + QStringLiteral(".amount"), 0, 255);
            line->Amount = amount;
            const QString expected = modGeneralAmounts::AmountText(quint8(amount));
            if (Text(l, QStringLiteral("amountText"), where + QStringLiteral(".amountText")) !=
                expected)
                Report(
                    where +
                    QStringLiteral(".amountText: amount %1 reads '%2'").arg(amount).arg(expected));
            line->Priority = quint8(
                Number(l, QStringLiteral("priority"), where + QStringLiteral(".priority"), 0, 9));
            line->ThisKey = QString::number(j);
            recipe->RecipeIngredients.Add(line->ThisKey, line);
        }
        Add(recipes, recipe->Name, recipe, Where("recipes", i, "name"));
    }

    QByteArray help = RecordIO::Int32Bytes(0);
    const QJsonArray topicArray = Array(root, "helpTopics");
    RecordIO::PutInt32(help, 0, qint32(topicArray.size()));
    QSet<QString> topicNames;
    for (int i = 0; i < topicArray.size(); ++i) {
        const QJsonObject o = topicArray.at(i).toObject();
        const QString name = Text(o, QStringLiteral("name"), Where("helpTopics", i, "name"), true);
        if (topicNames.contains(name.toCaseFolded()))
            Report(Where("helpTopics", i, "name") +
                   QStringLiteral(": the name '%1' is already used").arg(name));
        topicNames.insert(name.toCaseFolded());
        const QByteArray text =
            AnsiText::Encode(Text(o, QStringLiteral("text"), Where("helpTopics", i, "text")));
        help += AnsiText::FixedField(name) + RecordIO::Int32Bytes(qint32(text.size())) + text;
    }

    if (!firstProblem.isEmpty())
        return; // nothing is written from a database with a problem
    if (!QDir().mkpath(outputFolder))
        return Report(outputFolder + QStringLiteral(": cannot create the folder"));
    const QString folder = outputFolder + QLatin1Char('/');
    const auto all = [](const auto&) { return true; };
    WriteFile(folder + QStringLiteral("Glasses.Dat"), glasses.Count(),
              [&](QIODevice& f) { return WriteAll(f, glasses, all); });
    WriteFile(folder + QStringLiteral("Ingredients.Dat"), ingredients.Count(), [&](QIODevice& f) {
        return WriteAll(f, ingredients,
                        [](const Ingredient& i) { return i.ParentItem().isEmpty(); }) &&
               WriteAll(f, ingredients,
                        [](const Ingredient& i) { return !i.ParentItem().isEmpty(); });
    });
    WriteFile(folder + QStringLiteral("Recipes.Dat"), recipes.Count(),
              [&](QIODevice& f) { return WriteAll(f, recipes, all); });
    QSaveFile helpFile(folder + QStringLiteral("Help.Dat"));
    if (!helpFile.open(QIODevice::WriteOnly) || helpFile.write(help) != help.size() ||
        !helpFile.commit())
        Report(folder + QStringLiteral("Help.Dat: cannot write"));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make-sample-database DATABASE.json OUTPUT_FOLDER\n");
        return 2;
    }
    QFile input(args.at(1));
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read\n", qPrintable(args.at(1)));
        return 1;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(input.readAll(), &parseError);
    if (!document.isObject()) {
        std::fprintf(stderr, "%s: not a JSON object (%s at offset %d)\n", qPrintable(args.at(1)),
                     qPrintable(parseError.errorString()), int(parseError.offset));
        return 1;
    }
    Build(document.object(), args.at(2));
    if (!firstProblem.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args.at(1)), qPrintable(firstProblem));
        return 1;
    }
    return 0;
}
