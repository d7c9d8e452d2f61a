#include "reference/CNewSignals.h"

#include "spectrum/SpectrumPoints.h"

#include <algorithm>
#include <cmath>

QList<NEW_SIGNAL> CNewSignals::Find(const std::vector<double>& live, const std::vector<double>& maxHold,
    const std::vector<double>& reference, double marginDb, int rangeStartMhz, int rangeEndMhz)
{
    QList<NEW_SIGNAL> found;
    const size_t points = std::min(live.size(), reference.size());
    bool inSignal = false;
    for (size_t i = 0; i < points && found.size() < MAX_SIGNALS; ++i) {
        NEW_SIGNAL signal;
        if (!Candidate(live, maxHold, reference, marginDb, i, signal)) {
            inSignal = false;
            continue;
        }
        signal.point = int(i);
        signal.mhz = SpectrumPoints::Mhz(rangeStartMhz, rangeEndMhz, int(i), int(live.size()));
        if (!inSignal)
            found.append(signal);
        else if (signal.levelDbm > found.last().levelDbm)
            found.last() = signal;
        inSignal = true;
    }
    return found;
}

std::vector<bool> CNewSignals::Over(const std::vector<double>& live, const std::vector<double>& maxHold,
    const std::vector<double>& reference, double marginDb)
{
    std::vector<bool> over(live.size(), false);
    const size_t points = std::min(live.size(), reference.size());
    NEW_SIGNAL signal;
    for (size_t i = 0; i < points; ++i)
        over[i] = Candidate(live, maxHold, reference, marginDb, i, signal);
    return over;
}

// The live sweep comes first: what is on the air now matters more than
// what the max hold caught once since its reset.
bool CNewSignals::Candidate(const std::vector<double>& live, const std::vector<double>& maxHold,
    const std::vector<double>& reference, double marginDb, size_t point, NEW_SIGNAL& signal)
{
    const double level = reference[point];
    if (!std::isfinite(level))
        return false;
    const double liveExcess = live[point] - level;
    if (std::isfinite(liveExcess) && liveExcess > marginDb) {
        signal = { int(point), 0.0, live[point], liveExcess, NEW_SIGNAL::Live };
        return true;
    }
    if (point >= maxHold.size())
        return false;
    const double holdExcess = maxHold[point] - level;
    if (std::isfinite(holdExcess) && holdExcess > marginDb) {
        signal = { int(point), 0.0, maxHold[point], holdExcess, NEW_SIGNAL::MaxHold };
        return true;
    }
    return false;
}
