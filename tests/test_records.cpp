// The record classes against hand-written file bytes, in both directions.
#include "TestSupport.h"

#include "records/AnsiText.h"
#include "records/Glass.h"
#include "records/HelpTopic.h"
#include "records/Image.h"
#include "records/Ingredient.h"
#include "records/KeyedCollection.h"
#include "records/NewKey.h"
#include "records/Recipe.h"

#include <QBuffer>
#include <QSet>
#include <QTest>

#include <limits>

using TestSupport::Byte;
using TestSupport::Bytes;
using TestSupport::Field;
using TestSupport::Int32;
using TestSupport::Line;

namespace {

constexpr qint32 Huge = std::numeric_limits<qint32>::max();

// Fixed part of a glass: name, seven empty fields, hot spot 0, then the length field.
QByteArray GlassFixed(qint32 length)
{
    return Field("G") + Field("").repeated(7) + Byte(0) + Int32(length);
}

// Fixed part of an ingredient with only its name set and the given display text length.
QByteArray IngredientFixed(qint32 length)
{
    return Field("I") + Bytes(357, '\0') + Int32(length);
}

QByteArray RecipeHead(const QByteArray& name, int category, const QByteArray& glass, int level,
                      qint32 instructionLength, qint32 lineCount)
{
    return Field(name) + Byte(category) + Field(glass) + Byte(level) + Int32(instructionLength) +
           Int32(lineCount);
}

QByteArray ImageRecord(int deleted, const QByteArray& name, qint32 dataSize)
{
    return Byte(deleted) + Field(name) + Int32(-1) + Int32(2) + Int32(300) + Int32(400) + Byte(1) +
           Byte(2) + Int32(dataSize);
}

// Everything a record writes into an empty buffer; `ok` receives its result.
template <typename Record> QByteArray Saved(const Record& record, bool* ok = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const bool result = record.SaveToFile(buffer);
    if (ok)
        *ok = result;
    return buffer.data();
}

// Loads `record` from `bytes`, starting at `start`; `end` receives the position afterwards.
template <typename Record>
bool Loaded(Record& record, const QByteArray& bytes, qint64 start = 0, qint64* end = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(start);
    const bool result = record.LoadFromFile(buffer);
    if (end)
        *end = buffer.pos();
    return result;
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT

private slots:
    void glassWritesAndReadsItsRecord();
    void ingredientReadsEveryFieldAtItsOffset();
    void ingredientKeepsNeverAssignedFieldsAsZeroBytes();
    void recipeWithoutLinesIsHeadAndInstructions();
    void recipeLinesLoadInPriorityOrder_data();
    void recipeLinesLoadInPriorityOrder();
    void recipeSavesLoadedLinesInPriorityOrder();
    void recipeLineWithAmountOutsideByteFailsButOthersAreWritten();
    void recipeLinesGetFreshKeysOnEveryLoad();
    void totalOuncesCountsOnlyOunceMeasuredIngredients();
    void helpTopicReadsTitleAndText();
    void imageSkipsItsDataBlock();
    void damagedRecordsFailToLoad_data();
    void damagedRecordsFailToLoad();
    void textUsesWindows1252();
    void keyedCollectionKeepsOrderAndKeys();
    void newKeysAreFreshAndShaped();
};

void TestRecords::glassWritesAndReadsItsRecord()
{
    Glass glass;
    glass.Name = "Highball";
    glass.HotSpotID = 3;
    glass.DisplayText = "Tall glass";
    const QByteArray expected =
        Field("Highball") + Field("").repeated(7) + Byte(3) + Int32(10) + "Tall glass";
    QCOMPARE(expected.size(), 415);
    QCOMPARE(Saved(glass), expected);

    // Each fixed field is read from its own offset, trimmed of spaces only; the file stays
    // just after the text.
    const QByteArray record = Field("Name") + Field("  Cursor  ") + Field("Opacity") +
                              Field("Shadow") + Field("Highlight") + Field("Zoom") +
                              Field("Animation") + Field("Help\t") + Byte(255) + Int32(4) + "Text";
    Glass loaded;
    qint64 end = 0;
    QVERIFY(Loaded(loaded, record + "next", 0, &end));
    QCOMPARE(end, 409);
    QCOMPARE(QStringList({loaded.Name, loaded.Cursor, loaded.OpacityMap, loaded.Shadow,
                          loaded.Highlight, loaded.Zoom, loaded.Animation, loaded.HelpTopic}),
             QStringList({"Name", "Cursor", "Opacity", "Shadow", "Highlight", "Zoom", "Animation",
                          "Help\t"}));
    QCOMPARE(loaded.HotSpotID, quint8(255));
    QCOMPARE(loaded.DisplayText, QString("Text"));

    // Names are cut at 50 characters; an empty text has length 0 and no bytes, both ways.
    loaded.Name = QString("0123456789").repeated(6);
    loaded.DisplayText.clear();
    const QByteArray cut = Field(QByteArray("0123456789").repeated(5)) + Field("Cursor") +
                           record.mid(100, 301) + Int32(0);
    QCOMPARE(Saved(loaded), cut);
    loaded.DisplayText = "old";
    QVERIFY(Loaded(loaded, cut, 0, &end));
    QCOMPARE(end, 405);
    QCOMPARE(loaded.Name, QString("0123456789").repeated(5));
    QCOMPARE(loaded.DisplayText, QString());
}

void TestRecords::ingredientReadsEveryFieldAtItsOffset()
{
    const QByteArray record = Field("  Lime Juice  ") + Byte(1) + Byte(2) + Int32(-123456) +
                              Byte(200) + Field("Juices") + Field("Shadow") + Field("Highlight") +
                              Field("Cursor") + Field("Zoom") + Field("Animation") + Field("Help") +
                              Byte(9) + Int32(5) + "Fresh";
    Ingredient ingredient;
    qint64 end = 0;
    QVERIFY(Loaded(ingredient, record + "next", 0, &end));
    QCOMPARE(end, 417);
    QCOMPARE(ingredient.Name(), QString("Lime Juice"));
    QCOMPARE(ingredient.Ounces(), true);
    QCOMPARE(ingredient.Action(), false); // only byte 1 means true
    QCOMPARE(ingredient.Color(), -123456);
    QCOMPARE(ingredient.Opacity(), quint8(200));
    QCOMPARE(QStringList({ingredient.ParentItem(), ingredient.Shadow(), ingredient.Highlight(),
                          ingredient.Cursor(), ingredient.Zoom(), ingredient.Animation(),
                          ingredient.HelpTopic()}),
             QStringList({"Juices", "Shadow", "Highlight", "Cursor", "Zoom", "Animation", "Help"}));
    QCOMPARE(ingredient.HotSpotID(), quint8(9));
    QCOMPARE(ingredient.DisplayText(), QString("Fresh"));
    // The record is written back exactly as read, the Action byte 2 included.
    QCOMPARE(Saved(ingredient), record);

    // Property writes pad, cut at 50 characters and lose leading spaces on the next read.
    ingredient.SetName(QString("abcdefghij").repeated(6));
    QCOMPARE(ingredient.Name(), QString("abcdefghij").repeated(5));
    ingredient.SetParentItem("   Citrus");
    QCOMPARE(ingredient.ParentItem(), QString("Citrus"));
    QCOMPARE(Saved(ingredient).mid(57, 50), Field("   Citrus"));
}

void TestRecords::ingredientKeepsNeverAssignedFieldsAsZeroBytes()
{
    Ingredient ingredient;
    ingredient.SetName("Vodka");
    ingredient.SetParentItem("Spirits");
    ingredient.SetAction(true);
    ingredient.SetOunces(true);
    ingredient.SetColor(0x00336699);
    ingredient.SetOpacity(128);
    ingredient.SetDisplayText("Clear");
    const QByteArray expected = Field("Vodka") + Byte(1) + Byte(1) + Int32(0x00336699) + Byte(128) +
                                Field("Spirits") + Bytes(300, '\0') + Byte(0) + Int32(5) + "Clear";
    QCOMPARE(Saved(ingredient), expected);

    Ingredient loaded;
    QVERIFY(Loaded(loaded, expected));
    QCOMPARE(loaded.Zoom(), QString(50, QChar(0))); // code 0 is not trimmed like a space
    QCOMPARE(loaded.Name(), QString("Vodka"));

    ingredient.SetDisplayText(QString());
    QCOMPARE(Saved(ingredient), expected.left(408) + Int32(0));
    QCOMPARE(Saved(Ingredient()), Bytes(412, '\0'));
}

void TestRecords::recipeWithoutLinesIsHeadAndInstructions()
{
    Recipe recipe;
    recipe.Name = QString("0123456789").repeated(6);
    recipe.Glass = "Highball";
    recipe.Level = 2;
    recipe.Instructions = "Stir.\r\nServe.";
    const QByteArray expected =
        RecipeHead(QByteArray("0123456789").repeated(5), 0, "Highball", 2, 13, 0) +
        "Stir.\r\nServe.";
    QCOMPARE(Saved(recipe), expected);

    Recipe loaded;
    loaded.Category = 1;
    qint64 end = 0;
    QVERIFY(Loaded(loaded, expected + Line("x", 1, 1), 0, &end));
    QCOMPARE(end, 123);
    QCOMPARE(loaded.Name, recipe.Name.left(50));
    QCOMPARE(loaded.Glass, QString("Highball"));
    QCOMPARE(loaded.Level, quint8(2));
    QCOMPARE(loaded.Category, quint8(0));
    QCOMPARE(loaded.Instructions, recipe.Instructions);
    QCOMPARE(loaded.RecipeIngredients.Count(), 0);

    // Empty instructions put nothing between the head and the lines; leading spaces go.
    recipe.Name = "  Mojito";
    recipe.Instructions.clear();
    QCOMPARE(Saved(recipe), RecipeHead("  Mojito", 0, "Highball", 2, 0, 0));
    QVERIFY(Loaded(loaded, Saved(recipe)));
    QCOMPARE(loaded.Name, QString("Mojito"));
    QCOMPARE(loaded.Instructions, QString());
}

void TestRecords::recipeLinesLoadInPriorityOrder_data()
{
    QTest::addColumn<QList<int>>("priorities"); // of lines "A", "B", "C" ... in file order
    QTest::addColumn<QStringList>("order");
    QTest::newRow("3 1 2") << QList<int>{3, 1, 2} << QStringList{"B", "C", "A"};
    QTest::newRow("equal priorities pass by a lower one")
        << QList<int>{2, 2, 1} << QStringList{"C", "B", "A"};
    QTest::newRow("equal priorities alone keep file order")
        << QList<int>{9, 0, 5, 0} << QStringList{"B", "D", "C", "A"};
    QTest::newRow("priorities compare unsigned") << QList<int>{200, 9} << QStringList{"B", "A"};
}

void TestRecords::recipeLinesLoadInPriorityOrder()
{
    QFETCH(QList<int>, priorities);
    QFETCH(QStringList, order);
    QByteArray bytes = RecipeHead("Drink", 0, "", 0, 0, priorities.size());
    for (int i = 0; i < priorities.size(); ++i)
        bytes += Line(QByteArray(1, char('A' + i)), 1, priorities[i]);
    Recipe recipe;
    QVERIFY(Loaded(recipe, bytes));
    QStringList names;
    for (const auto& line : recipe.RecipeIngredients)
        names << line->Name;
    QCOMPARE(names, order);
}

void TestRecords::recipeSavesLoadedLinesInPriorityOrder()
{
    const QByteArray head = RecipeHead("Sour", 7, "Rocks", 1, 4, 3) + "Mix.";
    Recipe recipe;
    QVERIFY(
        Loaded(recipe, head + Line("Lemon", 16, 3) + Line("Whiskey", 32, 1) + Line("Sugar", 8, 2)));
    QCOMPARE(recipe.Category, quint8(7));
    QCOMPARE(Saved(recipe),
             head + Line("Whiskey", 32, 1) + Line("Sugar", 8, 2) + Line("Lemon", 16, 3));
}

void TestRecords::recipeLineWithAmountOutsideByteFailsButOthersAreWritten()
{
    Recipe recipe;
    recipe.Name = "R";
    for (double amount : {256.0, -1.0, 255.0}) {
        auto line = std::make_shared<RecipeIngredient>();
        line->Name = QString::number(amount);
        line->Amount = amount;
        line->ThisKey = NewKey();
        QVERIFY(recipe.RecipeIngredients.Add(line->ThisKey, line));
    }
    bool ok = true;
    const QByteArray bytes = Saved(recipe, &ok);
    QVERIFY(!ok);
    QCOMPARE(bytes, RecipeHead("R", 0, "", 0, 0, 3) + Line("255", 255, 0));
}

void TestRecords::recipeLinesGetFreshKeysOnEveryLoad()
{
    const QByteArray bytes = RecipeHead("R", 0, "", 0, 0, 2) + Line("A", 1, 0) + Line("B", 2, 0);
    Recipe first, second;
    QVERIFY(Loaded(first, bytes));
    QVERIFY(Loaded(second, bytes));
    const QSet<QString> keys{first.RecipeIngredients.KeyAt(1), first.RecipeIngredients.KeyAt(2),
                             second.RecipeIngredients.KeyAt(1), second.RecipeIngredients.KeyAt(2)};
    QCOMPARE(keys.size(), 4);
    QCOMPARE(first.RecipeIngredients.Item(2)->ThisKey, first.RecipeIngredients.KeyAt(2));
}

void TestRecords::totalOuncesCountsOnlyOunceMeasuredIngredients()
{
    KeyedCollection<Ingredient> ingredients;
    auto gin = std::make_shared<Ingredient>();
    gin->SetName("Gin");
    gin->SetOunces(true);
    auto mint = std::make_shared<Ingredient>();
    mint->SetName("Mint");
    QVERIFY(ingredients.Add("Gin", gin));
    QVERIFY(ingredients.Add("Mint", mint));

    Recipe recipe;
    QVERIFY(Loaded(recipe, RecipeHead("R", 0, "", 0, 0, 3) + Line("gin", 24, 0) +
                               Line("Mint", 65, 1) + Line("Gone", 16, 2)));
    QCOMPARE(recipe.TotalOunces(ingredients), 24.0);
}

void TestRecords::helpTopicReadsTitleAndText()
{
    const QByteArray bytes =
        Field("Contents") + Int32(0) + Field("  Glasses") + Int32(6) + "Choose" + "rest";
    HelpTopic first, second;
    qint64 end = 0;
    QVERIFY(Loaded(first, bytes, 0, &end));
    QCOMPARE(end, 54);
    QCOMPARE(first.Name, QString("Contents"));
    QCOMPARE(first.Data, QString());
    QVERIFY(Loaded(second, bytes, end, &end));
    QCOMPARE(end, 114);
    QCOMPARE(second.Name, QString("Glasses"));
    QCOMPARE(second.Data, QString("Choose"));
}

void TestRecords::imageSkipsItsDataBlock()
{
    Image image;
    image.Name = "Logo";
    image.Left = -1;
    image.Top = 2;
    image.Width = 300;
    image.Height = 400;
    image.IsCursor = true;
    image.TransColor = 77; // not part of the record
    QCOMPARE(Saved(image), ImageRecord(0, "Logo", 0).left(67) + Byte(1) + Byte(0) + Int32(0));

    // An entry in use ten bytes into the file: read, its start remembered, its data skipped.
    const QByteArray inUse = ImageRecord(0, "  Logo  ", 5);
    Image loaded;
    qint64 end = 0;
    QVERIFY(Loaded(loaded, Bytes(10, 'z') + inUse + "12345" + "next", 10, &end));
    QCOMPARE(end, 88);
    QCOMPARE(loaded.DataPos(), 11);
    QCOMPARE(loaded.DataSize(), 5);
    QCOMPARE(loaded.Name, QString("Logo"));
    QCOMPARE(QList<int>({loaded.Left, loaded.Top, loaded.Width, loaded.Height}),
             QList<int>({-1, 2, 300, 400}));
    QCOMPARE(loaded.IsCursor, true);
    QCOMPARE(loaded.IsTransparent, false); // byte 2
    QCOMPARE(Saved(loaded), ImageRecord(0, "Logo", 5).left(68) + Byte(0) + Int32(5));

    // A deleted entry fails but still leaves the file at the next record.
    Image deleted;
    QVERIFY(!Loaded(deleted, ImageRecord(1, "Old", 100) + Bytes(100, 'd') + "next", 0, &end));
    QCOMPARE(end, 173);
    QCOMPARE(deleted.Deleted, quint8(0));
}

void TestRecords::damagedRecordsFailToLoad_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray line = Line("L", 1, 1);
    const QByteArray image = ImageRecord(0, "I", 0).left(69);
    QTest::newRow("glass cut short") << "glass" << GlassFixed(0).left(404);
    QTest::newRow("glass negative length") << "glass" << GlassFixed(-1) + "text";
    QTest::newRow("glass huge length") << "glass" << GlassFixed(Huge) + "text";
    QTest::newRow("glass text cut short") << "glass" << GlassFixed(10) + "short";
    QTest::newRow("ingredient cut short") << "ingredient" << IngredientFixed(0).left(411);
    QTest::newRow("ingredient huge length") << "ingredient" << IngredientFixed(Huge) + "x";
    QTest::newRow("ingredient text cut short") << "ingredient" << IngredientFixed(6) + "abc";
    QTest::newRow("recipe head cut short") << "recipe" << RecipeHead("R", 0, "", 0, 0, 0).left(109);
    QTest::newRow("recipe negative instructions") << "recipe" << RecipeHead("R", 0, "", 0, -1, 0);
    QTest::newRow("recipe huge instructions")
        << "recipe" << RecipeHead("R", 0, "", 0, Huge, 0) + "x";
    QTest::newRow("recipe negative line count") << "recipe" << RecipeHead("R", 0, "", 0, 0, -1);
    QTest::newRow("recipe huge line count")
        << "recipe" << RecipeHead("R", 0, "", 0, 0, Huge) + line;
    QTest::newRow("recipe line cut short")
        << "recipe" << RecipeHead("R", 0, "", 0, 0, 2) + line + line.left(51);
    QTest::newRow("help topic negative length") << "help" << Field("T") + Int32(-5);
    QTest::newRow("help topic huge length") << "help" << Field("T") + Int32(Huge) + "x";
    QTest::newRow("image cut short") << "image" << ImageRecord(0, "I", 0).left(72);
    QTest::newRow("image negative data size") << "image" << image + Int32(-1) + "data";
    QTest::newRow("image data cut short") << "image" << image + Int32(10) + "data";
}

