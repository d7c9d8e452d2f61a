#pragma once

#include "alerts/ALERT_WINDOW.h"

#include <QList>

// When a band's trouble becomes an alert for a person: which bands, how
// long the trouble must last, which condition, and when the rule holds.
struct ALERT_RULE
{
    enum Condition {
        Alarm,       // the detector's alarm: its indication flag, or level at or over threshold
        OverBaseline // level over the site baseline's 95th percentile by more than the margin
    };

    static constexpr int DEFAULT_SECONDS = 3;
    static constexpr int MAX_SECONDS = 24 * 60 * 60;

    QList<int> bands; // empty: every band
    int seconds = DEFAULT_SECONDS;
    Condition condition = Alarm;
    QList<ALERT_WINDOW> schedule; // empty: always

    bool operator==(const ALERT_RULE& other) const
    {
        return bands == other.bands && seconds == other.seconds && condition == other.condition
            && schedule == other.schedule;
    }
};
