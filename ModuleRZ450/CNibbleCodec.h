#pragma once

#include <QByteArray>

// The FT245R link carries every protocol byte as two link bytes, high
// nibble first, each in the low four bits.
class CNibbleCodec
{
public:
    static QByteArray Split(const char* data, int size);
    // Joins 2 * size link bytes into size protocol bytes.
    static void Join(const char* link, int size, char* out);
};
