#include "devices/CAnswerCache.h"

#include <QElapsedTimer>

CAnswerCache::CAnswerCache(Clock clock)
    : m_pfnClock(clock ? clock : &CAnswerCache::SteadyMs)
{
}

qint64 CAnswerCache::SteadyMs()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

QByteArray CAnswerCache::Answer(const KEY& key, const STAMP& stamp, const Build& build)
{
    ENTRY& entry = m_entries[key];
    const qint64 now = m_pfnClock();
    if (Serves(entry, stamp, now))
        return entry.versions.constLast();
    entry.versions.append(build());
    entry.stamp = stamp;
    entry.built = now;
    entry.forgotten = false;
    return entry.versions.constLast();
}

// Whether the newest version still answers: its stamp holds, or it only
// grew since lately, or too many versions are out to build one more.
bool CAnswerCache::Serves(ENTRY& entry, const STAMP& stamp, qint64 now) const
{
    // Older versions nobody sends any more are let go.
    for (qsizetype i = entry.versions.size() - 2; i >= 0; --i) {
        if (entry.versions.at(i).isDetached())
            entry.versions.removeAt(i);
    }
    if (entry.versions.isEmpty())
        return false;
    if (entry.forgotten)
        return entry.versions.size() >= MAX_VERSIONS;
    const qint64 age = now - entry.built;
    const bool sameContent = stamp.first == entry.stamp.first && stamp.second == entry.stamp.second;
    if (sameContent && stamp.growth == entry.stamp.growth && age < MAX_AGE_MS)
        return true;
    if (sameContent && stamp.growth > entry.stamp.growth && age < REBUILD_MS)
        return true;
    return entry.versions.size() >= MAX_VERSIONS;
}

// The versions stay counted while connections still send them.
void CAnswerCache::Forget(int device)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it.key().first == device)
            it->forgotten = true;
    }
}
