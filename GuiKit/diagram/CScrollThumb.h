#pragma once

#include "diagram/DIAGRAM_RANGES.h"

#include <QRect>
#include <QVariant>

// The scroll indicator's thumb: where the visible window stands in the full
// range. The numbers are doubles, since times and real values both reach
// it, and may be huge or NaN; the rectangle stays paintable all the same.
class CScrollThumb
{
public:
    // The ranges read as times (seconds) or as real numbers.
    static CScrollThumb Read(const DIAGRAM_RANGES& ranges, bool time, const QVariant& position);

    QRect Rect(const QRect& bar) const;

    double position = 0.0;
    double fullMin = 0.0;
    double fullMax = 0.0;
    double visibleMin = 0.0;
    double visibleMax = 0.0;
};
