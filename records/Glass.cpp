#include "Glass.h"

#include "AnsiText.h"
#include "RecordIO.h"

namespace {
// Offsets of the fixed part.
constexpr int NameAt = 0, CursorAt = 50, OpacityMapAt = 100, ShadowAt = 150, HighlightAt = 200,
              ZoomAt = 250, AnimationAt = 300, HelpTopicAt = 350, HotSpotAt = 400, LengthAt = 401;
} // namespace

bool Glass::LoadFromFile(QIODevice& file)
{
    QByteArray fixed;
    if (!RecordIO::ReadBytes(file, FixedSize, fixed))
        return false;
    Name = RecordIO::FixedTextAt(fixed, NameAt);
    Cursor = RecordIO::FixedTextAt(fixed, CursorAt);
    OpacityMap = RecordIO::FixedTextAt(fixed, OpacityMapAt);
    Shadow = RecordIO::FixedTextAt(fixed, ShadowAt);
    Highlight = RecordIO::FixedTextAt(fixed, HighlightAt);
    Zoom = RecordIO::FixedTextAt(fixed, ZoomAt);
    Animation = RecordIO::FixedTextAt(fixed, AnimationAt);
    HelpTopic = RecordIO::FixedTextAt(fixed, HelpTopicAt);
    HotSpotID = quint8(fixed.at(HotSpotAt));
    return RecordIO::ReadText(file, RecordIO::Int32At(fixed, LengthAt), DisplayText);
}

bool Glass::SaveToFile(QIODevice& file) const
{
    const QByteArray text = AnsiText::Encode(DisplayText);
    QByteArray record;
    record.reserve(FixedSize + text.size());
    for (const QString* field :
         {&Name, &Cursor, &OpacityMap, &Shadow, &Highlight, &Zoom, &Animation, &HelpTopic})
        record.append(AnsiText::FixedField(*field));
    record.append(char(HotSpotID));
    record.append(RecordIO::Int32Bytes(qint32(text.size())));
    record.append(text);
    return RecordIO::WriteBytes(file, record);
}