void TestRecords::damagedRecordsFailToLoad()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    Glass glass;
    Ingredient ingredient;
    Recipe recipe;
    HelpTopic topic;
    Image image;
    const bool loaded = kind == "glass"        ? Loaded(glass, bytes)
                        : kind == "ingredient" ? Loaded(ingredient, bytes)
                        : kind == "recipe"     ? Loaded(recipe, bytes)
                        : kind == "help"       ? Loaded(topic, bytes)
                                               : Loaded(image, bytes);
    QVERIFY(!loaded);
}

void TestRecords::textUsesWindows1252()
{
    QCOMPARE(AnsiText::Encode(QString::fromUtf8("é€")), QByteArray("\xE9\x80"));
    QCOMPARE(AnsiText::Encode(QString::fromUtf8("a→b😀c")), QByteArray("a?b?c"));
    QCOMPARE(AnsiText::Decode(QByteArray("\x80\x9F\xE9")), QString::fromUtf8("€Ÿé"));

    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    QCOMPARE(AnsiText::Decode(all).size(), 256);
    QCOMPARE(AnsiText::Encode(AnsiText::Decode(all)), all);

    // A stored length counts the bytes written, whatever the text held.
    Glass glass;
    glass.DisplayText = QString::fromUtf8("😀 €");
    QCOMPARE(Saved(glass).mid(401), Int32(3) + "? \x80");
    Ingredient ingredient;
    ingredient.SetDisplayText(glass.DisplayText);
    QCOMPARE(Saved(ingredient).mid(408), Int32(3) + "? \x80");
    Recipe recipe;
    recipe.Instructions = glass.DisplayText;
    QCOMPARE(Saved(recipe).mid(102), Int32(3) + Int32(0) + "? \x80");
    Glass loaded;
    QVERIFY(Loaded(loaded, GlassFixed(2) + "\xE9\x80"));
    QCOMPARE(loaded.DisplayText, QString::fromUtf8("é€"));
}

