#include "diagram/CRangeGuard.h"

#include "diagram/CDiagramValues.h"

#include <QMutexLocker>

#include <cmath>
#include <limits>

namespace {

using Lock = QMutexLocker<QRecursiveMutex>;

// A span is compared after truncation to whole units, as the widget shows it.
bool SpanAtLeast(double span, int minimum)
{
    return std::trunc(span) >= double(minimum);
}

} // namespace

QRecursiveMutex& CRangeGuard::Mutex()
{
    static QRecursiveMutex mutex;
    return mutex;
}

qint64 CRangeGuard::Seconds(quint64 from, quint64 to)
{
    const quint64 largest = quint64(std::numeric_limits<qint64>::max());
    if (to >= from) {
        const quint64 d = to - from;
        return d > largest ? qint64(largest) : qint64(d);
    }
    const quint64 d = from - to;
    return d > largest ? -qint64(largest) : -qint64(d);
}

quint64 CRangeGuard::AddSeconds(quint64 t, qint64 d)
{
    if (d >= 0) {
        const quint64 room = std::numeric_limits<quint64>::max() - t;
        return quint64(d) > room ? std::numeric_limits<quint64>::max() : t + quint64(d);
    }
    const quint64 back = quint64(-(d + 1)) + 1;
    return back > t ? 0 : t - back;
}

bool CRangeGuard::SetVisibleXMinReal(DIAGRAM_RANGES& ranges, double v)
{
    Lock lock(&Mutex());
    if (!(CDiagramValues::Real(ranges.fullXMin) <= v)
        || !SpanAtLeast(CDiagramValues::Real(ranges.visibleXMax) - v, ranges.minVisibleSpan))
        return false;
    ranges.visibleXMin = v;
    return true;
}

bool CRangeGuard::SetVisibleXMaxReal(DIAGRAM_RANGES& ranges, double v)
{
    Lock lock(&Mutex());
    if (!(v <= CDiagramValues::Real(ranges.fullXMax))
        || !SpanAtLeast(v - CDiagramValues::Real(ranges.visibleXMin), ranges.minVisibleSpan))
        return false;
    ranges.visibleXMax = v;
    return true;
}

bool CRangeGuard::SetVisibleXMinTime(DIAGRAM_RANGES& ranges, quint64 t)
{
    Lock lock(&Mutex());
    if (t < CDiagramValues::Time(ranges.fullXMin)
        || Seconds(t, CDiagramValues::Time(ranges.visibleXMax)) < ranges.minVisibleSeconds)
        return false;
    ranges.visibleXMin = QVariant::fromValue<quint64>(t);
    return true;
}

bool CRangeGuard::SetVisibleXMaxTime(DIAGRAM_RANGES& ranges, quint64 t)
{
    Lock lock(&Mutex());
    if (t > CDiagramValues::Time(ranges.fullXMax)
        || Seconds(CDiagramValues::Time(ranges.visibleXMin), t) < ranges.minVisibleSeconds)
        return false;
    ranges.visibleXMax = QVariant::fromValue<quint64>(t);
    return true;
}

bool CRangeGuard::SetFullXMaxTime(DIAGRAM_RANGES& ranges, quint64 t)
{
    Lock lock(&Mutex());
    if (Seconds(CDiagramValues::Time(ranges.fullXMin), t) < ranges.minVisibleSeconds)
        return false;
    ranges.fullXMax = QVariant::fromValue<quint64>(t);
    if (ranges.visibleXMax.isNull() || CDiagramValues::Time(ranges.visibleXMax) > t)
        ranges.visibleXMax = ranges.fullXMax;
    return true;
}

bool CRangeGuard::SetVisibleYMin(DIAGRAM_RANGES& ranges, double v)
{
    Lock lock(&Mutex());
    if (!(ranges.fullYMin <= v) || !(v <= ranges.visibleYMax - ranges.minVisibleSpan)
        || !SpanAtLeast(std::fabs(ranges.visibleYMax - v), ranges.minVisibleSpan))
        return false;
    ranges.visibleYMin = v;
    return true;
}

bool CRangeGuard::SetVisibleYMax(DIAGRAM_RANGES& ranges, double v)
{
    Lock lock(&Mutex());
    if (!(v <= ranges.fullYMax) || !(v >= ranges.visibleYMin + ranges.minVisibleSpan)
        || !SpanAtLeast(std::fabs(v - ranges.visibleYMin), ranges.minVisibleSpan))
        return false;
    ranges.visibleYMax = v;
    return true;
}

bool CRangeGuard::ShiftTimeWindow(DIAGRAM_RANGES& ranges, qint64 d)
{
    Lock lock(&Mutex());
    const quint64 min = CDiagramValues::Time(ranges.visibleXMin);
    const quint64 max = CDiagramValues::Time(ranges.visibleXMax);
    if (d == 0 || min == 0 || max == 0)
        return false;
    if (d < 0) {
        if (!SetVisibleXMinTime(ranges, AddSeconds(min, d)))
            return false;
        SetVisibleXMaxTime(ranges, AddSeconds(max, d));
        return true;
    }
    if (!SetVisibleXMaxTime(ranges, AddSeconds(max, d)))
        return false;
    SetVisibleXMinTime(ranges, AddSeconds(min, d));
    return true;
}

bool CRangeGuard::ShiftRealWindow(DIAGRAM_RANGES& ranges, double d)
{
    Lock lock(&Mutex());
    // 0 is an ordinary bound on a real axis (a sample position, a frequency);
    // only an unset window stays where it is.
    if (!(d != 0.0) || ranges.visibleXMin.isNull() || ranges.visibleXMax.isNull())
        return false;
    const double min = CDiagramValues::Real(ranges.visibleXMin);
    const double max = CDiagramValues::Real(ranges.visibleXMax);
    if (d < 0.0) {
        if (!SetVisibleXMinReal(ranges, min + d))
            return false;
        SetVisibleXMaxReal(ranges, max + d);
        return true;
    }
    if (!SetVisibleXMaxReal(ranges, max + d))
        return false;
    SetVisibleXMinReal(ranges, min + d);
    return true;
}
