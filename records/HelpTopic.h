// One page of the game's help, as a record of "Help.Dat". The editor only reads it; the
// companion tool writes it.
#pragma once

#include <QIODevice>
#include <QString>

class HelpTopic {
public:
    QString Data; // the topic's text
    QString Name; // the topic's title

    // Reads one record at the current position; false on any read error.
    bool LoadFromFile(QIODevice& file);
    // Writes the record; false on a write error.
    bool SaveToFile(QIODevice& file) const;

    static constexpr int FixedSize = 54;
};
