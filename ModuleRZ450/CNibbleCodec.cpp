#include "CNibbleCodec.h"

QByteArray CNibbleCodec::Split(const char* data, int size)
{
    QByteArray link(2 * size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
        const unsigned char byte = static_cast<unsigned char>(data[i]);
        link[2 * i] = static_cast<char>(byte >> 4);
        link[2 * i + 1] = static_cast<char>(byte & 0x0F);
    }
    return link;
}

void CNibbleCodec::Join(const char* link, int size, char* out)
{
    for (int i = 0; i < size; ++i) {
        const unsigned char high = static_cast<unsigned char>(link[2 * i]) & 0x0F;
        const unsigned char low = static_cast<unsigned char>(link[2 * i + 1]) & 0x0F;
        out[i] = static_cast<char>((high << 4) | low);
    }
}
