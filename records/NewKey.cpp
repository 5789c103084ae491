#include "NewKey.h"

#include "platform/Guid.h"

#include <atomic>
#include <cstring>

namespace {

quint64 RandomStart()
{
    unsigned char guid[16];
    quint64 start = 0;
    if (platform::CreateGuid(guid))
        std::memcpy(&start, guid, sizeof start);
    return start;
}

} // namespace

QString NewKey()
{
    static std::atomic<quint64> next{RandomStart()};
    quint64 number = next.fetch_add(1, std::memory_order_relaxed);
    QString key(17, Qt::Uninitialized);
    QChar* out = key.data();
    out[0] = QLatin1Char('K');
    // Least significant digit first: keys made one after another differ in their first digits,
    // which ends comparisons early.
    for (int i = 1; i <= 16; ++i, number >>= 4)
        out[i] = QLatin1Char("0123456789abcdef"[number & 0xF]);
    return key;
}
