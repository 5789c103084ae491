// One page of the game's help, as a record of "Help.Dat" (read only).
#pragma once

#include <QIODevice>
#include <QString>

class HelpTopic {
public:
    QString Data; // the topic's text
    QString Name; // the topic's title

    // Reads one record at the current position; false on any read error.
    bool LoadFromFile(QIODevice& file);

    static constexpr int FixedSize = 54;
};
