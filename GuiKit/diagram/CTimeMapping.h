#pragma once

#include "GuiKitExport.h"
#include "diagram/DIAGRAM_RANGES.h"

#include <QRect>

#include <algorithm>

// Pixel positions of times and levels in a plot, from a copy of the visible
// ranges taken when it is built. x(t) = left + (t - min) * width / span in
// integer arithmetic (exact for any span); y(v) = top + height * (v - max) /
// (min - max), truncated. Values far outside the window give positions far
// outside the plot, never an overflow.
class GUIKIT_EXPORT CTimeMapping
{
public:
    CTimeMapping(const DIAGRAM_RANGES& ranges, const QRect& plotRect);

    // A computed pixel position as an int that painting can take: NaN
    // gives 0, and far-out values stop well short of overflowing.
    static int ClampedInt(double v);
    // Time labels and grid lines stand at least this far apart.
    static constexpr int TIME_STEP_MIN_PIXELS = 70;
    // Their step for a window of `span` seconds over `pixels`: the first
    // power of two seconds that keeps them TIME_STEP_MIN_PIXELS apart, so
    // that any window has a bounded number of them; never more than the
    // window.
    static quint64 TimeStep(quint64 span, int pixels);

    // A window of at least one second on a plot at least one pixel wide.
    bool HasTimeAxis() const { return m_nSpan > 0 && m_nWidth > 0; }
    // A finite, non-empty level range on a plot at least one pixel high.
    bool HasLevelAxis() const { return m_bLevels; }

    quint64 VisibleMin() const { return m_nMin; }
    quint64 VisibleMax() const { return m_nMax; }

    // Consecutive calls with times in one pixel column cost a comparison:
    // a drawing walks its values in time order.
    int X(quint64 t)
    {
        if (t >= m_nMin) {
            const quint64 d = t - m_nMin;
            if (d >= m_nColumnFrom && d < m_nColumnTo)
                return m_nColumnX;
            return ColumnX(d, t);
        }
        m_nColumnFrom = 1;
        m_nColumnTo = 0;
        m_nNextColumnTime = t + 1;
        return BeforeX(m_nMin - t);
    }

    // The earliest time after the last X(t) that maps to another column.
    quint64 NextColumnTime() const { return m_nNextColumnTime; }

    // Levels of the visible range map into the plot; others may not.
    double LevelLow() const { return std::min(m_dYMin, m_dYMax); }
    double LevelHigh() const { return std::max(m_dYMin, m_dYMax); }

    // False for a level that maps to no row (NaN, or no level axis).
    bool Y(double v, int& y) const;

    // The time under pixel column x of the plot (x counted in the widget).
    quint64 TimeAt(int x) const;

private:
    int ColumnX(quint64 d, quint64 t);
    int BeforeX(quint64 d) const;

    quint64 m_nMin = 0;
    quint64 m_nMax = 0;
    quint64 m_nSpan = 0;
    int m_nLeft = 0;
    int m_nWidth = 0;
    int m_nTop = 0;
    int m_nHeight = 0;
    double m_dYMin = 0.0;
    double m_dYMax = 0.0;
    bool m_bLevels = false;
    // Offsets from m_nMin that fall into column m_nColumnX: [from, to).
    quint64 m_nColumnFrom = 1;
    quint64 m_nColumnTo = 0;
    int m_nColumnX = 0;
    quint64 m_nNextColumnTime = 0;
};
