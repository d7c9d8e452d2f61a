#include "security/CKeyLimiter.h"

bool CKeyLimiter::Failed(const QString& origin, qint64 now)
{
    if (!m_origins.contains(origin) && m_origins.size() >= MAX_ORIGINS)
        Forget(now);
    ORIGIN& entry = m_origins[origin];
    if (now - entry.windowStart >= WINDOW_MS) {
        entry.windowStart = now;
        entry.failures = 0;
    }
    if (++entry.failures < FAILURES)
        return false;
    const bool newly = entry.blockedUntil <= now;
    entry.blockedUntil = now + BLOCK_MS;
    return newly;
}

bool CKeyLimiter::IsBlocked(const QString& origin, qint64 now) const
{
    const auto found = m_origins.constFind(origin);
    return found != m_origins.cend() && found->blockedUntil > now;
}

// What no longer counts goes; if every origin still counts, the one whose
// window began first makes room. Keys, not iterators: erasing moves entries.
void CKeyLimiter::Forget(qint64 now)
{
    QString oldest;
    qint64 oldestStart = 0;
    for (auto it = m_origins.begin(); it != m_origins.end();) {
        if (it->blockedUntil <= now && now - it->windowStart >= WINDOW_MS) {
            it = m_origins.erase(it);
            continue;
        }
        if (oldest.isNull() || it->windowStart < oldestStart) {
            oldest = it.key();
            oldestStart = it->windowStart;
        }
        ++it;
    }
    if (m_origins.size() >= MAX_ORIGINS)
        m_origins.remove(oldest);
}
