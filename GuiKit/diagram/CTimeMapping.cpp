#include "diagram/CTimeMapping.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CRangeGuard.h"

#include <QMutexLocker>

#include <cmath>
#include <limits>

namespace {

// Positions beyond this distance from the plot are all alike: not drawn.
const quint64 FAR_PIXELS = quint64(1) << 28;

#if defined(__SIZEOF_INT128__)
using Wide = unsigned __int128;

quint64 MulDiv(quint64 a, quint64 b, quint64 c)
{
    const Wide q = Wide(a) * b / c;
    return q > Wide(std::numeric_limits<quint64>::max()) ? std::numeric_limits<quint64>::max() : quint64(q);
}

quint64 MulDivUp(quint64 a, quint64 b, quint64 c)
{
    const Wide q = (Wide(a) * b + c - 1) / c;
    return q > Wide(std::numeric_limits<quint64>::max()) ? std::numeric_limits<quint64>::max() : quint64(q);
}
#else
// Without 128-bit integers the products are exact while they fit 64 bits,
// which covers every window shorter than several centuries.
quint64 MulDiv(quint64 a, quint64 b, quint64 c)
{
    if (b == 0 || a <= std::numeric_limits<quint64>::max() / b)
        return a * b / c;
    return quint64(std::min<long double>((long double)a * b / c, 1.8e19L));
}

quint64 MulDivUp(quint64 a, quint64 b, quint64 c)
{
    if (b == 0 || a <= (std::numeric_limits<quint64>::max() - c) / b)
        return (a * b + c - 1) / c;
    return quint64(std::min<long double>(std::ceil((long double)a * b / c), 1.8e19L));
}
#endif

} // namespace

CTimeMapping::CTimeMapping(const DIAGRAM_RANGES& ranges, const QRect& plotRect)
    : m_nLeft(plotRect.left())
    , m_nWidth(plotRect.width())
    , m_nTop(plotRect.top())
    , m_nHeight(plotRect.height())
{
    QMutexLocker lock(&CRangeGuard::Mutex());
    m_nMin = CDiagramValues::Time(ranges.visibleXMin);
    m_nMax = CDiagramValues::Time(ranges.visibleXMax);
    m_nSpan = m_nMax > m_nMin ? m_nMax - m_nMin : 0;
    m_dYMin = ranges.visibleYMin;
    m_dYMax = ranges.visibleYMax;
    const double span = m_dYMin - m_dYMax;
    m_bLevels = m_nHeight > 0 && std::isfinite(span) && span != 0.0;
}

int CTimeMapping::ColumnX(quint64 d, quint64 t)
{
    // Until a column is known, each time is a column of its own.
    m_nColumnFrom = 1;
    m_nColumnTo = 0;
    m_nNextColumnTime = t == std::numeric_limits<quint64>::max() ? t : t + 1;
    if (!HasTimeAxis())
        return std::numeric_limits<int>::min() / 2;
    const quint64 width = quint64(m_nWidth);
    const quint64 column = MulDiv(d, width, m_nSpan);
    if (column > FAR_PIXELS)
        return m_nLeft + int(FAR_PIXELS);
    m_nColumnFrom = MulDivUp(column, m_nSpan, width);
    m_nColumnTo = MulDivUp(column + 1, m_nSpan, width);
    m_nColumnX = m_nLeft + int(column);
    const quint64 room = std::numeric_limits<quint64>::max() - m_nMin;
    m_nNextColumnTime = m_nColumnTo > room ? std::numeric_limits<quint64>::max() : m_nMin + m_nColumnTo;
    return m_nColumnX;
}

int CTimeMapping::BeforeX(quint64 d) const
{
    if (!HasTimeAxis())
        return std::numeric_limits<int>::min() / 2;
    // Truncation toward zero, as the signed formula gives.
    const quint64 pixels = MulDiv(d, quint64(m_nWidth), m_nSpan);
    return m_nLeft - int(std::min(pixels, FAR_PIXELS));
}

bool CTimeMapping::Y(double v, int& y) const
{
    if (!m_bLevels)
        return false;
    const double offset = m_nHeight * (v - m_dYMax) / (m_dYMin - m_dYMax);
    if (std::isnan(offset))
        return false;
    const double far = double(FAR_PIXELS);
    y = m_nTop + int(std::max(-far, std::min(far, offset)));
    return true;
}

quint64 CTimeMapping::TimeAt(int x) const
{
    if (!HasTimeAxis() || x <= m_nLeft)
        return m_nMin;
    const quint64 d = MulDiv(quint64(x - m_nLeft), m_nSpan, quint64(m_nWidth));
    const quint64 room = std::numeric_limits<quint64>::max() - m_nMin;
    return d > room ? std::numeric_limits<quint64>::max() : m_nMin + d;
}

int CTimeMapping::ClampedInt(double v)
{
    if (std::isnan(v))
        return 0;
    const double limit = 1 << 28;
    return int(std::max(-limit, std::min(limit, v)));
}

quint64 CTimeMapping::TimeStep(quint64 span, int pixels)
{
    if (span == 0 || pixels <= 0)
        return 1;
    const double pxPerSec = pixels / double(span);
    quint64 step = 1;
    while (double(step) * pxPerSec < TIME_STEP_MIN_PIXELS) {
        // A step beyond the window shows nothing; stop before it could wrap.
        if (step > span / 2)
            return span;
        step *= 2;
    }
    return step;
}
