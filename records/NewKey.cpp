#include "NewKey.h"

#include <QRandomGenerator>

QString NewKey()
{
    // Counting on from a random start, no number comes twice in a session.
    static quint64 next = QRandomGenerator::global()->generate64();
    quint64 number = next++;
    QString key(17, u'K');
    for (int digit = 16; digit >= 1; --digit, number >>= 4)
        key[digit] = QLatin1Char("0123456789abcdef"[number & 0xF]);
    return key;
}
