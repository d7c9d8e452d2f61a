#include "files/CByteWriter.h"

void CByteWriter::PutText(const QString& text)
{
    const QByteArray utf8 = text.toUtf8().left(0xFFFF);
    Put<quint16>(quint16(utf8.size()));
    m_bytes.append(utf8);
}

void CByteWriter::PutVarint(quint64 value)
{
    while (value >= 0x80) {
        m_bytes.append(char(value | 0x80));
        value >>= 7;
    }
    m_bytes.append(char(value));
}

int CByteWriter::VarintSize(quint64 value)
{
    int size = 1;
    for (; value >= 0x80; value >>= 7)
        ++size;
    return size;
}
