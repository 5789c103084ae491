#include "modGeneralAmounts.h"

namespace modGeneralAmounts {

namespace {
struct NamedAmount {
    qint32 code;
    const char* text;
    bool isNamedMeasure;
};
constexpr NamedAmount NamedAmounts[] = {
    {1, "3-4 Drops", true}, {2, "6-8 Drops", true},  {3, "1/5", false},      {5, "1/3", false},
    {6, "Dash", true},      {7, "Splash", true},     {14, "1/4 Fill", true}, {17, "Top", true},
    {21, "1/3 Fill", true}, {22, "Half Fill", true}, {35, "2/3 Fill", true}, {55, "3/4 Fill", true},
    {65, "Fill", true},
};
} // namespace

QString AmountName(qint32 code, bool& isNamedMeasure)
{
    for (const NamedAmount& named : NamedAmounts) {
        if (named.code == code) {
            isNamedMeasure = named.isNamedMeasure;
            return QString::fromLatin1(named.text);
        }
    }
    isNamedMeasure = false;
    return FormatOunces(code);
}

QString AmountText(quint8 code)
{
    bool isNamedMeasure = false;
    const QString text = AmountName(code, isNamedMeasure);
    return isNamedMeasure ? text : text + QStringLiteral(" oz");
}

QString FormatOunces(qint32 sixteenths)
{
    const qint32 whole = sixteenths / 16;
    qint32 part = sixteenths - whole * 16;
    qint32 denominator = 16;
    while (part % 2 == 0 && denominator % 2 == 0) {
        part /= 2;
        denominator /= 2;
    }
    if (whole != 0 && part != 0)
        return QStringLiteral("%1 %2/%3").arg(whole).arg(part).arg(denominator);
    if (whole != 0)
        return QString::number(whole);
    if (part != 0)
        return QStringLiteral("%1/%2").arg(part).arg(denominator);
    return QStringLiteral("0");
}

} // namespace modGeneralAmounts
