#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

// Appends the recording's values: fixed-size little-endian ones, counted
// texts, and the variable-length integers a block of records is made of
// (seven bits a byte, low first; signed ones zigzag, so that small
// negative numbers stay short).
class CByteWriter
{
public:
    template <typename Value>
    void Put(Value value)
    {
        char bytes[sizeof(Value)];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, sizeof(Value));
    }
    // A u16 byte count and the UTF-8, cut to what the count holds.
    void PutText(const QString& text);
    void PutVarint(quint64 value);
    void PutZigzag(qint64 value) { PutVarint(Zigzag(value)); }

    static quint64 Zigzag(qint64 value) { return (quint64(value) << 1) ^ quint64(value >> 63); }
    static int VarintSize(quint64 value);

    QByteArray m_bytes;
};
