// The vocabulary of drink amounts: named bar measures, two odd fractions of an ounce, and
// otherwise quantities in sixteenths of an ounce.
#pragma once

#include <QString>

namespace modGeneralAmounts {

// The text of amount code `code`; `isNamedMeasure` tells whether it is a named measure such as
// "Splash" (false for the fractions "1/3" and "1/5" and for plain sixteenths).
QString AmountName(qint32 code, bool& isNamedMeasure);

// The display text of an amount code: a named measure as it is, anything else followed by " oz".
QString AmountText(quint8 code);

// `sixteenths` of an ounce as a whole number and a reduced fraction, without a unit.
QString FormatOunces(qint32 sixteenths);

} // namespace modGeneralAmounts
