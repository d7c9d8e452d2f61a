#pragma once

#include "GuiKitExport.h"

#include <QtGlobal>

#include <array>
#include <vector>

struct SPECTRUM_SWEEP;

// The traces a sweep is judged against: the highest and the lowest level
// each point has reached since the last reset, and the average of the last
// sweeps. Levels are dBm, so that sweeps whose scale moved still line up. A
// sweep of another range or number of points starts the traces again: the
// points of two ranges are not the same frequencies.
class GUIKIT_EXPORT CSpectrumTraces
{
public:
    enum Trace { MaxHold, MinHold, Average };
    static constexpr int TRACE_COUNT = 3;
    static constexpr int DEFAULT_AVERAGE_SWEEPS = 10;
    static constexpr int MAX_AVERAGE_SWEEPS = 1000;

    explicit CSpectrumTraces(int averageSweeps = DEFAULT_AVERAGE_SWEEPS);

    // A sweep while searching, or without points, leaves the traces as
    // they are (false).
    bool Add(const SPECTRUM_SWEEP& sweep);
    void Reset();
    // Clamped to 1 .. MAX_AVERAGE_SWEEPS; the average starts again from the
    // next sweep, the holds go on.
    void SetAverageSweeps(int count);
    int AverageSweeps() const { return m_nAverageSweeps; }

    // Sweeps added since the traces started.
    int Sweeps() const { return m_nSweeps; }
    int Points() const { return int(m_traces[MaxHold].size()); }
    int RangeStartMhz() const { return m_nRangeStartMhz; }
    int RangeEndMhz() const { return m_nRangeEndMhz; }
    // dBm for each point; empty before the first sweep.
    const std::vector<double>& Values(Trace trace) const { return m_traces[trace]; }

private:
    void Start(const SPECTRUM_SWEEP& sweep);
    bool SameRange(const SPECTRUM_SWEEP& sweep) const;
    void RestartAverage();

    std::array<std::vector<double>, TRACE_COUNT> m_traces;
    // The last sweeps' levels, a row of Points() each, and their sums: the
    // average costs one subtraction and one addition a point.
    std::vector<qint16> m_ring;
    std::vector<qint64> m_sums;
    int m_nRingNext = 0;
    int m_nRingCount = 0;
    int m_nAverageSweeps;
    int m_nSweeps = 0;
    int m_nRangeStartMhz = 0;
    int m_nRangeEndMhz = 0;
};
