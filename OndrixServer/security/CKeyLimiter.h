#pragma once

#include <QHash>
#include <QString>

// Keeps a peer from guessing access keys: an origin (CPeerPolicy::Origin)
// that gives FAILURES wrong keys within WINDOW_MS is shut out for BLOCK_MS,
// its connections closed as they come. Times are milliseconds of a steady
// clock, given by the caller. At most MAX_ORIGINS are remembered, so that
// addresses without end cannot grow it; the oldest go first.
class CKeyLimiter
{
public:
    static constexpr int FAILURES = 5;
    static constexpr qint64 WINDOW_MS = 60 * 1000;
    static constexpr qint64 BLOCK_MS = 10 * 60 * 1000;
    static constexpr int MAX_ORIGINS = 4096;

    // True when this failure shuts the origin out.
    bool Failed(const QString& origin, qint64 now);
    bool IsBlocked(const QString& origin, qint64 now) const;

private:
    struct ORIGIN
    {
        qint64 windowStart = 0;
        int failures = 0;
        qint64 blockedUntil = 0;
    };

    void Forget(qint64 now);

    QHash<QString, ORIGIN> m_origins;
};
