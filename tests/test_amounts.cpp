// The amount vocabulary: codes, their texts and the formatting of sixteenths of an ounce.
#include "records/modGeneralAmounts.h"

#include <QTest>

using namespace modGeneralAmounts;

class TestAmounts : public QObject {
    Q_OBJECT

private slots:
    void amountTexts_data();
    void amountTexts();
};

void TestAmounts::amountTexts_data()
{
    // `routine` names what is called with `value`; `named` is AmountName's flag.
    QTest::addColumn<QString>("routine");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("named");
    using Texts = QList<QPair<int, const char*>>;
    const auto rows = [](const char* routine, bool named, const Texts& texts) {
        for (const auto& [value, text] : texts)
            QTest::addRow("%s %d", routine, value) << routine << value << text << named;
    };
    const Texts ounces = {{0, "0"},  {1, "1/16"},   {2, "1/8"},    {8, "1/2"}, {12, "3/4"},
                          {16, "1"}, {20, "1 1/4"}, {40, "2 1/2"}, {48, "3"},  {255, "15 15/16"}};
    rows("FormatOunces", false, ounces);
    const Texts amounts = {{0, "0 oz"},       {1, "3-4 Drops"}, {2, "6-8 Drops"}, {3, "1/5 oz"},
                           {4, "1/4 oz"},     {5, "1/3 oz"},    {6, "Dash"},      {7, "Splash"},
                           {8, "1/2 oz"},     {9, "9/16 oz"},   {14, "1/4 Fill"}, {15, "15/16 oz"},
                           {16, "1 oz"},      {17, "Top"},      {18, "1 1/8 oz"}, {22, "Half Fill"},
                           {23, "1 7/16 oz"}, {24, "1 1/2 oz"}, {65, "Fill"},     {66, "4 1/8 oz"}};
    rows("AmountText", false, amounts);
    const Texts named = {{1, "3-4 Drops"}, {2, "6-8 Drops"}, {6, "Dash"},      {7, "Splash"},
                         {14, "1/4 Fill"}, {17, "Top"},      {21, "1/3 Fill"}, {22, "Half Fill"},
                         {35, "2/3 Fill"}, {55, "3/4 Fill"}, {65, "Fill"}};
    rows("AmountName", true, named);
    const Texts unnamed = {{0, "0"},   {3, "1/5"}, {4, "1/4"},
                           {5, "1/3"}, {64, "4"},  {300, "18 3/4"}};
    rows("AmountName", false, unnamed);
}

void TestAmounts::amountTexts()
{
    QFETCH(QString, routine);
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(bool, named);

    if (routine == "FormatOunces") {
        QCOMPARE(FormatOunces(value), text);
    } else if (routine == "AmountText") {
        QCOMPARE(AmountText(quint8(value)), text);
    } else {
        bool flag = !named;
        QCOMPARE(AmountName(value, flag), text);
        QCOMPARE(flag, named);
    }
}

QTEST_GUILESS_MAIN(TestAmounts)
#include "test_amounts.moc"
