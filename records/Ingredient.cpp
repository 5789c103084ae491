#include "Ingredient.h"

#include "AnsiText.h"
#include "RecordIO.h"

#include <QVarLengthArray>

#include <cstring>

namespace {
// Offsets of the fixed record.
constexpr int NameAt = 0, OuncesAt = 50, ActionAt = 51, ColorAt = 52, OpacityAt = 56,
              ParentItemAt = 57, ShadowAt = 107, HighlightAt = 157, CursorAt = 207, ZoomAt = 257,
              AnimationAt = 307, HelpTopicAt = 357, HotSpotAt = 407, LengthAt = 408;
} // namespace

Ingredient::Ingredient() : record(FixedSize, '\0') {}

bool Ingredient::LoadFromFile(QIODevice& file)
{
    // A record without display text (length 0 or less) leaves the object's text as it was.
    record.fill('\0');
    if (!RecordIO::ReadExact(file, record.data(), FixedSize))
        return false;
    const qint32 length = TextLength();
    if (length <= 0)
        return true;
    return RecordIO::ReadText(file, length, displayText);
}

bool Ingredient::SaveToFile(QIODevice& file) const
{
    if (TextLength() <= 0)
        return RecordIO::WriteBytes(file, record);
    QVarLengthArray<char, 1024> bytes(FixedSize + displayText.size());
    std::memcpy(bytes.data(), record.constData(), FixedSize);
    const qsizetype textLength = AnsiText::EncodeInto(displayText, bytes.data() + FixedSize);
    return RecordIO::WriteBytes(file, bytes.constData(), FixedSize + textLength);
}

QString Ingredient::TextAt(int offset) const
{
    return RecordIO::FixedTextAt(record, offset);
}

void Ingredient::SetTextAt(int offset, const QString& value)
{
    AnsiText::PutFixedField(record.data() + offset, value);
}

qint32 Ingredient::TextLength() const
{
    return RecordIO::Int32At(record, LengthAt);
}

bool Ingredient::Action() const
{
    return record.at(ActionAt) == 1;
}
void Ingredient::SetAction(bool value)
{
    record[ActionAt] = value ? 1 : 0;
}
QString Ingredient::Animation() const
{
    return TextAt(AnimationAt);
}
void Ingredient::SetAnimation(const QString& value)
{
    SetTextAt(AnimationAt, value);
}
qint32 Ingredient::Color() const
{
    return RecordIO::Int32At(record, ColorAt);
}
void Ingredient::SetColor(qint32 value)
{
    RecordIO::PutInt32(record, ColorAt, value);
}
QString Ingredient::Cursor() const
{
    return TextAt(CursorAt);
}
void Ingredient::SetCursor(const QString& value)
{
    SetTextAt(CursorAt, value);
}
QString Ingredient::DisplayText() const
{
    return displayText;
}
void Ingredient::SetDisplayText(const QString& value)
{
    displayText = value;
    RecordIO::PutInt32(record, LengthAt, qint32(AnsiText::Encode(value).size()));
}
QString Ingredient::HelpTopic() const
{
    return TextAt(HelpTopicAt);
}
void Ingredient::SetHelpTopic(const QString& value)
{
    SetTextAt(HelpTopicAt, value);
}
QString Ingredient::Highlight() const
{
    return TextAt(HighlightAt);
}
void Ingredient::SetHighlight(const QString& value)
{
    SetTextAt(HighlightAt, value);
}
quint8 Ingredient::HotSpotID() const
{
    return quint8(record.at(HotSpotAt));
}
void Ingredient::SetHotSpotID(quint8 value)
{
    record[HotSpotAt] = char(value);
}
QString Ingredient::Name() const
{
    return TextAt(NameAt);
}
void Ingredient::SetName(const QString& value)
{
    SetTextAt(NameAt, value);
}
quint8 Ingredient::Opacity() const
{
    return quint8(record.at(OpacityAt));
}
void Ingredient::SetOpacity(quint8 value)
{
    record[OpacityAt] = char(value);
}
bool Ingredient::Ounces() const
{
    return record.at(OuncesAt) == 1;
}
void Ingredient::SetOunces(bool value)
{
    record[OuncesAt] = value ? 1 : 0;
}
QString Ingredient::ParentItem() const
{
    return TextAt(ParentItemAt);
}
void Ingredient::SetParentItem(const QString& value)
{
    SetTextAt(ParentItemAt, value);
}
QString Ingredient::Shadow() const
{
    return TextAt(ShadowAt);
}
void Ingredient::SetShadow(const QString& value)
{
    SetTextAt(ShadowAt, value);
}
QString Ingredient::Zoom() const
{
    return TextAt(ZoomAt);
}
void Ingredient::SetZoom(const QString& value)
{
    SetTextAt(ZoomAt, value);
}
