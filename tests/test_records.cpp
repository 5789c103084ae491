// The record classes against hand-written file bytes, in both directions. Help topics, and the
// records built field by field, are written byte for byte in the companion tool's import test.
#include "TestSupport.h"

#include "records/AnsiText.h"
#include "records/Glass.h"
#include "records/Image.h"
#include "records/Ingredient.h"
#include "records/KeyedCollection.h"
#include "records/NewKey.h"
#include "records/Recipe.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <numeric>

using namespace TestSupport;

namespace {

QByteArray ImageRecord(int deleted, const QByteArray& name, qint32 dataSize)
{
    return Byte(deleted) + Field(name) + Int32(-1) + Int32(2) + Int32(300) + Int32(400) + Byte(1) +
           Byte(2) + Int32(dataSize);
}

// Everything a record writes into an empty buffer; `ok` is cleared when the save fails.
template <typename Record> QByteArray Saved(const Record& record, bool* ok = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!record.SaveToFile(buffer) && ok)
        *ok = false;
    return buffer.data();
}

// Whether a load succeeded, and where it left the file.
using LoadResult = std::pair<bool, qint64>;

// Loads `record` from `bytes`, starting at `start`.
template <typename Record>
LoadResult Load(Record& record, const QByteArray& bytes, qint64 start = 0)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(start);
    const bool result = record.LoadFromFile(buffer);
    return {result, buffer.pos()};
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
        QCOMPARE(Load(loaded, record + "next"), LoadResult(true, 409));
        QCOMPARE(QVariantList({loaded.Name, loaded.Cursor, loaded.OpacityMap, loaded.Shadow,
                               loaded.Highlight, loaded.Zoom, loaded.Animation, loaded.HelpTopic,
                               loaded.HotSpotID, loaded.DisplayText}),
                 QVariantList({"Name", "Cursor", "Opacity", "Shadow", "Highlight", "Zoom",
                               "Animation", "Help\t", 255, "Text"}));

        // Every field is written back at its offset, names cut at 50 characters; an empty text
        // has length 0 and no bytes, both ways.
        loaded.Name = QString("0123456789").repeated(6);
        loaded.DisplayText.clear();
        const QByteArray cut = Field(QByteArray("0123456789").repeated(5)) + Field("Cursor") +
                               record.mid(100, 301) + Int32(0);
        QCOMPARE(Saved(loaded), cut);
        loaded.DisplayText = "old";
        QCOMPARE(Load(loaded, cut), LoadResult(true, 405));
        QCOMPARE(loaded.Name + loaded.DisplayText, QString("0123456789").repeated(5));
    }

    void ingredientWritesAndReadsItsRecord()
    {
        const QByteArray record = Field("  Lime Juice  ") + Byte(1) + Byte(2) + Int32(-123456) +
                                  Byte(200) + Field("Juices") + Field("Shadow") +
                                  Field("Highlight") + Field("Cursor") + Field("Zoom") +
                                  Field("Animation") + Field("Help") + Byte(9) + Int32(5) + "Fresh";
        Ingredient ingredient;
        QCOMPARE(Load(ingredient, record + "next"), LoadResult(true, 417));
        // Only the Action byte 1 means true.
        QCOMPARE(QVariantList({ingredient.Name(), ingredient.Ounces(), ingredient.Action(),
                               ingredient.Color(), ingredient.Opacity(), ingredient.ParentItem(),
                               ingredient.Shadow(), ingredient.Highlight(), ingredient.Cursor(),
                               ingredient.Zoom(), ingredient.Animation(), ingredient.HelpTopic(),
                               ingredient.HotSpotID(), ingredient.DisplayText()}),
                 QVariantList({"Lime Juice", true, false, -123456, 200, "Juices", "Shadow",
                               "Highlight", "Cursor", "Zoom", "Animation", "Help", 9, "Fresh"}));
        // The record is written back exactly as read, the Action byte 2 included.
        QCOMPARE(Saved(ingredient), record);
        ingredient.SetName(QString("abcdefghij").repeated(6));
        QCOMPARE(ingredient.Name(), QString("abcdefghij").repeated(5));

        // A record without display text leaves the text the object had, and is written back
        // without it. An asset field never assigned holds zero bytes, and code 0 is not trimmed
        // like a space.
        QVERIFY(Load(ingredient, IngredientRecord("Vodka", "Spirits")).first);
        QCOMPARE(ingredient.DisplayText(), QString("Fresh"));
        QCOMPARE(Saved(ingredient), IngredientRecord("Vodka", "Spirits"));
        QCOMPARE(ingredient.Zoom(), QString(50, QChar(0)));
        QCOMPARE(Saved(Ingredient()), Bytes(412, '\0'));
    }

    // Instructions longer than the buffers a record is usually read and written through, and
    // every head field read, the category 0 included.
    void recipeWritesAndReadsItsRecordAndStopsWhereADamagedOneEnds()
    {
        Recipe recipe;
        recipe.Name = QString("0123456789").repeated(6);
        recipe.Glass = "Coupe";
        recipe.Level = 2;
        recipe.Instructions = QString("Shake hard, strain, twíst. ").repeated(200);
        const QByteArray expected =
            RecipeRecord(QByteArray("0123456789").repeated(5), "Coupe",
                         QByteArray("Shake hard, strain, tw\xEDst. ").repeated(200), {}, 2);
        QCOMPARE(Saved(recipe), expected);

        const QByteArray head = expected.left(106) + Int32(3) + expected.mid(110);
        const QByteArray withLines =
            head + Line("Gin", 32, 0) + Line("Lime", 8, 1) + Line("Mint", 255, 2);
        Recipe loaded;
        loaded.Category = 1;
        QCOMPARE(Load(loaded, withLines + "next"), LoadResult(true, withLines.size()));
        QCOMPARE(loaded.Instructions, recipe.Instructions);
        QCOMPARE(Saved(loaded), withLines);

        // Lines whose amount does not fit a byte fail the save; the head still announces all
        // three lines, and the one that fits follows.
        loaded.RecipeIngredients().Item(1)->Amount = 256;
        loaded.RecipeIngredients().Item(2)->Amount = -1;
        bool ok = true;
        QCOMPARE(Saved(loaded, &ok), head + Line("Mint", 255, 2));
        QVERIFY(!ok);

        // A damaged recipe fails and leaves the file where its reading stopped: after the whole
        // lines the file holds when only the line count is wrong, else after the head.
        // Text length, line count, and where the file is left: one line fewer than announced, a
        // line count beyond the file, a negative one; a negative text length, one beyond the file.
        const int damaged[][3] = {
            {5, 2, 167}, {5, 1000, 167}, {5, -1, 115}, {-1, 0, 110}, {100, 0, 110}};
        for (const auto& [textLength, lineCount, end] : damaged) {
            const QByteArray bytes = Field("R") + Byte(0) + Field("Rocks") + Byte(0) +
                                     Int32(textLength) + Int32(lineCount) + "Stir." +
                                     Line("Gin", 1, 0) + "part of a line";
            QCOMPARE(Load(loaded, bytes), LoadResult(false, end));
        }
    }

    // The lines are loaded in the order of the exchange sort by priority and written back in
    // that order. Few lines have it spelt out; long recipes take another road to the same order,
    // checked against the exchange sort done step by step for many lines of few distinct
    // priorities.
    void recipeLinesLoadAndSaveInExchangeSortOrder()
    {
        // Priorities of the lines "0", "1" ... in file order, and the order they load in.
        QList<std::pair<QList<int>, QList<int>>> cases = {
            {{3, 1, 2}, {1, 2, 0}},
            {{2, 2, 1}, {2, 1, 0}},       // equal priorities pass by a lower one
            {{9, 0, 5, 0}, {1, 3, 2, 0}}, // equal priorities alone keep file order
            {{200, 9}, {1, 0}}};          // priorities compare unsigned
        QRandomGenerator random(12345);
        for (const int count : {33, 40, 64, 100, 257, 1000})
            for (const int distinct : {2, 3, 10, 256}) {
                QList<int> priorities, order(count);
                std::iota(order.begin(), order.end(), 0);
                for (int i = 0; i < count; ++i)
                    priorities << random.bounded(distinct);
                for (int i = 0; i < count; ++i)
                    for (int j = i; j < count; ++j)
                        if (priorities[order[i]] > priorities[order[j]])
                            std::swap(order[i], order[j]);
                cases.append({priorities, order});
            }
        for (const auto& [priorities, order] : cases) {
            QList<QByteArray> fileLines, sortedLines;
            for (int i = 0; i < priorities.size(); ++i)
                fileLines << Line(QByteArray::number(i), 16 + i % 200, priorities[i]);
            QStringList expected;
            for (const int line : order) {
                sortedLines << fileLines[line];
                expected << QString::number(line);
            }
            Recipe recipe;
            QVERIFY(Load(recipe, RecipeRecord("Sour", "Rocks", "Mix.", fileLines, 1, 7)).first);
            QCOMPARE(LineNames(recipe), expected);
            QCOMPARE(Saved(recipe), RecipeRecord("Sour", "Rocks", "Mix.", sortedLines, 1, 7));
        }
    }

    // A loaded line is stored under its own key, and keys differ even when letter case is
    // ignored. A rename reaches the lines that name the ingredient exactly, letter case
    // included.
    void recipeLinesHaveFreshKeysAndFollowARename()
    {
        auto sour = std::make_shared<Recipe>();
        QVERIFY(Load(*sour, RecipeRecord("Sour", "", "",
                                         {Line(" Gin", 1, 0), Line("gin", 2, 0),
                                          Line("Ginger", 3, 0), Line("Caf\xE9", 5, 0)}))
                    .first);
        QCOMPARE(sour->RecipeIngredients().Item(1)->ThisKey, sour->RecipeIngredients().KeyAt(1));
        QSet<QString> folded;
        for (int i = 0; i < 5000; ++i)
            folded.insert(NewKey().toCaseFolded());
        QCOMPARE(folded.size(), 5000);

        KeyedCollection<Recipe> recipes;
        QVERIFY(recipes.Add(sour->Name, sour));
        Recipe::RenameIngredientLines(recipes, "Gin", "Old Tom Gin");
        Recipe::RenameIngredientLines(recipes, "Café", "Cafe");
        QCOMPARE(LineNames(*sour), QStringList({"Old Tom Gin", "gin", "Ginger", "Cafe"}));
    }

    void imageSkipsItsDataBlock()
    {
        // An entry in use ten bytes into the file: read, its start remembered, its data skipped.
        Image image;
        image.TransColor = 77; // not part of the record
        QCOMPARE(Load(image, Bytes(10, 'z') + ImageRecord(0, "  Logo  ", 5) + "12345next", 10),
                 LoadResult(true, 88));
        // The transparency byte 2 is not true.
        QCOMPARE(QVariantList({image.DataPos(), image.DataSize(), image.Name, image.Left, image.Top,
                               image.Width, image.Height, image.IsCursor, image.IsTransparent}),
                 QVariantList({11, 5, "Logo", -1, 2, 300, 400, true, false}));
        QCOMPARE(Saved(image), ImageRecord(0, "Logo", 5).left(68) + Byte(0) + Int32(5));

        // A deleted entry fails but still leaves the file at the next record.
        QCOMPARE(Load(image, ImageRecord(1, "Old", 100) + Bytes(100, 'd') + "next"),
                 LoadResult(false, 173));
        // So do a record cut short, a negative data size and a data block cut short.
        for (const QByteArray& damaged :
             {ImageRecord(0, "I", 0).left(72), ImageRecord(0, "I", -1) + "data",
              ImageRecord(0, "I", 10) + "data"})
            QVERIFY2(!Load(image, damaged).first, damaged.toHex().constData());
    }

    // Every byte decodes to its character and back; the five undefined bytes of 0x80..0x9F keep
    // their own value.
    void everyByteDecodesAndEncodesAndOtherCharactersBecomeQuestionMarks()
    {
        QByteArray bytes(256, 0);
        std::iota(bytes.begin(), bytes.end(), 0);
        const QString text = QString::fromLatin1(bytes).replace(
            0x80, 32,
            QString::fromUtf16(u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160"
                               u"\u2039\u0152\u008D\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022"
                               u"\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178"));
        QCOMPARE(AnsiText::Decode(bytes), text);
        QCOMPARE(AnsiText::Encode(text), bytes);
        QVERIFY(AnsiText::CanHold(text));

        // A character the code page lacks is one '?', a surrogate pair included, and a stored
        // length counts the bytes written.
        const QString pair = "\xF0\x9F\x98\x80"; // one character, two units
        for (const QString& lacking :
             {QString(QChar(0x80)), QString(QChar(0x9E)), QString(QChar(0x0100)),
              QString(QChar(0x2192)), QString(QChar(0xD800)), QString(QChar(0xDC00)), pair}) {
            QCOMPARE(AnsiText::Encode("ab" + lacking + "c"), QByteArray("ab?c"));
            QVERIFY(!AnsiText::CanHold("ab" + lacking));
        }
        QCOMPARE(AnsiText::FixedField(QString(10, u'x') + pair + QString(45, u'y')),
                 QByteArray(10, 'x') + '?' + QByteArray(39, 'y'));

        Glass glass;
        glass.DisplayText = pair + " €";
        Ingredient ingredient;
        ingredient.SetDisplayText(glass.DisplayText);
        Recipe recipe;
        recipe.Instructions = glass.DisplayText;
        QCOMPARE(QList<QByteArray>({Saved(glass).mid(401), Saved(ingredient).mid(408),
                                    Saved(recipe).remove(0, 102).remove(4, 4)}),
                 QList<QByteArray>(3, Int32(3) + "? \x80"));
    }

    // Positions follow the order of adding; a removal closes the gap and a key added again goes
    // to the end. Small collections search their keys, larger ones index them: both ignore
    // letter case alike, beyond ASCII too.
    void keyedCollectionKeepsOrderAndIgnoresLetterCase()
    {
        KeyedCollection<QString> collection;
        for (const QString key : {"Gin", "Rum", "Tequila", "Vodka"})
            QVERIFY(collection.Add(key, std::make_shared<QString>(key.toLower())));
        QVERIFY(!collection.Add("", std::make_shared<QString>()));
        QVERIFY(!collection.Item(0) && !collection.Item(5));
        QVERIFY(collection.Remove("Rum") && collection.Remove("Tequila"));
        QCOMPARE(collection.KeyAt(2), QString("Vodka"));
        QVERIFY(collection.Add("Rum", std::make_shared<QString>("rum again")));
        QStringList order;
        for (const auto& entry : collection)
            order << *entry;
        QCOMPARE(order, QStringList({"gin", "vodka", "rum again"}));

        // A key stored, one looked for, and whether the two are the same key.
        const QList<std::tuple<QString, QString, bool>> cases = {
            {"Lime Juice", "LIME jUICE", true},
            {"Crème", "CRÈME", true},
            {"kelvin", "\u212Aelvin", true},      // the Kelvin sign
            {"\U00010400x", "\U00010428X", true}, // beyond the basic plane
            {"Straße", "STRASSE", false}};        // sharp s is not ss
        for (const auto& [stored, looked, same] : cases)
            for (const int others : {0, 12}) {
                collection.Clear();
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
};

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
