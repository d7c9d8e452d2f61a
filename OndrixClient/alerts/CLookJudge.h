#pragma once

#include "RZ450_LOOK.h"
#include "alerts/ALERT.h"

#include <QList>
#include <QStringList>

class CAlertTracker;
class CBaselineComparator;

// Judges one look at a detector by its alert rules: every band that is
// measured now, in alarm or alerting goes to the tracker, with whether it
// is over the site's baseline when there is a comparison; an offline look
// ends every alert. The client's overview and `ondrixctl watch` judge alike.
class CLookJudge
{
public:
    // names: each band's name (missing ones are "Band N"); comparator may
    // be null.
    static QList<ALERT> Judge(const RZ450_LOOK& look, const QStringList& names, CAlertTracker& tracker,
        CBaselineComparator* comparator, qint64 nowMs);
    // Online, with every band's level and threshold: a look to judge.
    static bool IsWhole(const RZ450_LOOK& look);
    // The lowest band in alarm, an alert or not; -1 for none.
    static int FirstAlarm(const RZ450_LOOK& look);
    static bool AnyAlarm(const RZ450_LOOK& look) { return FirstAlarm(look) >= 0; }
};
