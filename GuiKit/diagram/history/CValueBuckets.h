#pragma once

#include "GuiKitExport.h"
#include "diagram/DATA_VALUE.h"

#include <QList>

// Reductions of a run of values sorted by time into buckets of `width`
// seconds (bucket k holds the times [k * width, k * width + width)). Each
// writes its result over the run from its start, in time order, and returns
// where the result ends; what lies beyond is left for the caller to remove.
// Reducing a result again with the same width gives the same result.
class GUIKIT_EXPORT CValueBuckets
{
public:
    // Each bucket becomes its lowest and its highest level (the first of
    // equal ones), each with its own time, in time order; one value when
    // they are the same. NaN levels count for nothing; a bucket of NaN
    // alone keeps its first value.
    static qsizetype ReduceLevels(QList<DATA_VALUE>& values, qsizetype from, qsizetype to, quint64 width);

    // Bars that touch or overlap, or start in the bucket of the bar being
    // built, become one bar from the first start to the last end, at the
    // highest level. A bar left alone is kept as it is.
    static qsizetype ReduceBars(QList<DATA_VALUE>& values, qsizetype from, qsizetype to, quint64 width);
};
