#include "RecordIO.h"

#include "AnsiText.h"

#include <QVarLengthArray>
#include <QtEndian>

namespace {

// The bytes of the text field at `field` without the spaces at its ends.
QByteArrayView TrimmedField(const char* field)
{
    int last = AnsiText::FixedFieldSize;
    while (last > 0 && field[last - 1] == ' ')
        --last;
    int first = 0;
    while (first < last && field[first] == ' ')
        ++first;
    return QByteArrayView(field + first, last - first);
}

} // namespace

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

bool WriteBytes(QIODevice& file, const char* data, qint64 size)
{
    return file.write(data, size) == size;
}

qint32 Int32At(const char* bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes + offset);
}

void PutInt32(char* bytes, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes + offset);
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
    const QByteArrayView text = TrimmedField(bytes + offset);
    return AnsiText::Decode(text.data(), int(text.size()));
}

bool ReadText(QIODevice& file, qint32 length, QString& out)
{
    if (length < 0 || length > Remaining(file))
        return false;
    QVarLengthArray<char, 1024> bytes(length);
    if (!ReadExact(file, bytes.data(), length))
        return false;
    out = AnsiText::Decode(bytes.constData(), length);
    return true;
}

} // namespace RecordIO
