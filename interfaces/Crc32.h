#pragma once

#include <QByteArrayView>
#include <QtEndian>

#include <array>

// The CRC-32 of zip and PNG (reflected, polynomial EDB88320), for every
// file of the program that checks its bytes: the client's recordings and
// the kit's spectrum references, which live in libraries that cannot link
// each other. Header-only for that reason.
namespace Crc32 {

// Eight tables: eight bytes a step, as a recording of a weekend is
// gigabytes and a replay checks all of it before it starts.
using Tables = std::array<std::array<quint32, 256>, 8>;

inline Tables MakeTables()
{
    Tables tables {};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][i] = c;
    }
    for (quint32 i = 0; i < 256; ++i)
        for (int t = 1; t < 8; ++t)
            tables[t][i] = (tables[t - 1][i] >> 8) ^ tables[0][tables[t - 1][i] & 0xFF];
    return tables;
}

inline quint32 Of(QByteArrayView bytes)
{
    static const Tables t = MakeTables();
    quint32 crc = 0xFFFFFFFFu;
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    for (; left >= 8; left -= 8, p += 8) {
        const quint32 low = qFromLittleEndian<quint32>(p) ^ crc;
        const quint32 high = qFromLittleEndian<quint32>(p + 4);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24]
            ^ t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; left > 0; --left, ++p)
        crc = t[0][(crc ^ quint8(*p)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

} // namespace Crc32
