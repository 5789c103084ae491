// What the benchmarks share: a repeatable generator, building database bytes, writing files,
// and timing units.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace BenchSupport {

// A small deterministic generator, so that every run measures the same files.
class Random {
public:
    explicit Random(quint32 seed) : state(seed) {}
    quint32 Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int Below(int limit) { return int(Next() % quint32(limit)); }

private:
    quint32 state;
};

void AppendInt32(QByteArray& out, qint32 value);
void AppendByte(QByteArray& out, int value);
// A 50-byte text field: the text, then spaces. Stops the program on a longer text.
void AppendField(QByteArray& out, const QByteArray& text);
// Writes `bytes` as the whole file at `path`.
bool WriteWhole(const QString& path, const QByteArray& bytes);
// The same, and flushed to disk before it returns (as a safe save must).
bool WriteDurably(const QString& path, const QByteArray& bytes);
double Ms(qint64 nanoseconds);
double Median(std::vector<double> values);
// Says which check failed and ends the program.
[[noreturn]] void Fail(const char* what);

} // namespace BenchSupport
