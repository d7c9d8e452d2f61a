#include "baseline/CBaselineComparator.h"

#include <algorithm>
#include <cmath>
#include <limits>

CBaselineComparator::CBaselineComparator(const CBaseline& baseline, double marginDb)
    : m_baseline(baseline)
    , m_dMargin(marginDb)
{
    m_states.resize(size_t(m_baseline.bands.size()));
    for (int i = 0; i < m_baseline.bands.size(); ++i) {
        const BAND_BASELINE& band = m_baseline.bands.at(i);
        STATE& state = m_states[size_t(i)];
        state.band = band.band;
        state.name = band.name;
        state.dP95 = band.dP95;
        state.dLimit = band.dP95 + m_dMargin;
        state.total.nIntervals = 0;
        m_index.insert(band.band, i);
    }
}

CBaselineComparator::STATE* CBaselineComparator::State(int band)
{
    const auto it = m_index.constFind(band);
    return it == m_index.cend() ? nullptr : &m_states[size_t(*it)];
}

const CBaselineComparator::STATE* CBaselineComparator::State(int band) const
{
    const auto it = m_index.constFind(band);
    return it == m_index.cend() ? nullptr : &m_states[size_t(*it)];
}

void CBaselineComparator::Add(const CRecord& record)
{
    STATE* state = State(record.band);
    if (!state || record.values.isEmpty() || !std::isfinite(record.values.at(0).level))
        return;
    ++m_nCompared;
    const double level = record.values.at(0).level;
    const bool over = level > state->dLimit;
    if (state->bOpen && (!over || record.time >= state->run.end + MAX_GAP_SECONDS))
        Close(*state);
    if (!over)
        return;
    if (!state->bOpen)
        Open(*state, record.time);
    Extend(*state, record.time, level);
}

void CBaselineComparator::AddEvent(const CRecord& record)
{
    STATE* state = State(record.band);
    if (!state || record.values.isEmpty() || !std::isfinite(record.values.at(0).level))
        return;
    ++m_nCompared;
    const double level = record.values.at(0).level;
    if (state->bOpen)
        Close(*state);
    if (level <= state->dLimit)
        return;
    Open(*state, record.time);
    Extend(*state, record.time + quint64(std::max(1, record.duration)) - 1, level);
    Close(*state);
}

void CBaselineComparator::Finish()
{
    for (STATE& state : m_states) {
        if (state.bOpen)
            Close(state);
    }
}

void CBaselineComparator::Open(STATE& state, quint64 time)
{
    state.bOpen = true;
    state.run = BASELINE_FLAG();
    state.run.band = state.band;
    state.run.name = state.name;
    state.run.start = time;
    state.run.end = time;
    state.run.dPeak = -std::numeric_limits<double>::infinity();
    state.run.bRunning = true;
}

void CBaselineComparator::Extend(STATE& state, quint64 to, double level)
{
    state.run.end = std::max(state.run.end, to);
    state.run.dPeak = std::max(state.run.dPeak, level);
    state.run.dExcess = state.run.dPeak - state.dP95;
}

void CBaselineComparator::Close(STATE& state)
{
    state.bOpen = false;
    state.run.bRunning = false;
    Merge(state.total, state.run);
    if (m_flags.size() < MAX_FLAGS)
        m_flags.append(state.run);
    else
        ++m_nDropped;
}

void CBaselineComparator::Merge(BASELINE_FLAG& total, const BASELINE_FLAG& interval)
{
    if (total.nIntervals == 0) {
        total = interval;
        return;
    }
    total.start = std::min(total.start, interval.start);
    total.end = std::max(total.end, interval.end);
    total.dPeak = std::max(total.dPeak, interval.dPeak);
    total.dExcess = std::max(total.dExcess, interval.dExcess);
    total.bRunning = total.bRunning || interval.bRunning;
    total.nIntervals += interval.nIntervals;
}

bool CBaselineComparator::IsFlagged(int band) const
{
    const STATE* state = State(band);
    return state && state->bOpen;
}

double CBaselineComparator::Limit(int band) const
{
    const STATE* state = State(band);
    return state ? state->dLimit : std::numeric_limits<double>::quiet_NaN();
}

QList<BASELINE_FLAG> CBaselineComparator::Flags() const
{
    QList<BASELINE_FLAG> flags = m_flags;
    for (const STATE& state : m_states) {
        if (state.bOpen)
            flags.append(state.run);
    }
    std::stable_sort(flags.begin(), flags.end(), [](const BASELINE_FLAG& a, const BASELINE_FLAG& b) {
        return a.start < b.start || (a.start == b.start && a.band < b.band);
    });
    return flags;
}

QList<BASELINE_FLAG> CBaselineComparator::Bands() const
{
    QList<BASELINE_FLAG> bands;
    for (const STATE& state : m_states) {
        BASELINE_FLAG total = state.total;
        if (state.bOpen)
            Merge(total, state.run);
        if (total.nIntervals > 0)
            bands.append(total);
    }
    std::sort(bands.begin(), bands.end(),
        [](const BASELINE_FLAG& a, const BASELINE_FLAG& b) { return a.band < b.band; });
    return bands;
}
