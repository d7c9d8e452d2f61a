#include "diagram/CDiagramValues.h"

#include <algorithm>
#include <cmath>
#include <limits>

quint64 CDiagramValues::TimeFromDouble(double seconds)
{
    // 2^64 is exact as a double; anything at or above it saturates.
    const double top = 18446744073709551616.0;
    if (!(seconds > 0.0))
        return 0;
    if (seconds + 0.5 >= top)
        return std::numeric_limits<quint64>::max();
    return quint64(std::floor(seconds + 0.5));
}

quint64 CDiagramValues::TruncatedTime(double seconds)
{
    const double top = 18446744073709551616.0;
    if (!(seconds > 0.0))
        return 0;
    if (seconds >= top)
        return std::numeric_limits<quint64>::max();
    return quint64(seconds);
}

QDateTime CDiagramValues::LocalDateTime(quint64 t)
{
    const quint64 lastSecondOf9999 = 253402300799ULL;
    if (t > lastSecondOf9999)
        return QDateTime();
    return QDateTime::fromSecsSinceEpoch(qint64(t));
}

quint64 CDiagramValues::SlowTime(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return TimeFromDouble(value.toDouble());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::SChar: {
        const qlonglong seconds = value.toLongLong();
        return seconds > 0 ? quint64(seconds) : 0;
    }
    default: return value.toULongLong();
    }
}

int CDiagramValues::FindTime(const QList<DATA_VALUE>& values, quint64 t)
{
    const int count = int(values.size());
    if (t == 0 || count == 0 || t > Time(values.last().x))
        return -1;
    int steps = 0;
    while ((qint64(1) << steps) < count)
        ++steps;
    int lo = 0;
    int hi = count - 1;
    int mid = hi / 2;
    for (int step = 0; step < steps && mid >= 0 && mid < count; ++step) {
        const quint64 x = Time(values.at(mid).x);
        if (x == t)
            return mid;
        if (x >= t)
            hi = mid - 1;
        else
            lo = mid + 1;
        mid = lo + (hi - lo) / 2;
    }
    return mid >= 0 && mid < count ? mid : -1;
}

int CDiagramValues::FirstAtOrAfter(const QList<DATA_VALUE>& values, quint64 t)
{
    return FirstNotEarlier(values, 0, int(values.size()), t);
}

int CDiagramValues::FirstAfter(const QList<DATA_VALUE>& values, quint64 t)
{
    const auto after = std::partition_point(values.cbegin(), values.cend(),
        [t](const DATA_VALUE& value) { return Time(value.x) <= t; });
    return int(after - values.cbegin());
}

int CDiagramValues::FirstNotEarlier(const QList<DATA_VALUE>& values, int from, int to, quint64 t)
{
    if (from >= to)
        return to;
    const auto found = std::partition_point(values.cbegin() + from, values.cbegin() + to,
        [t](const DATA_VALUE& value) { return Time(value.x) < t; });
    return int(found - values.cbegin());
}

int CDiagramValues::NextAtOrAfter(const QList<DATA_VALUE>& values, int from, quint64 t)
{
    const int count = int(values.size());
    int lo = from;
    qint64 step = 1;
    while (lo < count && Time(values.at(lo).x) < t) {
        from = lo + 1;
        const qint64 probe = qint64(from) + step - 1;
        lo = probe < count ? int(probe) : count;
        step *= 2;
    }
    // Now every index below `from` is earlier than t, and `lo` is not (or the end).
    return FirstNotEarlier(values, from, lo, t);
}
