// GUID generation. Header-only so that the record layer, which needs fresh keys, stays a
// QtCore-only library.
#pragma once

#include <QRandomGenerator>

#include <array>
#include <cstring>

namespace platform {

// Fills `bytes` with a new random (version 4) GUID in its binary byte order. Each thread draws
// from a generator of its own, seeded once from the system's random source.
inline bool CreateGuid(unsigned char bytes[16])
{
    thread_local QRandomGenerator generator = [] {
        std::array<quint32, 8> seed;
        QRandomGenerator::system()->fillRange(seed.data(), seed.size());
        return QRandomGenerator(seed.data(), qsizetype(seed.size()));
    }();
    quint32 words[4];
    generator.fillRange(words);
    std::memcpy(bytes, words, 16);
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    return true;
}

} // namespace platform
