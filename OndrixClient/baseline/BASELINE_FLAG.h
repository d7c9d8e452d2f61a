#pragma once

#include <QString>
#include <QtGlobal>

// A time a band stood over its baseline's 95th percentile by more than the
// margin: from the first record over to the last one (seconds since 1970
// UTC), its highest level and how far that was over the 95th percentile.
struct BASELINE_FLAG
{
    int band = 0;
    QString name;
    quint64 start = 0;
    quint64 end = 0;
    double dPeak = 0.0;   // dBm
    double dExcess = 0.0; // dB over the band's 95th percentile
    // Still over at the last record: the interval may go on.
    bool bRunning = false;
    // The intervals this stands for: 1 for one interval, more for a band's
    // intervals summed up (CBaselineComparator::Bands).
    qint64 nIntervals = 1;
};
