#include "BenchSupport.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace BenchSupport {

void AppendInt32(QByteArray& out, qint32 value)
{
    const quint32 v = quint32(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((v >> shift) & 0xFF));
}

void AppendByte(QByteArray& out, int value)
{
    out.append(char(quint8(value)));
}

void AppendField(QByteArray& out, const QByteArray& text)
{
    if (text.size() > 50) {
        std::fprintf(stderr, "generated text longer than 50 bytes: %s\n", text.constData());
        std::exit(2);
    }
    out.append(text);
    out.append(50 - text.size(), ' ');
}

bool WriteWhole(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

bool WriteDurably(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written =
        file.write(bytes) == bytes.size() && file.flush() && ::fsync(file.handle()) == 0;
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

double Ms(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Fail(const char* what)
{
    std::fprintf(stderr, "check failed: %s\n", what);
    std::exit(1);
}

} // namespace BenchSupport
