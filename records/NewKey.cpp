#include "NewKey.h"

#include "platform/Guid.h"

QString NewKey()
{
    unsigned char bytes[16];
    if (!platform::CreateGuid(bytes))
        return QString();
    QString key(17, Qt::Uninitialized);
    QChar* out = key.data();
    out[0] = QLatin1Char('K');
    for (int i = 0; i < 16; ++i)
        out[i + 1] = QChar(bytes[i]);
    return key;
}
