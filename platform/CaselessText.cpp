#include "CaselessText.h"

namespace platform {

size_t CaselessHash(QStringView text)
{
    // FNV-1a over the folded characters, then mixed, since hash tables use the low bits.
    quint64 value = 14695981039346656037ULL;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t character = FoldedUnit(text[i]);
        if (QChar::isHighSurrogate(character) && i + 1 < text.size() &&
            text[i + 1].isLowSurrogate()) {
            character = QChar::toCaseFolded(QChar::surrogateToUcs4(text[i], text[i + 1]));
            ++i;
        }
        value = (value ^ character) * 1099511628211ULL;
    }
    value ^= value >> 33;
    value *= 0xFF51AFD7ED558CCDULL;
    return size_t(value ^ (value >> 33));
}

} // namespace platform
