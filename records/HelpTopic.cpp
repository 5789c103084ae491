#include "HelpTopic.h"

#include "AnsiText.h"
#include "RecordIO.h"

bool HelpTopic::LoadFromFile(QIODevice& file)
{
    QByteArray fixed;
    if (!RecordIO::ReadBytes(file, FixedSize, fixed))
        return false;
    Name = RecordIO::FixedTextAt(fixed, 0);
    return RecordIO::ReadText(file, RecordIO::Int32At(fixed, 50), Data);
}

bool HelpTopic::SaveToFile(QIODevice& file) const
{
    const QByteArray text = AnsiText::Encode(Data);
    return RecordIO::WriteBytes(file, AnsiText::FixedField(Name) +
                                          RecordIO::Int32Bytes(qint32(text.size())) + text);
}
