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
    // Whole ounces, fractions reduced as far as they go, and both together.
    rows("FormatOunces", false,
         {{0, "0"}, {1, "1/16"}, {8, "1/2"}, {16, "1"}, {20, "1 1/4"}, {255, "15 15/16"}});
    // A named measure stands alone; any other amount is in ounces, its own name or computed.
    rows("AmountText", false,
         {{0, "0 oz"}, {6, "Dash"}, {3, "1/5 oz"}, {9, "9/16 oz"}, {65, "Fill"}, {66, "4 1/8 oz"}});
    rows("AmountName", true, {{1, "3-4 Drops"}, {22, "Half Fill"}, {55, "3/4 Fill"}});
    rows("AmountName", false, {{3, "1/5"}, {5, "1/3"}, {64, "4"}, {300, "18 3/4"}});
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
