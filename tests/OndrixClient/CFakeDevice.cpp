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
    if (m_nCount == 0)
        m_nFirst = m_nNext;
    m_nCount += count;
    m_nNext += count;
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
    m_nClockBase = base;
    m_nClockFrom = m_nNext;
    m_bClockSet = true;
}

CRecord CFakeDevice::GetRecord(int index)
{
    if (m_bFailingRecords)
        throw std::runtime_error("GetRecord: wrong answer format!");
    CRecord record;
    record.band = 1;
    record.bandName = QStringLiteral("GSM 900");
    const int number = m_nFirst + index;
    if (!m_bClockSet || number < m_nClockFrom)
        record.time = FirstTime() + quint64(number);
    else
        record.time = m_nClockBase == 0 ? 0 : m_nClockBase + quint64(number - m_nClockFrom);
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
