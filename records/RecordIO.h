// Reading and writing the little-endian fields of the database files on an open device.
// Every routine reports failure by its result; none throws.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace RecordIO {

// Bytes left between the current position and the end of the device.
qint64 Remaining(const QIODevice& file);

// Reads exactly `size` bytes into `out`. Fails without allocating when fewer bytes remain.
bool ReadBytes(QIODevice& file, qint64 size, QByteArray& out);
// Reads exactly `size` bytes into `out`, a buffer of at least that size.
bool ReadExact(QIODevice& file, char* out, qint64 size);

// Writes all of `data`; false on any shortfall.
bool WriteBytes(QIODevice& file, const char* data, qint64 size);
inline bool WriteBytes(QIODevice& file, const QByteArray& data)
{
    return WriteBytes(file, data.constData(), data.size());
}

qint32 Int32At(const char* bytes, int offset);
inline qint32 Int32At(const QByteArray& bytes, int offset)
{
    return Int32At(bytes.constData(), offset);
}
void PutInt32(char* bytes, int offset, qint32 value);
inline void PutInt32(QByteArray& bytes, int offset, qint32 value)
{
    PutInt32(bytes.data(), offset, value);
}
QByteArray Int32Bytes(qint32 value);

// A text field of the fixed part, trimmed of spaces.
QString FixedTextAt(const char* bytes, int offset);
inline QString FixedTextAt(const QByteArray& bytes, int offset)
{
    return FixedTextAt(bytes.constData(), offset);
}

// Reads a text of `length` bytes that follows a length field. A negative length, or one
// longer than what remains of the file, fails.
bool ReadText(QIODevice& file, qint32 length, QString& out);

} // namespace RecordIO
