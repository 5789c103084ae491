// Texts compared without regard to letter case, as QString::compare with Qt::CaseInsensitive
// compares them: a unit folded so, and a hash that agrees with such a comparison, both made
// without a folded copy of the text.
#pragma once

#include <QChar>
#include <QStringView>

namespace platform {

inline char16_t FoldedUnit(QChar c)
{
    const char16_t unit = c.unicode();
    if (unit < 128)
        return unit >= 'A' && unit <= 'Z' ? char16_t(unit + 32) : unit;
    return c.toCaseFolded().unicode();
}

size_t CaselessHash(QStringView text);

} // namespace platform
