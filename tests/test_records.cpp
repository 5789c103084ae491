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

using namespace TestSupport;

namespace {

QByteArray ImageRecord(int deleted, const QByteArray& name, qint32 dataSize)
{
    return Byte(deleted) + Field(name) + Int32(-1) + Int32(2) + Int32(300) + Int32(400) + Byte(1) +
           Byte(2) + Int32(dataSize);
}

// Everything a record writes into an empty buffer.
template <typename Record> QByteArray Saved(const Record& record)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    record.SaveToFile(buffer);
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
    void glassWritesAndReadsItsRecord()
    {
        // Each fixed field is read from its own offset, trimmed of spaces only; the file stays
        // just after the text.
        const QByteArray record = Field("Name") + Field("  Cursor  ") + Field("Opacity") +
                                  Field("Shadow") + Field("Highlight") + Field("Zoom") +
                                  Field("Animation") + Field("Help\t") + Byte(255) + Int32(4) +
                                  "Text";
        Glass loaded;
        qint64 end = 0;
        QVERIFY(Loaded(loaded, record + "next", 0, &end));
        QCOMPARE(end, 409);
        QCOMPARE(QStringList({loaded.Name, loaded.Cursor, loaded.OpacityMap, loaded.Shadow,
                              loaded.Highlight, loaded.Zoom, loaded.Animation, loaded.HelpTopic}),
                 QStringList({"Name", "Cursor", "Opacity", "Shadow", "Highlight", "Zoom",
                              "Animation", "Help\t"}));
        QCOMPARE(loaded.HotSpotID, quint8(255));
        QCOMPARE(loaded.DisplayText, QString("Text"));

        // Every field is written back at its offset, names cut at 50 characters; an empty text
        // has length 0 and no bytes, both ways.
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

    void ingredientReadsEveryFieldAtItsOffset()
    {
        const QByteArray record = Field("  Lime Juice  ") + Byte(1) + Byte(2) + Int32(-123456) +
                                  Byte(200) + Field("Juices") + Field("Shadow") +
                                  Field("Highlight") + Field("Cursor") + Field("Zoom") +
                                  Field("Animation") + Field("Help") + Byte(9) + Int32(5) + "Fresh";
        Ingredient ingredient;
        qint64 end = 0;
        QVERIFY(Loaded(ingredient, record + "next", 0, &end));
        QCOMPARE(end, 417);
        QCOMPARE(ingredient.Name(), QString("Lime Juice"));
        QCOMPARE(ingredient.Ounces(), true);
        QCOMPARE(ingredient.Action(), false); // only byte 1 means true
        QCOMPARE(ingredient.Color(), -123456);
        QCOMPARE(ingredient.Opacity(), quint8(200));
        QCOMPARE(
            QStringList({ingredient.ParentItem(), ingredient.Shadow(), ingredient.Highlight(),
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

    void ingredientKeepsNeverAssignedFieldsAsZeroBytes()
    {
        Ingredient ingredient;
        ingredient.SetName("Vodka");
        ingredient.SetParentItem("Spirits");
        ingredient.SetAction(true);
        ingredient.SetOunces(true);
        ingredient.SetColor(0x00336699);
        ingredient.SetOpacity(128);
        ingredient.SetDisplayText("Clear");
        const QByteArray expected =
            IngredientRecord("Vodka", "Spirits", {true, true, 0x00336699, 128, 0, "Clear"});
        QCOMPARE(Saved(ingredient), expected);

        Ingredient loaded;
        QVERIFY(Loaded(loaded, expected));
        QCOMPARE(loaded.Zoom(), QString(50, QChar(0))); // code 0 is not trimmed like a space

        ingredient.SetDisplayText(QString());
        QCOMPARE(Saved(ingredient), expected.left(408) + Int32(0));
        QCOMPARE(Saved(Ingredient()), Bytes(412, '\0'));

        // A record without display text read into an object that had one leaves it empty.
        QVERIFY(Loaded(loaded, expected.left(408) + Int32(0)));
        QCOMPARE(loaded.DisplayText(), QString());
        QCOMPARE(Saved(loaded), expected.left(408) + Int32(0));
    }

    void recipeWithoutLinesIsHeadAndInstructions()
    {
        Recipe recipe;
        recipe.Name = QString("0123456789").repeated(6);
        recipe.Glass = "Highball";
        recipe.Level = 2;
        recipe.Instructions = "Stir.\r\nServe.";
        const QByteArray expected = RecipeRecord(QByteArray("0123456789").repeated(5), "Highball",
                                                 "Stir.\r\nServe.", {}, 2);
        QCOMPARE(Saved(recipe), expected);

        Recipe loaded;
        loaded.Category = 1;
        qint64 end = 0;
        QVERIFY(Loaded(loaded, expected + Line("x", 1, 1), 0, &end));
        QCOMPARE(end, 123);
        QCOMPARE(Saved(loaded), expected); // every field read, the category 0 included

        // Empty instructions put nothing between the head and the lines; leading spaces go.
        recipe.Name = "  Mojito";
        recipe.Instructions.clear();
        QCOMPARE(Saved(recipe), RecipeRecord("  Mojito", "Highball", "", {}, 2));
        QVERIFY(Loaded(loaded, Saved(recipe)));
        QCOMPARE(loaded.Name, QString("Mojito"));
        QCOMPARE(loaded.Instructions, QString());
    }

    void recipeLinesLoadAndSaveInPriorityOrder_data()
    {
        QTest::addColumn<QList<int>>("priorities"); // of lines "A", "B", "C" ... in file order
        QTest::addColumn<QString>("order");
        QTest::newRow("3 1 2") << QList<int>{3, 1, 2} << "BCA";
        QTest::newRow("equal priorities pass by a lower one") << QList<int>{2, 2, 1} << "CBA";
        QTest::newRow("equal priorities alone keep file order") << QList<int>{9, 0, 5, 0} << "BDCA";
        QTest::newRow("priorities compare unsigned") << QList<int>{200, 9} << "BA";
        QTest::newRow("six lines") << QList<int>{2, 2, 1, 7, 2, 0} << "FCAEBD";
    }

    // The lines are written back in the order they were loaded in, with the rest of the record.
    void recipeLinesLoadAndSaveInPriorityOrder()
    {
        QFETCH(QList<int>, priorities);
        QFETCH(QString, order);
        QList<QByteArray> fileLines, sortedLines;
        for (int i = 0; i < priorities.size(); ++i)
            fileLines << Line(QByteArray(1, char('A' + i)), 16 + i, priorities[i]);
        for (const QChar name : order)
            sortedLines << fileLines[name.unicode() - 'A'];
        const QByteArray file = RecipeRecord("Sour", "Rocks", "Mix.", fileLines, 1, 7);
        const QByteArray saved = RecipeRecord("Sour", "Rocks", "Mix.", sortedLines, 1, 7);
        Recipe recipe;
        QVERIFY(Loaded(recipe, file));
        QCOMPARE(LineNames(recipe).join(QString()), order);
        QCOMPARE(Saved(recipe), saved);
    }

    // A rename reaches the lines that name the ingredient exactly, letter case included.
    void renamingAnIngredientRenamesTheLinesNamingIt()
    {
        KeyedCollection<Recipe> recipes;
        const auto add = [&](const QByteArray& name, const QList<QByteArray>& lines) {
            auto recipe = std::make_shared<Recipe>();
            QVERIFY(Loaded(*recipe, RecipeRecord(name, "", "", lines)));
            QVERIFY(recipes.Add(recipe->Name, recipe));
        };
        add("Sour",
            {Line(" Gin", 1, 0), Line("gin", 2, 0), Line("Ginger", 3, 0), Line("Caf\xE9", 5, 0)});
        add("Tonic", {Line("Gin", 1, 0), Line("Tonic", 2, 0)});

        Recipe::RenameIngredientLines(recipes, "Gin", "Old Tom Gin");
        Recipe::RenameIngredientLines(recipes, QString::fromUtf8("Café"), "Cafe");

        QCOMPARE(LineNames(*recipes.Item("Sour")),
                 QStringList({"Old Tom Gin", "gin", "Ginger", "Cafe"}));
        QCOMPARE(LineNames(*recipes.Item("Tonic")), QStringList({"Old Tom Gin", "Tonic"}));
        QCOMPARE(Saved(*recipes.Item("Sour")),
                 RecipeRecord("Sour", "", "",
                              {Line("Old Tom Gin", 1, 0), Line("gin", 2, 0), Line("Ginger", 3, 0),
                               Line("Cafe", 5, 0)}));
    }

    // Long recipes take another road to the same order: checked against the exchange sort done
    // step by step, for many lines of few distinct priorities.
    void longRecipesKeepTheExchangeSortOrder()
    {
        quint32 seed = 12345;
        for (const int count : {33, 40, 64, 100, 257, 1000}) {
            for (const int distinct : {2, 3, 10, 256}) {
                QList<QByteArray> fileLines;
                QList<int> priorities, order;
                for (int i = 0; i < count; ++i) {
                    seed = seed * 1103515245 + 12345;
                    priorities << int((seed >> 16) % quint32(distinct));
                    order << i;
                    fileLines << Line(QByteArray::number(i), 0, priorities.last());
                }
                for (int i = 0; i < count; ++i)
                    for (int j = i; j < count; ++j)
                        if (priorities[order[i]] > priorities[order[j]])
                            std::swap(order[i], order[j]);
                Recipe recipe;
                QVERIFY(Loaded(recipe, RecipeRecord("Long", "", "", fileLines)));
                QStringList expected;
                for (const int line : order)
                    expected << QString::number(line);
                QCOMPARE(LineNames(recipe), expected);
            }
        }
    }

    void recipeLineWithAmountOutsideByteFailsButOthersAreWritten()
    {
        Recipe recipe;
        recipe.Name = "R";
        for (double amount : {256.0, -1.0, 255.0}) {
            auto line = std::make_shared<RecipeIngredient>();
            line->Name = QString::number(amount);
            line->Amount = amount;
            line->ThisKey = NewKey();
            QVERIFY(recipe.RecipeIngredients().Add(line->ThisKey, line));
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(!recipe.SaveToFile(buffer));
        // The head announces all three lines; only the one that fits a byte follows.
        QCOMPARE(buffer.data(),
                 RecipeRecord("R", "", "", {}).left(106) + Int32(3) + Line("255", 255, 0));

        // A line on its own reads and writes the same 52 bytes, trimmed and with a fresh key.
        RecipeIngredient line;
        QVERIFY(Loaded(line, Line("  Lime", 22, 9)));
        QCOMPARE(line.Name, QString("Lime"));
        QVERIFY(!line.ThisKey.isEmpty());
        QCOMPARE(Saved(line), Line("Lime", 22, 9));
        line.Amount = 256;
        QBuffer refused;
        refused.open(QIODevice::WriteOnly);
        QVERIFY(!line.SaveToFile(refused));
    }

    void loadedRecipeLinesGetFreshWellFormedKeys()
    {
        const QByteArray bytes = RecipeRecord("R", "", "", {Line("A", 1, 0), Line("B", 2, 0)});
        Recipe first, second;
        QVERIFY(Loaded(first, bytes));
        QVERIFY(Loaded(second, bytes));
        const QSet<QString> keys{
            first.RecipeIngredients().KeyAt(1), first.RecipeIngredients().KeyAt(2),
            second.RecipeIngredients().KeyAt(1), second.RecipeIngredients().KeyAt(2)};
        QCOMPARE(keys.size(), 4);
        for (const QString& key : keys) {
            QCOMPARE(key.size(), 17);
            QVERIFY(key.startsWith('K'));
        }
        QCOMPARE(first.RecipeIngredients().Item(2)->ThisKey, first.RecipeIngredients().KeyAt(2));
    }

    // A damaged recipe fails and leaves the file where its reading stopped: after the
    // instructions when only the line count is wrong, else after the head.
    void damagedRecipeLeavesTheFileWhereReadingStopped_data()
    {
        QTest::addColumn<int>("textLength");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("end");
        QTest::newRow("one line fewer than announced") << 5 << 2 << 115;
        QTest::newRow("negative line count") << 5 << -1 << 115;
        QTest::newRow("negative text length") << -1 << 0 << 110;
        QTest::newRow("text longer than the file") << 100 << 0 << 110;
    }

    void damagedRecipeLeavesTheFileWhereReadingStopped()
    {
        QFETCH(int, textLength);
        QFETCH(int, lineCount);
        QFETCH(int, end);
        const QByteArray bytes = Field("R") + Byte(0) + Field("Rocks") + Byte(0) +
                                 Int32(textLength) + Int32(lineCount) + "Stir." + Line("Gin", 1, 0);
        Recipe recipe;
        qint64 position = 0;
        QVERIFY(!Loaded(recipe, bytes, 0, &position));
        QCOMPARE(position, end);
    }

    // Instructions longer than the buffers a record is usually read and written through.
    void longInstructionsLoadAndSave()
    {
        const QByteArray instructions = QByteArray("Shake hard, strain tw\xED"
                                                   "ce. ")
                                            .repeated(200);
        const QByteArray bytes =
            RecipeRecord("Long", "Coupe", instructions, {Line("Gin", 32, 0), Line("Lime", 8, 1)});
        Recipe recipe;
        QVERIFY(Loaded(recipe, bytes));
        QCOMPARE(recipe.Instructions.size(), 5200);
        QCOMPARE(recipe.Instructions.right(7), QString::fromUtf8("twíce. "));
        QCOMPARE(Saved(recipe), bytes);
    }

    void helpTopicWritesAndReadsTitleAndText()
    {
        HelpTopic topic;
        topic.Name = QStringLiteral("Caf\u00e9 Keys");
        topic.Data = QStringLiteral("F2 \u2192 rename");
        QCOMPARE(Saved(topic), QByteArray("Caf\xe9 Keys") + Bytes(41, ' ') + Int32(11) +
                                   QByteArray("F2 ? rename"));

        const QByteArray bytes =
            HelpRecord("Contents", "") + HelpRecord("  Glasses", "Choose") + "rest";
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

    void imageSkipsItsDataBlock()
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
        // So do a record cut short, a negative data size and a data block cut short.
        for (const QByteArray& damaged :
             {ImageRecord(0, "I", 0).left(72), ImageRecord(0, "I", -1) + "data",
              ImageRecord(0, "I", 10) + "data"})
            QVERIFY2(!Loaded(loaded, damaged), damaged.toHex().constData());
    }

    void textUsesWindows1252()
    {
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
        QVERIFY(Loaded(loaded, GlassRecord("G", "\xE9\x80")));
        QCOMPARE(loaded.DisplayText, QString::fromUtf8("é€"));

        // What the code page holds, in texts short and long: U+0080 is not the byte 0x80 (that
        // is the euro sign), while the undefined byte 0x81 keeps its own value.
        const QString latin = QString(40, u'x') + QString::fromUtf8("é€Ÿ");
        QVERIFY(AnsiText::CanHold(latin));
        QVERIFY(AnsiText::CanHold(latin + QChar(0x81)));
        QVERIFY(!AnsiText::CanHold(latin + QChar(0x80)));
        QVERIFY(!AnsiText::CanHold(QChar(0x9E) + latin));
        QVERIFY(!AnsiText::CanHold(latin + QString::fromUtf8("→")));
    }

    // Every byte decodes to its character and back, in texts short and long enough to be
    // converted eight at a time, wherever it stands.
    void everyByteDecodesAndEncodesWhereverItStands()
    {
        // The characters of the bytes 0x80..0x9F; the five undefined ones keep their value.
        const char16_t highControlRange[32] = {
            0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
            0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
        for (int byte = 0; byte < 256; ++byte) {
            const QChar character = byte >= 0x80 && byte < 0xA0
                                        ? QChar(highControlRange[byte - 0x80])
                                        : QChar(char16_t(byte));
            for (const int size : {1, 7, 8, 9, 20}) {
                for (const int at : {0, size / 2, size - 1}) {
                    QByteArray bytes(size, 'a');
                    bytes[at] = char(byte);
                    QString text(size, u'a');
                    text[at] = character;
                    QCOMPARE(AnsiText::Decode(bytes), text);
                    QCOMPARE(AnsiText::Encode(text), bytes);
                }
            }
        }
    }

    void charactersOutsideTheCodePageBecomeQuestionMarks()
    {
        const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two units
        const QList<QPair<QString, char>> cases = {{QString(QChar(0x80)), '?'},
                                                   {QString(QChar(0x9F)), '?'},
                                                   {QString(QChar(0x8D)), '\x8D'},
                                                   {QString(QChar(0x0100)), '?'},
                                                   {QString(QChar(0x2192)), '?'},
                                                   {QString(QChar(0xFFFF)), '?'},
                                                   {QString(QChar(0xD800)), '?'},
                                                   {QString(QChar(0xDC00)), '?'},
                                                   {pair, '?'},
                                                   {QString(QChar(0x2122)), '\x99'}};
        for (const auto& [character, expected] : cases) {
            for (const int before : {0, 5, 9}) {
                for (const int after : {0, 3, 12}) {
                    const QString text = QString(before, u'b') + character + QString(after, u'c');
                    QCOMPARE(AnsiText::Encode(text),
                             QByteArray(before, 'b') + expected + QByteArray(after, 'c'));
                }
            }
        }
        // A fixed field holds 50 characters, a pair counting as one.
        QCOMPARE(AnsiText::FixedField(QString(10, u'x') + pair + QString(45, u'y')),
                 QByteArray(10, 'x') + '?' + QByteArray(39, 'y'));
        QCOMPARE(AnsiText::FixedField(QString(60, QChar(0xE9))), QByteArray(50, '\xE9'));
        QCOMPARE(AnsiText::FixedField(QString(9, QChar(0xE9))),
                 QByteArray(9, '\xE9') + QByteArray(41, ' '));
    }

    void keyedCollectionKeepsOrderAndKeys()
    {
        KeyedCollection<QString> collection;
        auto item = [](const QString& text) { return std::make_shared<QString>(text); };
        for (const QString key : {"Gin", "Rum", "Tequila", "Vodka"})
            QVERIFY(collection.Add(key, item(key.toLower())));

        QVERIFY(!collection.Add("RUM", item("other")));
        QVERIFY(!collection.Add("", item("empty")));
        QCOMPARE(collection.Count(), 4);
        QCOMPARE(*collection.Item("rUm"), QString("rum"));
        QCOMPARE(*collection.Item(1), QString("gin"));
        QVERIFY(!collection.Item(0) && !collection.Item(5) && !collection.Item("Whisky"));

        QCOMPARE(*collection.Remove("RUM"), QString("rum"));
        QCOMPARE(*collection.Remove("tequila"), QString("tequila"));
        QVERIFY(!collection.Remove("Rum"));
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

    // Small collections search their keys, larger ones index them: both ignore letter case
    // alike, beyond ASCII too.
    void keysCompareWithoutLetterCaseInSmallAndLargeCollections_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("looked");
        QTest::addColumn<bool>("same");
        QTest::newRow("ASCII") << "Lime Juice"
                               << "LIME jUICE" << true;
        QTest::newRow("Latin-1") << QString::fromUtf8("Crème") << QString::fromUtf8("CRÈME")
                                 << true;
        QTest::newRow("Kelvin sign") << "kelvin" << QString::fromUtf8("\u212Aelvin") << true;
        QTest::newRow("beyond the basic plane")
            << QString::fromUtf8("\U00010400x") << QString::fromUtf8("\U00010428X") << true;
        QTest::newRow("sharp s is not ss") << QString::fromUtf8("Straße") << "STRASSE" << false;
        QTest::newRow("trailing space") << "Gin"
                                        << "Gin " << false;
        QTest::newRow("other letter") << "Rum"
                                      << "Rom" << false;
    }

    void keysCompareWithoutLetterCaseInSmallAndLargeCollections()
    {
        QFETCH(QString, stored);
        QFETCH(QString, looked);
        QFETCH(bool, same);
        for (const int others : {0, 12}) {
            KeyedCollection<QString> collection;
            for (int i = 0; i < others; ++i)
                QVERIFY(collection.Add(QString::number(i), std::make_shared<QString>()));
            const auto item = std::make_shared<QString>(stored);
            QVERIFY(collection.Add(stored, item));
            QCOMPARE(collection.Contains(looked), same);
            QCOMPARE(collection.Item(looked) == item, same);
            QCOMPARE(collection.Add(looked, std::make_shared<QString>(looked)), !same);
            QCOMPARE(collection.Remove(looked) == item, same);
            QCOMPARE(collection.Count(), others + (same ? 0 : 1));
        }
    }

    void newKeysDifferInEveryLetterCase()
    {
        QSet<QString> folded;
        for (int i = 0; i < 5000; ++i) {
            const QString key = NewKey();
            QCOMPARE(key.size(), 17);
            folded.insert(key.toCaseFolded());
        }
        QCOMPARE(folded.size(), 5000);
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
