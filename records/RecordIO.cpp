#include "RecordIO.h"

#include "AnsiText.h"

#include <QVarLengthArray>
#include <QtEndian>

#include <algorithm>
#include <cstring>

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

namespace {

thread_local RecurringTexts* innermostRecurringTexts = nullptr;

// The bytes of a fixed text field without its leading and trailing spaces. Only the byte 0x20
// decodes to a space, so the spaces are trimmed before decoding.
QByteArrayView TrimmedField(const char* field)
{
    int last = AnsiText::FixedFieldSize;
    // The trailing spaces usually fill most of the field: eight at a time first.
    const quint64 eightSpaces = 0x2020202020202020;
    quint64 eight;
    while (last >= 8 && (std::memcpy(&eight, field + last - 8, 8), eight == eightSpaces))
        last -= 8;
    while (last > 0 && field[last - 1] == ' ')
        --last;
    int first = 0;
    while (first < last && field[first] == ' ')
        ++first;
    return QByteArrayView(field + first, last - first);
}

QString Decode(QByteArrayView bytes)
{
    return AnsiText::Decode(bytes.data(), int(bytes.size()));
}

} // namespace

QString FixedTextAt(const char* bytes, int offset)
{
    return Decode(TrimmedField(bytes + offset));
}

RecurringTexts::RecurringTexts() : outer(innermostRecurringTexts)
{
    innermostRecurringTexts = this;
}

RecurringTexts::~RecurringTexts()
{
    innermostRecurringTexts = outer;
}

const QString& RecurringTexts::TextOf(const char* field)
{
    if (2 * (used + 1) > table.size()) {
        std::vector<Slot> old(std::max<size_t>(256, 2 * table.size()));
        old.swap(table);
        for (Slot& slot : old)
            if (slot.used)
                Find(slot.field) = std::move(slot);
    }
    Slot& slot = Find(field);
    if (!slot.used) {
        std::memcpy(slot.field, field, sizeof slot.field);
        slot.text = FixedTextAt(field, 0);
        slot.used = true;
        ++used;
    }
    return slot.text;
}

RecurringTexts::Slot& RecurringTexts::Find(const char* field)
{
    // The field's bytes eight at a time, the last eight overlapping the ones before.
    quint64 hash = 0;
    for (int at = 0;; at += 8) {
        at = std::min(at, AnsiText::FixedFieldSize - 8);
        quint64 eight;
        std::memcpy(&eight, field + at, 8);
        hash = (hash ^ eight) * 0x9E3779B97F4A7C15;
        hash ^= hash >> 32;
        if (at == AnsiText::FixedFieldSize - 8)
            break;
    }
    const size_t mask = table.size() - 1;
    for (size_t i = size_t(hash) & mask;; i = (i + 1) & mask) {
        Slot& slot = table[i];
        if (!slot.used || std::memcmp(slot.field, field, sizeof slot.field) == 0)
            return slot;
    }
}

QString RecurringTextAt(const char* bytes, int offset)
{
    if (!innermostRecurringTexts)
        return FixedTextAt(bytes, offset);
    return innermostRecurringTexts->TextOf(bytes + offset);
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
