#include "AnsiText.h"

#include <QChar>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Characters of bytes 0x80..0x9F; the undefined bytes map to the C1 control of the same value.
const char16_t HighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Outside 0x80..0x9F the code page is Latin-1: byte and character have the same value.
bool IsHighControl(unsigned value)
{
    return value >= 0x80 && value < 0xA0;
}

// The byte of a character outside Latin-1, or '?' when the code page cannot hold it.
char EncodeOther(char16_t c)
{
    for (int i = 0; i < 32; ++i)
        if (HighControlRange[i] == c)
            return char(0x80 + i);
    return '?';
}

// True when any of the `size` bytes at `data` lies in 0x80..0x9F.
bool AnyHighControl(const char* data, qsizetype size)
{
    if (size >= 8) {
        // Eight bytes at a time, the last eight overlapping the ones before when need be: bit 7
        // of a byte stays set when bits 6 and 5 are clear.
        for (qsizetype i = 0;; i += 8) {
            i = qMin(i, size - 8);
            quint64 bytes;
            std::memcpy(&bytes, data + i, 8);
            if (bytes & ~(bytes << 1) & ~(bytes << 2) & 0x8080808080808080)
                return true;
            if (i == size - 8)
                return false;
        }
    }
    for (qsizetype i = 0; i < size; ++i)
        if (IsHighControl(static_cast<unsigned char>(data[i])))
            return true;
    return false;
}

// Copies the first `count` characters of `src` as bytes into `out`. True when every one of them
// was a character the code page holds at its own value; otherwise `out` holds rubbish.
bool CopyLatin1(const QChar* src, qsizetype count, char* out)
{
#if defined(__SSE2__)
    if (count >= 8) {
        // Eight characters at a time, the last eight overlapping the ones before when need be.
        const __m128i highControl = _mm_set1_epi16(0x80 >> 5);
        for (qsizetype i = 0;; i += 8) {
            i = qMin(i, count - 8);
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            const __m128i latin1 = _mm_cmpeq_epi16(_mm_srli_epi16(units, 8), _mm_setzero_si128());
            const __m128i control = _mm_cmpeq_epi16(_mm_srli_epi16(units, 5), highControl);
            if (_mm_movemask_epi8(_mm_andnot_si128(control, latin1)) != 0xFFFF)
                return false;
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(units, units));
            if (i == count - 8)
                return true;
        }
    }
#endif
    bool allLatin1 = true;
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t c = src[i].unicode();
        out[i] = char(c);
        allLatin1 &= (c < 0x80) | (c >= 0xA0 && c <= 0xFF);
    }
    return allLatin1;
}

// Encodes `text` into `out`, stopping after `limit` bytes; returns the number of bytes written.
// A surrogate pair is one character (and one '?'), and so is a lone surrogate.
qsizetype EncodeUpTo(const QString& text, char* out, qsizetype limit)
{
    const QChar* src = text.constData();
    const qsizetype size = text.size();
    if (CopyLatin1(src, qMin(size, limit), out))
        return qMin(size, limit);
    qsizetype written = 0;
    for (qsizetype i = 0; i < size && written < limit; ++i) {
        const char16_t c = src[i].unicode();
        if (c <= 0xFF && !IsHighControl(c)) {
            out[written++] = char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < size && src[i + 1].isLowSurrogate())
            ++i;
        out[written++] = EncodeOther(c);
    }
    return written;
}

} // namespace

namespace AnsiText {

QByteArray Encode(const QString& text)
{
    // Never more bytes than UTF-16 units.
    QByteArray out(text.size(), Qt::Uninitialized);
    out.truncate(EncodeInto(text, out.data()));
    return out;
}

bool CanHold(const QString& text)
{
    // Most texts are Latin-1 outside 0x80..0x9F, which a loop the compiler vectorises tells.
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype size = text.size();
    unsigned outside = 0;
    for (qsizetype i = 0; i < size; ++i)
        outside |= unsigned(units[i] >> 8) | unsigned(char16_t(units[i] - 0x80) < 0x20);
    return outside == 0 || std::all_of(units, units + size, [](char16_t u) {
               return u < 0x80 || (u >= 0xA0 && u <= 0xFF) || EncodeOther(u) != '?';
           });
}

qsizetype EncodeInto(const QString& text, char* out)
{
    return EncodeUpTo(text, out, text.size());
}

QString Decode(const char* data, int size)
{
    if (!AnyHighControl(data, size))
        return QString::fromLatin1(data, size);
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (int i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        dst[i] = IsHighControl(byte) ? QChar(HighControlRange[byte - 0x80]) : QChar(byte);
    }
    return out;
}

void PutFixedField(char* field, const QString& value)
{
    const qsizetype written = EncodeUpTo(value, field, FixedFieldSize);
    std::memset(field + written, ' ', size_t(FixedFieldSize - written));
}

QByteArray FixedField(const QString& value)
{
    QByteArray field(FixedFieldSize, Qt::Uninitialized);
    PutFixedField(field.data(), value);
    return field;
}

QString TrimSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace AnsiText
