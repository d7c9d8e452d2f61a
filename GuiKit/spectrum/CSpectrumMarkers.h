#pragma once

#include "GuiKitExport.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

// Up to four markers, each on a trace of the user's choice and on one point
// of it. The class only knows points and levels; the graph hands it the
// trace's dBm values, so live bars, holds, the average and a reference are
// all the same to it. A marker may follow the peak of its trace, sweep
// after sweep, and may be a delta marker against another one: by default
// the second against the first.
class GUIKIT_EXPORT CSpectrumMarkers
{
public:
    static constexpr int MARKER_COUNT = 4;
    static constexpr int NO_REFERENCE = -1;
    enum Direction { Left = -1, Right = 1 };
    // The dBm values of a trace, by the trace's number.
    using TraceValues = std::function<const std::vector<double>&(int trace)>;

    struct MARKER
    {
        bool active = false;
        int trace = 0;
        int point = 0;
        bool followsPeak = false;
        // The marker this one is a delta against; kept while that one is
        // removed, so that placing it again brings the delta back.
        int reference = NO_REFERENCE;
    };

    CSpectrumMarkers();

    // The point with the highest level (the first of equals), -1 if empty;
    // points without a level (NaN) are passed over.
    static int Peak(const std::vector<double>& values);
    // The next local maximum past `from` in that direction: a point higher
    // than its neighbours (a plateau counts once, at its first point), or
    // -1 when there is none.
    static int NextPeak(const std::vector<double>& values, int from, Direction direction);

    // A marker placed by hand stops following the peak.
    void Place(int marker, int trace, int point);
    void Remove(int marker);
    void RemoveAll();
    bool AnyActive() const;
    // Moves by `step` points, held inside a sweep of `count` points.
    void Move(int marker, int step, int count);
    void ToPeak(int marker, const std::vector<double>& values);
    // False when there is no further peak: the marker stays.
    bool ToNextPeak(int marker, const std::vector<double>& values, Direction direction);
    void SetTrace(int marker, int trace);
    // Following starts on the peak at once, and places a removed marker.
    void SetFollowsPeak(int marker, bool follows, const std::vector<double>& values);
    // Each following marker onto the peak of its trace, as a new sweep
    // comes.
    void MoveFollowers(const TraceValues& values);
    // A marker cannot be a delta against itself: that is refused.
    void SetReference(int marker, int reference);
    // The reference after this marker's present one: the next active
    // marker other than itself, and after the last none.
    int NextReference(int marker) const;
    // Keeps each marker on its frequency when the sweep's range or number
    // of points changes, held inside the new sweep.
    void Rescale(int oldStartMhz, int oldEndMhz, int oldCount, int newStartMhz, int newEndMhz, int newCount);
    const MARKER& Marker(int marker) const { return m_markers[size_t(marker)]; }
    bool IsValid(int marker) const { return marker >= 0 && marker < MARKER_COUNT; }

    // "M1  433.9 MHz  -61.5 dBm", "M1 pk  433.9 MHz  -61.5 dBm  Max hold":
    // a marker that follows the peak says so; a trace other than the live
    // bars is named.
    static QString ReadoutText(int marker, double mhz, double dbm, bool followsPeak = false,
        const QString& trace = QString());
    // "Δ M2−M1  +12.5 MHz  -3.0 dB"
    static QString DeltaText(int marker, int reference, double deltaMhz, double deltaDb);

private:
    std::array<MARKER, MARKER_COUNT> m_markers;
};
