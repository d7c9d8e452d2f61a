#include "files/CFramedFile.h"

#include <QtEndian>

#include <cstring>

QByteArray CFramedFile::Header(const char* magic, quint16 version)
{
    QByteArray header(magic, MAGIC_SIZE);
    char bytes[2];
    qToLittleEndian(version, bytes);
    header.append(bytes, 2);
    return header;
}

bool CFramedFile::HasHeader(QByteArrayView bytes, const char* magic, quint16 version)
{
    return bytes.size() >= HEADER_SIZE && std::memcmp(bytes.data(), magic, MAGIC_SIZE) == 0
        && qFromLittleEndian<quint16>(bytes.data() + MAGIC_SIZE) == version;
}
