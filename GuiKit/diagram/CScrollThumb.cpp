#include "diagram/CScrollThumb.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CTimeMapping.h"

CScrollThumb CScrollThumb::Read(const DIAGRAM_RANGES& ranges, bool time, const QVariant& position)
{
    const auto number = [time](const QVariant& value) {
        return time ? double(CDiagramValues::Time(value)) : CDiagramValues::Real(value);
    };
    return CScrollThumb { number(position), number(ranges.fullXMin), number(ranges.fullXMax),
        number(ranges.visibleXMin), number(ranges.visibleXMax) };
}

QRect CScrollThumb::Rect(const QRect& bar) const
{
    const double barWidth = bar.width();
    const double fullSpan = fullMax - fullMin;
    double thumbX = bar.left() + 2;
    double thumbWidth = barWidth - 4;
    // A full range without extent shows the whole bar, like a window wider than it.
    if (fullSpan > 0.0) {
        thumbWidth = barWidth * (visibleMax - visibleMin) / fullSpan;
        if (thumbWidth < 0.0)
            thumbWidth = 1.0;
        thumbX = bar.left() + (position - fullMin) * barWidth / fullSpan + 2;
        if (thumbWidth > barWidth) {
            thumbX = bar.left() + 2;
            thumbWidth = barWidth - 4;
        }
    }
    if (thumbX + thumbWidth > bar.right())
        thumbWidth = bar.right() - thumbX - 1;
    return QRect(CTimeMapping::ClampedInt(thumbX), bar.top() + 2, CTimeMapping::ClampedInt(thumbWidth),
        bar.height() - 3);
}
