#pragma once

#include <QString>
#include <QtGlobal>

// What a baseline says of one band: the levels it showed over the capture,
// in dBm as the records carry them.
struct BAND_BASELINE
{
    int band = 0;
    QString name; // as the records name the band (CBandName::Plain shows it)
    double dMedian = 0.0;
    double dP95 = 0.0;
    double dMax = 0.0;
    qint64 nSamples = 0;
};
