// The amount vocabulary: codes, their texts and the formatting of sixteenths of an ounce.
#include "records/modGeneralAmounts.h"

#include <QTest>

#include <tuple>

using namespace modGeneralAmounts;

class TestAmounts : public QObject {
    Q_OBJECT

private slots:
    void amountTexts()
    {
        using Texts = QList<QPair<int, QString>>;
        // Whole ounces, fractions reduced as far as they go, and both together.
        for (const auto& [value, text] :
             Texts{{0, "0"}, {1, "1/16"}, {8, "1/2"}, {16, "1"}, {20, "1 1/4"}, {255, "15 15/16"}})
            QCOMPARE(FormatOunces(value), text);
        // A named measure stands alone; any other amount is in ounces, its own name or computed.
        const Texts texts = {
            {0, "0 oz"}, {6, "Dash"}, {3, "1/5 oz"}, {9, "9/16 oz"}, {65, "Fill"}, {66, "4 1/8 oz"},
        };
        for (const auto& [value, text] : texts)
            QCOMPARE(AmountText(quint8(value)), text);
        // The flag starts the other way, so that a routine that leaves it alone fails.
        const QList<std::tuple<int, QString, bool>> names = {
            {1, "3-4 Drops", true}, {22, "Half Fill", true}, {55, "3/4 Fill", true},
            {3, "1/5", false},      {5, "1/3", false},       {64, "4", false},
            {300, "18 3/4", false},
        };
        for (const auto& [value, text, named] : names) {
            bool flag = !named;
            QCOMPARE(AmountName(value, flag), text);
            QCOMPARE(flag, named);
        }
    }
};

QTEST_GUILESS_MAIN(TestAmounts)
#include "test_amounts.moc"
