#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

// Keeps one peer from drowning the operator's log: an origin gets a few
// lines a second; the rest are counted, and the count is told in one line
// once the second is over. Times are milliseconds of a steady clock, given
// by the caller. Not thread-safe: ServerLog holds it under its lock.
class CPeerLogLimiter
{
public:
    static constexpr int LINES_PER_WINDOW = 10;
    static constexpr qint64 WINDOW_MS = 1000;

    using SUPPRESSED = QPair<QString, int>; // origin, lines left out

    // Whether a line of origin goes out now. `ended`: lines of the
    // origin's last window that were left out, to be told before this one.
    bool Admit(const QString& origin, qint64 now, int& ended);
    // The counts of windows over by now, and forgets origins gone quiet.
    QList<SUPPRESSED> Expire(qint64 now);

private:
    struct WINDOW
    {
        qint64 start = 0;
        int lines = 0;
        int suppressed = 0;
    };

    QHash<QString, WINDOW> m_windows;
};
