#include "HelpTopic.h"

#include "RecordIO.h"

bool HelpTopic::LoadFromFile(QIODevice& file)
{
    QByteArray fixed;
    if (!RecordIO::ReadBytes(file, FixedSize, fixed))
        return false;
    Name = RecordIO::FixedTextAt(fixed, 0);
    return RecordIO::ReadText(file, RecordIO::Int32At(fixed, 50), Data);
}
