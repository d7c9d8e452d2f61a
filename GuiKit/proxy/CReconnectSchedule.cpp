#include "proxy/CReconnectSchedule.h"

#include <algorithm>

CReconnectSchedule::CReconnectSchedule(int firstMs, int maxMs)
    : m_nFirstMs(firstMs)
    , m_nMaxMs(maxMs)
    , m_nDelayMs(firstMs)
{
}

void CReconnectSchedule::SetDelays(int firstMs, int maxMs)
{
    m_nFirstMs = std::max(0, firstMs);
    m_nMaxMs = std::max(m_nFirstMs, maxMs);
}

void CReconnectSchedule::Start()
{
    m_bActive = true;
    m_nDelayMs = m_nFirstMs;
    m_next.setRemainingTime(m_nDelayMs);
}

void CReconnectSchedule::Failed()
{
    // Doubled in 64 bits: a long outage must not wrap the delay around.
    m_nDelayMs = int(std::min<qint64>(qint64(m_nDelayMs) * 2, m_nMaxMs));
    m_next.setRemainingTime(m_nDelayMs);
}

void CReconnectSchedule::Stop()
{
    m_bActive = false;
    m_nDelayMs = m_nFirstMs;
}
