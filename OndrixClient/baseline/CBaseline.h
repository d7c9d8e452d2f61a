#pragma once

#include "baseline/BAND_BASELINE.h"

#include <QDateTime>
#include <QList>
#include <QString>

// A site's band levels as captured once (CBaselineStats), kept in the
// site's folder (CBaselineFile) and compared with later data
// (CBaselineComparator). A plain value, copied freely.
class CBaseline
{
public:
    QString site;
    QDateTime start;     // UTC, the capture's first record
    qint64 nSeconds = 0; // from the first record to the last, both counted
    // The detector the levels came from, as its records or recording name
    // it; empty when they did not say.
    QString device;
    QList<BAND_BASELINE> bands; // by band number

    // The band's entry, or null when the capture never saw the band.
    const BAND_BASELINE* Find(int band) const;
    qint64 Samples() const;
};
