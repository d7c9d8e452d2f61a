#pragma once

#include "RZ450_LOOK.h"
#include "overview/OVERVIEW_DETECTOR.h"

#include <QString>

// What a row of the overview shows of its detector: the last look, and
// what the watch made of the looks so far.
struct OVERVIEW_ROW
{
    enum State {
        Connecting, // no look yet
        Online,
        Offline, // the last look found it away, with the reason
        Silent   // no look for a while: its server holds the connection and says nothing
    };

    OVERVIEW_DETECTOR detector;
    QString label;
    State state = Connecting;
    RZ450_LOOK look;
    int level = 0;          // CAlertCenter::Level
    qint64 lookedMs = 0;    // monotonic ms of the last look, or of the row's start
    qint64 lastAlarmMs = 0; // ms since 1970 UTC when a band was last seen in alarm
    QString lastAlarmBand;
};
