#pragma once

#include "GuiKitExport.h"
#include "reference/NEW_SIGNAL.h"

#include <QList>

#include <vector>

// Finds what stands above a reference: a point is over when the live
// sweep or the max-hold trace exceeds the reference there by more than the
// margin. Adjacent points over it are one emitter, named at its strongest
// point. Points without a value (NaN, no reference there) are never over.
// Pure.
class GUIKIT_EXPORT CNewSignals
{
public:
    static constexpr double DEFAULT_MARGIN_DB = 6.0;
    static constexpr double MAX_MARGIN_DB = 60.0;
    // One sweep's points hold at most half as many separate signals; the
    // bound keeps a damaged sweep from growing the list.
    static constexpr int MAX_SIGNALS = 254;

    // The same number of points in each; maxHold may be empty.
    static QList<NEW_SIGNAL> Find(const std::vector<double>& live, const std::vector<double>& maxHold,
        const std::vector<double>& reference, double marginDb, int rangeStartMhz, int rangeEndMhz);
    // Which points are over the margin, for the graph to mark them.
    static std::vector<bool> Over(const std::vector<double>& live, const std::vector<double>& maxHold,
        const std::vector<double>& reference, double marginDb);

private:
    static bool Candidate(const std::vector<double>& live, const std::vector<double>& maxHold,
        const std::vector<double>& reference, double marginDb, size_t point, NEW_SIGNAL& signal);
};
