#pragma once

#include <QByteArray>
#include <QtGlobal>

// One sweep of the scan band as the spectrum window shows it: the points
// (one level byte each) and what the labels around them say. The live
// recording stores it as it stands and a replay hands it back unchanged.
struct SPECTRUM_SWEEP
{
    // A point count that fits a byte, 255 left for "no spectrum" in a
    // recording; the live detector sends 160.
    static constexpr int MAX_POINTS = 254;

    quint64 time = 0; // seconds since 1970-01-01 UTC
    QByteArray points;
    int rangeStartMhz = 0;
    int rangeEndMhz = 0;
    int signalFreq = 0;  // MHz
    int levelMinDbm = 0; // the level of a point of 0; the search marker when searching
    int signalLevel = 0; // dBm
    int noiseLevel = 0;  // dBm
    int signalNo = 0;

    bool operator==(const SPECTRUM_SWEEP& other) const
    {
        return points == other.points && rangeStartMhz == other.rangeStartMhz && rangeEndMhz == other.rangeEndMhz
            && signalFreq == other.signalFreq && levelMinDbm == other.levelMinDbm && signalLevel == other.signalLevel
            && noiseLevel == other.noiseLevel && signalNo == other.signalNo;
    }
    bool operator!=(const SPECTRUM_SWEEP& other) const { return !(*this == other); }
};
