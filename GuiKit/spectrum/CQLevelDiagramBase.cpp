#include "spectrum/CQLevelDiagramBase.h"

#include "diagram/CTimeMapping.h"

#include "diagram/CRangeGuard.h"

#include <QMutexLocker>
#include <QPainter>

#include <cmath>
#include <limits>

namespace {

using Lock = QMutexLocker<QRecursiveMutex>;

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
    const CLevelScale scale = LevelScale();
    const QRect& plot = *m_pPlotRect;
    painter.setPen(m_axisPen);
    for (double level : scale.levels) {
        const int y = scale.Row(*m_pAxisYRect, level, true);
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

CLevelScale CQLevelDiagramBase::LevelScale() const
{
    Lock lock(&CRangeGuard::Mutex());
    return CLevelScale(m_pRanges->visibleYMin, m_pRanges->visibleYMax, m_pAxisYRect->height());
}

void CQLevelDiagramBase::DrawLevelLabels(QPainter& painter, bool fromTop) const
{
    const CLevelScale scale = LevelScale();
    painter.setFont(m_textFont);
    painter.setPen(m_textPen);
    scale.DrawLabels(painter, *m_pAxisYRect, fromTop, tr("dB"),
        [&scale, fromTop](double level) { return fromTop ? scale.visibleMax - std::fabs(level) : level; });
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
    Lock lock(&CRangeGuard::Mutex());
    return CLevelScale::MenuValues(m_pRanges->fullYMin, m_pRanges->fullYMax);
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
