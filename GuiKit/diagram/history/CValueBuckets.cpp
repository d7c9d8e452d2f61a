#include "diagram/history/CValueBuckets.h"

#include "diagram/CDiagramValues.h"
#include "diagram/history/CBarReach.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The highest level so far and the value that carries it.
struct PEAK
{
    double level = std::numeric_limits<double>::quiet_NaN();
    qsizetype index = -1;

    void Take(double v, qsizetype i)
    {
        if (!std::isnan(v) && (index < 0 || std::isnan(level) || v > level)) {
            level = v;
            index = i;
        }
    }
};

} // namespace

qsizetype CValueBuckets::ReduceLevels(QList<DATA_VALUE>& values, qsizetype from, qsizetype to, quint64 width)
{
    DATA_VALUE* data = values.data();
    qsizetype out = from;
    for (qsizetype i = from; i < to;) {
        const quint64 bucket = CDiagramValues::Time(data[i].x) / width;
        qsizetype low = -1;
        PEAK high;
        double lowLevel = 0.0;
        qsizetype j = i;
        for (; j < to && CDiagramValues::Time(data[j].x) / width == bucket; ++j) {
            const double v = CDiagramValues::Real(data[j].y);
            if (std::isnan(v))
                continue;
            if (low < 0 || v < lowLevel) {
                low = j;
                lowLevel = v;
            }
            high.Take(v, j);
        }
        if (low < 0) {
            data[out++] = data[i];
        } else {
            // Copies first: the result may overwrite what it is taken from.
            const DATA_VALUE first = data[std::min(low, high.index)];
            const DATA_VALUE second = data[std::max(low, high.index)];
            data[out++] = first;
            if (low != high.index)
                data[out++] = second;
        }
        i = j;
    }
    return out;
}

qsizetype CValueBuckets::ReduceBars(QList<DATA_VALUE>& values, qsizetype from, qsizetype to, quint64 width)
{
    DATA_VALUE* data = values.data();
    const quint64 longest = quint64(std::numeric_limits<int>::max());
    qsizetype out = from;
    for (qsizetype i = from; i < to;) {
        const quint64 start = CDiagramValues::Time(data[i].x);
        quint64 end = CBarReach::EndOf(data[i]);
        PEAK peak;
        peak.Take(CDiagramValues::Real(data[i].y), i);
        qsizetype j = i + 1;
        for (; j < to; ++j) {
            const quint64 next = CDiagramValues::Time(data[j].x);
            const quint64 reach = std::max(end, CBarReach::EndOf(data[j]));
            // A duration is an int: a bar that would outgrow it starts anew.
            if ((next > end && next / width != start / width) || reach - start > longest)
                break;
            end = reach;
            peak.Take(CDiagramValues::Real(data[j].y), j);
        }
        if (j == i + 1) {
            data[out++] = data[i];
        } else {
            const QVariant level = peak.index < 0 ? data[i].y : data[peak.index].y;
            data[out++] = DATA_VALUE { QVariant::fromValue<quint64>(start), level, int(end - start) };
        }
        i = j;
    }
    return out;
}
