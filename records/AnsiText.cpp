#include "AnsiText.h"

#include <QChar>

#include <algorithm>
#include <cstring>

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

// The byte of the UTF-16 unit `c`, or '?' when the code page cannot hold it.
char EncodeUnit(char16_t c)
{
    if (c <= 0xFF && !IsHighControl(c))
        return char(c);
    for (int i = 0; i < 32; ++i)
        if (HighControlRange[i] == c)
            return char(0x80 + i);
    return '?';
}

// Encodes `text` into `out`, stopping after `limit` bytes; returns the number of bytes written.
// A surrogate pair is one character (and one '?'), and so is a lone surrogate.
qsizetype EncodeUpTo(const QString& text, char* out, qsizetype limit)
{
    qsizetype written = 0;
    for (qsizetype i = 0; i < text.size() && written < limit; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        out[written++] = EncodeUnit(c.unicode());
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
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c == u'?' || EncodeUnit(c.unicode()) != '?'; });
}

qsizetype EncodeInto(const QString& text, char* out)
{
    return EncodeUpTo(text, out, text.size());
}

QString Decode(const char* data, int size)
{
    QString out = QString::fromLatin1(data, size);
    for (QChar& c : out)
        if (IsHighControl(c.unicode()))
            c = QChar(HighControlRange[c.unicode() - 0x80]);
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
