#include "RecordIO.h"

#include "AnsiText.h"

#include <QtEndian>

namespace RecordIO {

qint64 Remaining(const QIODevice& file)
{
    if (file.isSequential())
        return file.bytesAvailable();
    return qMax<qint64>(0, file.size() - file.pos());
}

bool ReadBytes(QIODevice& file, qint64 size, QByteArray& out)
{
    if (size < 0 || size > Remaining(file))
        return false;
    out.resize(size);
    return ReadExact(file, out.data(), size);
}

bool ReadExact(QIODevice& file, char* out, qint64 size)
{
    if (size < 0 || size > Remaining(file))
        return false;
    return size == 0 || file.read(out, size) == size;
}

bool WriteBytes(QIODevice& file, const QByteArray& data)
{
    return file.write(data) == data.size();
}

qint32 Int32At(const char* bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes + offset);
}

void PutInt32(QByteArray& bytes, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

QByteArray Int32Bytes(qint32 value)
{
    QByteArray bytes(4, '\0');
    PutInt32(bytes, 0, value);
    return bytes;
}

QString FixedTextAt(const char* bytes, int offset)
{
    // Only the byte 0x20 decodes to a space, so the spaces are trimmed before decoding.
    const char* field = bytes + offset;
    int first = 0;
    int last = AnsiText::FixedFieldSize;
    while (first < last && field[first] == ' ')
        ++first;
    while (last > first && field[last - 1] == ' ')
        --last;
    return AnsiText::Decode(field + first, last - first);
}

bool ReadText(QIODevice& file, qint32 length, QString& out)
{
    QByteArray bytes;
    if (!ReadBytes(file, length, bytes))
        return false;
    out = AnsiText::Decode(bytes);
    return true;
}

} // namespace RecordIO
