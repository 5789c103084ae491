// Text as the game's files hold it: one byte per character in Windows-1252.
#pragma once

#include <QByteArray>
#include <QString>

namespace AnsiText {

// Width of every fixed text field in the database files.
constexpr int FixedFieldSize = 50;

// Encodes text one byte per character; a character Windows-1252 cannot hold becomes '?'.
QByteArray Encode(const QString& text);
// Encodes `text` into `out`, which has room for text.size() bytes; returns the bytes written
// (a surrogate pair takes one).
qsizetype EncodeInto(const QString& text, char* out);

// True when Windows-1252 holds every character of `text`, so that Encode loses nothing.
bool CanHold(const QString& text);

// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined decode to the
// control characters of the same value, so every byte survives a round trip.
QString Decode(const char* data, int size);
inline QString Decode(const QByteArray& bytes)
{
    return Decode(bytes.constData(), bytes.size());
}

// The value placed left-aligned in a field of FixedFieldSize bytes: cut at 50 characters,
// padded with spaces.
QByteArray FixedField(const QString& value);
// The same, written into the FixedFieldSize bytes at `field`.
void PutFixedField(char* field, const QString& value);

// Removes leading and trailing spaces (only the space character, not other white space).
QString TrimSpaces(const QString& text);

} // namespace AnsiText
