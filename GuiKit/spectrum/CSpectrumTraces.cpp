#include "spectrum/CSpectrumTraces.h"

#include "SPECTRUM_SWEEP.h"
#include "spectrum/SpectrumLevels.h"

#include <algorithm>
#include <limits>

CSpectrumTraces::CSpectrumTraces(int averageSweeps)
    : m_nAverageSweeps(std::clamp(averageSweeps, 1, MAX_AVERAGE_SWEEPS))
{
}

bool CSpectrumTraces::Add(const SPECTRUM_SWEEP& sweep)
{
    if (sweep.points.isEmpty() || sweep.levelMinDbm == SpectrumLevels::SEARCH_MODE_MARKER)
        return false;
    if (m_nSweeps == 0 || !SameRange(sweep))
        Start(sweep);
    const size_t points = m_sums.size();
    qint16* row = m_ring.data() + size_t(m_nRingNext) * points;
    const bool full = m_nRingCount == m_nAverageSweeps;
    m_nRingCount = std::min(m_nRingCount + 1, m_nAverageSweeps);
    for (size_t i = 0; i < points; ++i) {
        const int level = sweep.levelMinDbm + int(quint8(sweep.points.at(qsizetype(i))));
        m_traces[MaxHold][i] = std::max(m_traces[MaxHold][i], double(level));
        m_traces[MinHold][i] = std::min(m_traces[MinHold][i], double(level));
        m_sums[i] += level - (full ? row[i] : 0);
        row[i] = qint16(level);
        m_traces[Average][i] = double(m_sums[i]) / m_nRingCount;
    }
    m_nRingNext = (m_nRingNext + 1) % m_nAverageSweeps;
    ++m_nSweeps;
    return true;
}

void CSpectrumTraces::Reset()
{
    for (std::vector<double>& trace : m_traces)
        trace.clear();
    m_ring.clear();
    m_sums.clear();
    m_nRingNext = 0;
    m_nRingCount = 0;
    m_nSweeps = 0;
}

void CSpectrumTraces::SetAverageSweeps(int count)
{
    m_nAverageSweeps = std::clamp(count, 1, MAX_AVERAGE_SWEEPS);
    RestartAverage();
}

void CSpectrumTraces::Start(const SPECTRUM_SWEEP& sweep)
{
    const size_t points = size_t(sweep.points.size());
    m_traces[MaxHold].assign(points, -std::numeric_limits<double>::infinity());
    m_traces[MinHold].assign(points, std::numeric_limits<double>::infinity());
    m_traces[Average].assign(points, 0.0);
    m_nRangeStartMhz = sweep.rangeStartMhz;
    m_nRangeEndMhz = sweep.rangeEndMhz;
    m_nSweeps = 0;
    RestartAverage();
}

bool CSpectrumTraces::SameRange(const SPECTRUM_SWEEP& sweep) const
{
    return size_t(sweep.points.size()) == m_sums.size() && sweep.rangeStartMhz == m_nRangeStartMhz
        && sweep.rangeEndMhz == m_nRangeEndMhz;
}

void CSpectrumTraces::RestartAverage()
{
    const size_t points = m_traces[MaxHold].size();
    m_ring.assign(points * size_t(m_nAverageSweeps), 0);
    m_sums.assign(points, 0);
    m_nRingNext = 0;
    m_nRingCount = 0;
}
