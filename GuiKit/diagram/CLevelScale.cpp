#include "diagram/CLevelScale.h"

#include "diagram/CTimeMapping.h"
#include "paint/CLabelCache.h"

#include <QPainter>
#include <QString>

#include <cmath>
#include <cstdlib>
#include <limits>

CLevelScale::CLevelScale(double min, double max, int stripHeight)
    : pxPerUnit(stripHeight / (max - min))
    , visibleMin(min)
    , visibleMax(max)
{
    step = Step(pxPerUnit, MIN_PIXELS);
    if (step == 0.0)
        return;
    for (int i = 1;; ++i) {
        const double level = visibleMin + i * step;
        if (!(level < visibleMax) || levels.size() > stripHeight)
            break;
        levels.append(level);
    }
}

double CLevelScale::Step(double pxPerUnit, int minPixels)
{
    if (!(pxPerUnit > 0.0) || !std::isfinite(pxPerUnit))
        return 0.0;
    // The loops correct what rounding did to the first guess.
    double multiple = std::max(1.0, std::ceil(minPixels / (5.0 * pxPerUnit)));
    if (multiple > 1e12)
        return 0.0;
    while (5.0 * multiple * pxPerUnit < minPixels)
        multiple += 1.0;
    while (multiple > 1.0 && 5.0 * (multiple - 1.0) * pxPerUnit >= minPixels)
        multiple -= 1.0;
    return 5.0 * multiple;
}

int CLevelScale::Row(const QRect& strip, double level, bool downwards) const
{
    const double offset = (level - visibleMin) * pxPerUnit;
    if (downwards)
        return CTimeMapping::ClampedInt(strip.top() + offset);
    return CTimeMapping::ClampedInt(strip.bottom() - offset);
}

void CLevelScale::DrawLabels(QPainter& painter, const QRect& strip, bool downwards, const QString& unit,
    const std::function<double(double)>& shown, CLabelCache* labels) const
{
    const int h = CTimeMapping::ClampedInt(step * pxPerUnit);
    for (double level : levels) {
        const int y = Row(strip, level, downwards);
        const QRect place(strip.left(), y - h / 2, strip.width(), h);
        const QString text = QStringLiteral("%1 %2").arg(QString::number(shown(level), 'f', 0), unit);
        if (labels != nullptr)
            labels->DrawCentred(painter, place, text);
        else
            painter.drawText(place, Qt::AlignCenter, text);
    }
}

QList<int> CLevelScale::MenuValues(double min, double max, int span)
{
    QList<int> values;
    const double limit = std::numeric_limits<int>::max() - 20;
    if (!std::isfinite(min) || !std::isfinite(max) || std::fabs(min) > limit || std::fabs(max) > limit)
        return values;
    // A range of thousands of steps would make a menu nobody can use.
    int v = int(min + 10);
    for (int steps = 0; v <= max && values.size() < MAX_MENU_ENTRIES && steps < 4 * MAX_MENU_ENTRIES;
         ++steps, v += 10) {
        if (span < 0 || std::abs(v) > span)
            values.append(v);
    }
    return values;
}
