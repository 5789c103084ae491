// One glass in which drinks are served, as a record of "Glasses.Dat".
#pragma once

#include <QIODevice>
#include <QString>

class Glass {
public:
    QString Animation;
    QString Cursor;
    QString DisplayText;
    QString HelpTopic;
    QString Highlight;
    quint8 HotSpotID = 0;
    QString Name;
    QString OpacityMap;
    QString Shadow;
    QString Zoom;

    // Reads one record at the current position; false when any part could not be read.
    bool LoadFromFile(QIODevice& file);
    // Writes the glass as one record at the current position; false on any write error.
    bool SaveToFile(QIODevice& file) const;

    // Size of the record before the display text.
    static constexpr int FixedSize = 405;
};
