#pragma once

#include "GuiKitExport.h"

#include <QDeadlineTimer>

// When to try again for a server that went away: soon after the loss, then
// ever less often, so that a server down for long costs its clients little
// and one back after a restart is found quickly.
class GUIKIT_EXPORT CReconnectSchedule
{
public:
    CReconnectSchedule(int firstMs, int maxMs);

    void SetDelays(int firstMs, int maxMs);
    // The link was lost: the first attempt after the first delay.
    void Start();
    // That attempt failed: the next after twice the last delay, at most the
    // longest.
    void Failed();
    // Won back, or given up.
    void Stop();
    bool Active() const { return m_bActive; }
    bool Due() const { return m_bActive && m_next.hasExpired(); }
    int Delay() const { return m_nDelayMs; }

private:
    int m_nFirstMs;
    int m_nMaxMs;
    int m_nDelayMs;
    bool m_bActive = false;
    QDeadlineTimer m_next;
};
