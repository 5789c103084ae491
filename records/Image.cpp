#include "Image.h"

#include "AnsiText.h"
#include "RecordIO.h"

namespace {
constexpr int DeletedAt = 0, NameAt = 1, LeftAt = 51, TopAt = 55, WidthAt = 59, HeightAt = 63,
              IsCursorAt = 67, IsTransparentAt = 68, DataSizeAt = 69;
} // namespace

bool Image::SaveToFile(QIODevice& file) const
{
    QByteArray record(FixedSize, '\0');
    record[DeletedAt] = char(Deleted);
    record.replace(NameAt, AnsiText::FixedFieldSize, AnsiText::FixedField(Name));
    RecordIO::PutInt32(record, LeftAt, Left);
    RecordIO::PutInt32(record, TopAt, Top);
    RecordIO::PutInt32(record, WidthAt, Width);
    RecordIO::PutInt32(record, HeightAt, Height);
    record[IsCursorAt] = IsCursor ? 1 : 0;
    record[IsTransparentAt] = IsTransparent ? 1 : 0;
    RecordIO::PutInt32(record, DataSizeAt, dataSize);
    return RecordIO::WriteBytes(file, record);
}

bool Image::LoadFromFile(QIODevice& file)
{
    QByteArray record;
    if (!RecordIO::ReadBytes(file, FixedSize, record))
        return false;
    Name = RecordIO::FixedTextAt(record, NameAt);
    Left = RecordIO::Int32At(record, LeftAt);
    Top = RecordIO::Int32At(record, TopAt);
    Width = RecordIO::Int32At(record, WidthAt);
    Height = RecordIO::Int32At(record, HeightAt);
    IsCursor = record.at(IsCursorAt) == 1;
    IsTransparent = record.at(IsTransparentAt) == 1;
    dataSize = RecordIO::Int32At(record, DataSizeAt);
    dataPos = file.pos() - FixedSize + 1;
    // The data block must lie within the file; the position is moved past it unread.
    if (dataSize < 0 || dataSize > RecordIO::Remaining(file))
        return false;
    if (!file.seek(file.pos() + dataSize))
        return false;
    return record.at(DeletedAt) == 0;
}
