#include "CFakeDevice.h"

#include <stdexcept>

CFakeDevice::CFakeDevice(const QString& id)
    : m_strId(id)
{
}

bool CFakeDevice::Initialize()
{
    if (m_nUsers++ > 0)
        return true;
    m_bRunning = true;
    m_bError = false;
    ++m_nStarts;
    return true;
}

void CFakeDevice::Uninitialize()
{
    if (m_nUsers > 0)
        --m_nUsers;
    if (m_nUsers == 0)
        m_bRunning = false;
}

void CFakeDevice::SetReachable(bool reachable)
{
    m_bReachable = reachable;
}

void CFakeDevice::InjectFault()
{
    m_bRunning = false;
    m_bError = true;
}

quint64 CFakeDevice::FirstTime()
{
    static const quint64 first = quint64(QDateTime::currentSecsSinceEpoch()) + 3600;
    return first;
}

void CFakeDevice::AppendRecords(int count)
{
    if (m_nCount == 0 && m_nRing == 0)
        m_nFirst = m_nNext;
    m_nCount += count;
    m_nNext += count;
    if (m_nRing > 0)
        m_nCount %= m_nRing;
}

void CFakeDevice::RestartRecords()
{
    m_nCount = 0;
}

void CFakeDevice::SetMode(int mode)
{
    m_nMode = mode;
}

void CFakeDevice::EmitChannelChanged()
{
    Q_EMIT deviceChannelChanged();
}

void CFakeDevice::Clear()
{
    ++m_nClears;
    m_nCount = 0;
}

void CFakeDevice::SetClockBase(quint64 base)
{
    m_clocks.append({ m_nNext, base });
}

CRecord CFakeDevice::GetRecord(int index)
{
    if (m_bFailingRecords)
        throw std::runtime_error("GetRecord: wrong answer format!");
    CRecord record;
    // A slot not written since the records started anew reads as the
    // driver's zeroed slot: no date.
    const int written = m_nNext - m_nFirst;
    if (index >= (m_nRing > 0 ? written : m_nCount))
        return record;
    record.band = 1;
    record.bandName = QStringLiteral("GSM 900");
    // The newest record the slot has held.
    const int number = m_nRing > 0 ? m_nFirst + index + (written - 1 - index) / m_nRing * m_nRing : m_nFirst + index;
    record.time = FirstTime() + quint64(number);
    for (const auto& [from, base] : m_clocks) {
        if (number >= from)
            record.time = base == 0 ? 0 : base + quint64(number - from);
    }
    record.values.append({ -60.0 + index % 20, -50.0, 0, 0 });
    return record;
}

QList<CRecord> CFakeDevice::GetRealtimeRecords()
{
    QList<CRecord> records;
    for (int i = 0; i < m_nCount; ++i)
        records.append(GetRecord(i));
    return records;
}
