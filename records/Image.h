// One entry of an image catalogue: a fixed 73-byte record followed by the picture's data
// block, which this record skips when loading and leaves to its owner when saving.
#pragma once

#include <QIODevice>
#include <QString>

class Image {
public:
    qint32 Height = 0;
    bool IsCursor = false;
    bool IsTransparent = false;
    qint32 Left = 0;
    QString Name;
    qint32 Top = 0;
    qint32 TransColor = 0; // not part of the record
    qint32 Width = 0;
    quint8 Deleted = 0; // 0 = entry in use

    // Writes the 73-byte record (not the data block); false on any write error.
    bool SaveToFile(QIODevice& file) const;
    // Reads the record, remembers where it started and moves past its data block. True when
    // the entry is in use; false when it is marked deleted or could not be read.
    bool LoadFromFile(QIODevice& file);

    qint32 DataSize() const { return dataSize; }
    // 1-based position in the file of the record's first byte.
    qint64 DataPos() const { return dataPos; }

    static constexpr int FixedSize = 73;

private:
    qint32 dataSize = 0;
    qint64 dataPos = 0;
};