void TestRecords::keyedCollectionKeepsOrderAndKeys()
{
    KeyedCollection<QString> collection;
    auto item = [](const char* text) { return std::make_shared<QString>(text); };
    QVERIFY(collection.Add("Gin", item("gin")));
    QVERIFY(collection.Add("Rum", item("rum")));
    QVERIFY(collection.Add("Tequila", item("tequila")));
    QVERIFY(collection.Add("Vodka", item("vodka")));

    QVERIFY(!collection.Add("RUM", item("other")));
    QVERIFY(!collection.Add("", item("empty")));
    QCOMPARE(collection.Count(), 4);
    QCOMPARE(*collection.Item("rUm"), QString("rum"));
    QCOMPARE(*collection.Item(1), QString("gin"));
    QVERIFY(!collection.Item(0) && !collection.Item(5) && !collection.Item("Whisky"));

    QCOMPARE(*collection.Remove("RUM"), QString("rum"));
    QCOMPARE(*collection.Remove(2), QString("tequila"));
    QVERIFY(!collection.Remove("Rum") && !collection.Remove(3));
    QCOMPARE(collection.KeyAt(2), QString("Vodka"));
    QVERIFY(collection.Add("Rum", item("rum again")));
    QStringList order;
    for (const auto& entry : collection)
        order << *entry;
    QCOMPARE(order, QStringList({"gin", "vodka", "rum again"}));

    // One record under two keys: removing one key leaves the other entry in place.
    KeyedCollection<QString> twice;
    const auto shared = item("shared");
    QVERIFY(twice.Add("First", shared));
    QVERIFY(twice.Add("Second", shared));
    QVERIFY(twice.Remove("Second"));
    QCOMPARE(twice.KeyAt(1), QString("First"));
}

void TestRecords::newKeysAreFreshAndShaped()
{
    const QString first = NewKey();
    const QString second = NewKey();
    QVERIFY(first != second);
    for (const QString& key : {first, second}) {
        QCOMPARE(key.size(), 17);
        QVERIFY(key.startsWith('K'));
    }
}

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
