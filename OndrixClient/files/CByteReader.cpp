#include "files/CByteReader.h"

QString CByteReader::GetText(QByteArray& lastBytes, const QString& last)
{
    const quint16 size = Get<quint16>();
    const QByteArrayView bytes = Take(size);
    if (!m_bOk)
        return QString();
    if (bytes == lastBytes)
        return last;
    lastBytes = bytes.toByteArray();
    return QString::fromUtf8(bytes);
}

quint64 CByteReader::GetVarint()
{
    quint64 value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (m_nPos >= m_bytes.size())
            break;
        const quint8 byte = quint8(m_bytes.at(m_nPos++));
        value |= quint64(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
    }
    m_bOk = false;
    return 0;
}

QByteArrayView CByteReader::Take(quint64 size)
{
    if (!m_bOk || quint64(m_bytes.size() - m_nPos) < size) {
        m_bOk = false;
        return QByteArrayView();
    }
    const QByteArrayView bytes = m_bytes.sliced(m_nPos, qsizetype(size));
    m_nPos += qsizetype(size);
    return bytes;
}
