#pragma once

#include "GuiKitExport.h"

#include <QString>

#include <array>
#include <vector>

// Up to four markers, each on a trace of the user's choice and on one point
// of it. The class only knows points and levels; the graph hands it the
// trace's dBm values, so live bars, holds, the average and a reference are
// all the same to it.
class GUIKIT_EXPORT CSpectrumMarkers
{
public:
    static constexpr int MARKER_COUNT = 4;
    enum Direction { Left = -1, Right = 1 };

    struct MARKER
    {
        bool active = false;
        int trace = 0;
        int point = 0;
    };

    // The point with the highest level (the first of equals), -1 if empty.
    static int Peak(const std::vector<double>& values);
    // The next local maximum past `from` in that direction: a point higher
    // than its neighbours (a plateau counts once, at its first point), or
    // -1 when there is none.
    static int NextPeak(const std::vector<double>& values, int from, Direction direction);

    void Place(int marker, int trace, int point);
    void Remove(int marker);
    // Moves by `step` points, held inside a sweep of `count` points.
    void Move(int marker, int step, int count);
    void ToPeak(int marker, const std::vector<double>& values);
    // False when there is no further peak: the marker stays.
    bool ToNextPeak(int marker, const std::vector<double>& values, Direction direction);
    const MARKER& Marker(int marker) const { return m_markers[size_t(marker)]; }
    bool IsValid(int marker) const { return marker >= 0 && marker < MARKER_COUNT; }

    // "M1  433.9 MHz  -61.5 dBm"
    static QString ReadoutText(int marker, double mhz, double dbm);
    // "Δ M2−M1  +12.5 MHz  -3.0 dB"
    static QString DeltaText(int marker, int reference, double deltaMhz, double deltaDb);

private:
    std::array<MARKER, MARKER_COUNT> m_markers;
};
