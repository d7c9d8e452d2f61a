#include "CQLevelDiagramBase.h"

#include "CTimeMapping.h"

#include "CRangeGuard.h"

#include <QMutexLocker>
#include <QPainter>

#include <cmath>
#include <limits>

namespace {

using Lock = QMutexLocker<QRecursiveMutex>;

const int LEVEL_MIN_PIXELS = 20;
const int MAX_MENU_ENTRIES = 1000;

} // namespace

CQLevelDiagramBase::CQLevelDiagramBase(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges)
    : m_pPlotRect(plotRect)
    , m_pAxisYRect(axisYRect)
    , m_pRanges(ranges)
    , m_gridPen(QBrush(QColor(50, 60, 60, 255)), 1, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin)
    , m_axisPen(QBrush(Qt::white), 2)
    , m_textPen(Qt::white)
    , m_textFont(QStringLiteral("Arial"), 7, QFont::Bold)
{
}

void CQLevelDiagramBase::AppendValue(int, const DATA_VALUE&, QList<DATA_VALUE>&, bool)
{
}

void CQLevelDiagramBase::DrawAxisYTicks(QPainter& painter, const QList<DATA_LINE*>&)
{
    const LEVEL_SCALE scale = LevelScale();
    const QRect& plot = *m_pPlotRect;
    painter.setPen(m_axisPen);
    for (double level : scale.levels) {
        const int y = LevelRow(scale, level, true);
        painter.drawLine(plot.left(), y, plot.left() + 2, y);
    }
}

void CQLevelDiagramBase::UpdateLayout()
{
}

bool CQLevelDiagramBase::IsScrollableX()
{
    return false;
}

bool CQLevelDiagramBase::IsScrollableY()
{
    return false;
}

bool CQLevelDiagramBase::IsAxisYScrollable()
{
    return true;
}

void CQLevelDiagramBase::ScrollPlot(const QPoint&, int, double)
{
}

void CQLevelDiagramBase::ShowPlotMenu(const QPoint&)
{
}

bool CQLevelDiagramBase::GetDataAtPos(bool, const QPoint&, const QList<DATA_LINE*>&, QList<QVariant>&)
{
    return false;
}

CQLevelDiagramBase::LEVEL_SCALE CQLevelDiagramBase::LevelScale() const
{
    LEVEL_SCALE scale;
    {
        Lock lock(&CRangeGuard::Mutex());
        scale.visibleMin = m_pRanges->visibleYMin;
        scale.visibleMax = m_pRanges->visibleYMax;
    }
    scale.pxPerUnit = std::fabs(m_pAxisYRect->height() / (scale.visibleMax - scale.visibleMin));
    // A strip without height or an empty or endless range has no scale.
    if (!(scale.pxPerUnit > 0.0) || !std::isfinite(scale.pxPerUnit))
        return scale;
    const double multiple = std::max(1.0, std::ceil(LEVEL_MIN_PIXELS / (5.0 * scale.pxPerUnit)));
    if (multiple > 1e12)
        return scale;
    scale.step = 5.0 * multiple;
    for (int i = 1;; ++i) {
        const double level = scale.visibleMin + i * scale.step;
        if (!(level < scale.visibleMax) || scale.levels.size() > m_pAxisYRect->height())
            break;
        scale.levels.append(level);
    }
    return scale;
}

int CQLevelDiagramBase::LevelRow(const LEVEL_SCALE& scale, double level, bool fromTop) const
{
    const double offset = (level - scale.visibleMin) * scale.pxPerUnit;
    if (fromTop)
        return CTimeMapping::ClampedInt(m_pAxisYRect->top() + offset);
    return CTimeMapping::ClampedInt(m_pAxisYRect->bottom() - offset);
}

void CQLevelDiagramBase::DrawLevelLabels(QPainter& painter, bool fromTop) const
{
    const LEVEL_SCALE scale = LevelScale();
    const QRect& strip = *m_pAxisYRect;
    const int h = CTimeMapping::ClampedInt(scale.step * scale.pxPerUnit);
    painter.setFont(m_textFont);
    painter.setPen(m_textPen);
    for (double level : scale.levels) {
        const int y = LevelRow(scale, level, fromTop);
        const double shown = fromTop ? scale.visibleMax - std::fabs(level) : level;
        painter.drawText(QRect(strip.left(), y - h / 2, strip.width(), h), Qt::AlignCenter,
            QStringLiteral("%1 %2").arg(QString::number(shown, 'f', 0), tr("dB")));
    }
}

bool CQLevelDiagramBase::MoveLevelBound(const QPoint& pressPos, double delta)
{
    const QRect& strip = *m_pAxisYRect;
    if (!std::isfinite(delta))
        return false;
    const QRect upper(strip.left(), strip.top(), strip.width(), strip.height() / 2);
    Lock lock(&CRangeGuard::Mutex());
    if (upper.contains(pressPos))
        return CRangeGuard::SetVisibleYMax(*m_pRanges, m_pRanges->visibleYMax - delta);
    return CRangeGuard::SetVisibleYMin(*m_pRanges, m_pRanges->visibleYMin - delta);
}

double CQLevelDiagramBase::UnitsPerPixel() const
{
    if (m_pAxisYRect->height() <= 0)
        return 0.0;
    Lock lock(&CRangeGuard::Mutex());
    return (m_pRanges->fullYMax - m_pRanges->fullYMin) / m_pAxisYRect->height();
}

QList<int> CQLevelDiagramBase::LevelMenuValues() const
{
    double min = 0.0;
    double max = 0.0;
    {
        Lock lock(&CRangeGuard::Mutex());
        min = m_pRanges->fullYMin;
        max = m_pRanges->fullYMax;
    }
    QList<int> values;
    const double limit = std::numeric_limits<int>::max() - 20;
    if (!std::isfinite(min) || !std::isfinite(max) || std::fabs(min) > limit || std::fabs(max) > limit)
        return values;
    // A range of thousands of steps would make a menu nobody can use.
    for (int v = int(min + 10); v <= max && values.size() < MAX_MENU_ENTRIES; v += 10)
        values.append(v);
    return values;
}

void CQLevelDiagramBase::ApplyLevelMenuChoice(const QObject* action)
{
    if (action == nullptr)
        return;
    const int level = action->objectName().toInt();
    if (level == 0)
        return;
    Lock lock(&CRangeGuard::Mutex());
    CRangeGuard::SetVisibleYMin(*m_pRanges, 0);
    CRangeGuard::SetVisibleYMax(*m_pRanges, level);
}
