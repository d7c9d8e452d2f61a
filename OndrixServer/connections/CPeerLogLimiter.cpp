#include "connections/CPeerLogLimiter.h"

bool CPeerLogLimiter::Admit(const QString& origin, qint64 now, int& ended)
{
    ended = 0;
    WINDOW& window = m_windows[origin];
    if (window.lines == 0 || now - window.start >= WINDOW_MS) {
        ended = window.suppressed;
        window = WINDOW { now, 0, 0 };
    }
    if (window.lines >= LINES_PER_WINDOW) {
        ++window.suppressed;
        return false;
    }
    ++window.lines;
    return true;
}

QList<CPeerLogLimiter::SUPPRESSED> CPeerLogLimiter::Expire(qint64 now)
{
    QList<SUPPRESSED> told;
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        if (now - it->start < WINDOW_MS) {
            ++it;
            continue;
        }
        if (it->suppressed > 0)
            told.append({ it.key(), it->suppressed });
        it = m_windows.erase(it);
    }
    return told;
}
