#pragma once

#include <algorithm>
#include <cmath>

// Where a sweep's points lie in frequency: the first point sits on the
// range's start, the last on its end, the others evenly between. The bar
// graph, the waterfall and the markers all name points this way, so a
// readout and a marker never disagree by a point.
namespace SpectrumPoints {

inline double Mhz(int rangeStartMhz, int rangeEndMhz, int point, int count)
{
    if (count < 2)
        return rangeStartMhz;
    return rangeStartMhz + double(rangeEndMhz - rangeStartMhz) * point / (count - 1);
}

// The nearest point to a frequency, held inside the sweep.
inline int PointAt(int rangeStartMhz, int rangeEndMhz, double mhz, int count)
{
    if (count < 2 || rangeEndMhz == rangeStartMhz)
        return 0;
    const double point = (mhz - rangeStartMhz) * (count - 1) / (rangeEndMhz - rangeStartMhz);
    return std::clamp(int(std::lround(point)), 0, count - 1);
}

} // namespace SpectrumPoints
