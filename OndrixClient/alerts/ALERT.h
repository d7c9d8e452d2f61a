#pragma once

#include <QString>
#include <QtGlobal>

// One alert: a band's trouble that lasted as long as a rule asks. It is
// reported twice, when it starts and when it ends; an acknowledgement
// names who heard of it.
struct ALERT
{
    quint64 sequence = 0; // counts up per tracker, starts and ends alike
    bool start = true;
    QString detector;
    int band = 0;
    QString bandName;
    // Milliseconds since 1970 UTC. The start is when the trouble began,
    // not when it had lasted long enough to alert.
    qint64 startedMs = 0;
    qint64 endedMs = 0; // 0 while it lasts
    int levelDbm = 0;
    int peakDbm = 0;
    bool overBaseline = false;
    QString acknowledgedBy;
    qint64 acknowledgedMs = 0;

    qint64 DurationMs() const { return endedMs > startedMs ? endedMs - startedMs : 0; }
};
