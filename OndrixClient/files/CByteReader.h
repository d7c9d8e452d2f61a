#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtEndian>

// Reads back what CByteWriter wrote; every read past the end, and every
// variable-length integer longer than 64 bits, fails and is remembered.
class CByteReader
{
public:
    explicit CByteReader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }
    template <typename Value>
    Value Get()
    {
        if (m_bytes.size() - m_nPos < qsizetype(sizeof(Value))) {
            m_bOk = false;
            return Value();
        }
        const Value value = qFromLittleEndian<Value>(m_bytes.data() + m_nPos);
        m_nPos += qsizetype(sizeof(Value));
        return value;
    }
    // The text, or last again when its bytes are the same: a band's name
    // comes with each of its records, and shared it costs no memory.
    QString GetText(QByteArray& lastBytes, const QString& last);
    quint64 GetVarint();
    qint64 GetZigzag()
    {
        const quint64 value = GetVarint();
        return qint64(value >> 1) ^ -qint64(value & 1);
    }
    // The next size bytes, or an empty view and a failure.
    QByteArrayView Take(quint64 size);
    void Skip(qsizetype size) { Take(quint64(size)); }
    QByteArrayView Rest() const { return m_bytes.sliced(m_nPos); }
    qsizetype Left() const { return m_bytes.size() - m_nPos; }
    bool AtEnd() const { return m_nPos == m_bytes.size(); }
    bool Ok() const { return m_bOk; }

private:
    QByteArrayView m_bytes;
    qsizetype m_nPos = 0;
    bool m_bOk = true;
};
