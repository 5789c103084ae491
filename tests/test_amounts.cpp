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

    const QList<QPair<int, const char*>> ounces = {
        {0, "0"},  {1, "1/16"},   {2, "1/8"},    {8, "1/2"}, {12, "3/4"},
        {16, "1"}, {20, "1 1/4"}, {40, "2 1/2"}, {48, "3"},  {255, "15 15/16"}};
    for (const auto& [n, text] : ounces)
        QTest::addRow("FormatOunces %d", n) << "FormatOunces" << n << text << false;

    const QList<QPair<int, const char*>> amounts = {
        {0, "0 oz"},       {1, "3-4 Drops"}, {2, "6-8 Drops"}, {3, "1/5 oz"},   {4, "1/4 oz"},
        {5, "1/3 oz"},     {6, "Dash"},      {7, "Splash"},    {8, "1/2 oz"},   {9, "9/16 oz"},
        {14, "1/4 Fill"},  {15, "15/16 oz"}, {16, "1 oz"},     {17, "Top"},     {18, "1 1/8 oz"},
        {23, "1 7/16 oz"}, {24, "1 1/2 oz"}, {65, "Fill"},     {66, "4 1/8 oz"}};
    for (const auto& [code, text] : amounts)
        QTest::addRow("AmountText %d", code) << "AmountText" << code << text << false;

    const QList<QPair<int, const char*>> named = {
        {1, "3-4 Drops"}, {2, "6-8 Drops"}, {6, "Dash"},      {7, "Splash"},
        {14, "1/4 Fill"}, {17, "Top"},      {21, "1/3 Fill"}, {22, "Half Fill"},
        {35, "2/3 Fill"}, {55, "3/4 Fill"}, {65, "Fill"}};
    for (const auto& [code, text] : named)
        QTest::addRow("AmountName %d", code) << "AmountName" << code << text << true;
    const QList<QPair<int, const char*>> unnamed = {{0, "0"},   {3, "1/5"}, {4, "1/4"},
                                                    {5, "1/3"}, {64, "4"},  {300, "18 3/4"}};
    for (const auto& [code, text] : unnamed)
        QTest::addRow("AmountName %d", code) << "AmountName" << code << text << false;

    QTest::newRow("amount list 22") << "AmountList" << 22 << "Half Fill" << false;
    QTest::newRow("amount list 23") << "AmountList" << 23 << "1 7/16 oz" << false;
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
    } else if (routine == "AmountName") {
        bool flag = !named;
        QCOMPARE(AmountName(value, flag), text);
        QCOMPARE(flag, named);
    } else {
        // The recipe editor's list: "(NONE)", then the codes 1 to 255, so position = code.
        QStringList list{"(NONE)"};
        for (int code = 1; code <= 255; ++code)
            list << AmountText(quint8(code));
        QCOMPARE(list.size(), 256);
        QCOMPARE(list.at(value), text);
    }
}

QTEST_GUILESS_MAIN(TestAmounts)
#include "test_amounts.moc"
