#include "diagram/kinds/CQTimeDiagramBase.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CRangeGuard.h"
#include "diagram/CTimeMapping.h"

#include <QMutexLocker>
#include <QPainter>

#include <cmath>
#include <limits>

namespace {

using Lock = QMutexLocker<QRecursiveMutex>;

} // namespace

CQTimeDiagramBase::CQTimeDiagramBase(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges)
    : m_pPlotRect(plotRect)
    , m_pAxisYRect(axisYRect)
    , m_pRanges(ranges)
    , m_gridPen(QBrush(QColor(50, 60, 60, 255)), 1, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin)
    , m_axisPen(Qt::white, 2)
    , m_textPen(Qt::white)
    , m_textFont(QStringLiteral("Arial"), 7, QFont::Bold)
    , m_boxBrush(QColor(250, 250, 255, 107), Qt::SolidPattern)
    , m_boxPen(Qt::darkBlue)
{
    m_pRanges->firstVisibleIndex = -1;
}

void CQTimeDiagramBase::AttachLineData(QList<DATA_VALUE>&)
{
}

void CQTimeDiagramBase::AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values, bool autoScroll)
{
    const quint64 t = CDiagramValues::Time(value.x);
    Lock lock(&CRangeGuard::Mutex());
    if (t < CDiagramValues::Time(m_pRanges->fullXMin))
        return;
    // A value older than the last one (a log read bank by bank, a clock set
    // back) goes to its place in time: every search relies on the order.
    if (values.isEmpty() || CDiagramValues::Time(values.last().x) <= t)
        values.append(value);
    else
        values.insert(CDiagramValues::FirstAfter(values, t), value);
    if (t < CDiagramValues::Time(m_pRanges->fullXMax))
        return;
    CRangeGuard::SetFullXMaxTime(*m_pRanges, t);
    if (!autoScroll)
        return;
    CRangeGuard::ShiftTimeWindow(*m_pRanges, CRangeGuard::Seconds(CDiagramValues::Time(m_pRanges->visibleXMax), t));
    if (signal == 0 && m_pRanges->firstVisibleIndex != -1)
        ++m_pRanges->firstVisibleIndex;
}

void CQTimeDiagramBase::DrawAxisXLabels(QPainter&, const QRect&)
{
}

bool CQTimeDiagramBase::IsScrollableX()
{
    Lock lock(&CRangeGuard::Mutex());
    return CDiagramValues::Real(m_pRanges->visibleXMin) != CDiagramValues::Real(m_pRanges->fullXMin)
        || CDiagramValues::Real(m_pRanges->visibleXMax) != CDiagramValues::Real(m_pRanges->fullXMax);
}

bool CQTimeDiagramBase::IsScrollableY()
{
    return false;
}

void CQTimeDiagramBase::ScrollPlot(const QPoint&, int dx, double)
{
    if (dx == 0 || m_pPlotRect->width() <= 0)
        return;
    Lock lock(&CRangeGuard::Mutex());
    const qint64 span = CRangeGuard::Seconds(CDiagramValues::Time(m_pRanges->visibleXMin),
        CDiagramValues::Time(m_pRanges->visibleXMax));
    const double seconds = std::trunc(double(dx) * double(span) / m_pPlotRect->width());
    const double limit = 9.0e18;
    CRangeGuard::ShiftTimeWindow(*m_pRanges, qint64(std::max(-limit, std::min(limit, seconds))));
    m_pRanges->firstVisibleIndex = -1;
}

bool CQTimeDiagramBase::ScrollAxisY(const QPoint& pressPos, double dy)
{
    const QRect& strip = *m_pAxisYRect;
    if (strip.height() <= 0)
        return false;
    const QRect upper(strip.left(), strip.top(), strip.width(), strip.height() / 2);
    Lock lock(&CRangeGuard::Mutex());
    const double delta = dy * (m_pRanges->visibleYMax - m_pRanges->visibleYMin) / strip.height();
    if (upper.contains(pressPos))
        return CRangeGuard::SetVisibleYMax(*m_pRanges, m_pRanges->visibleYMax + delta);
    return CRangeGuard::SetVisibleYMin(*m_pRanges, m_pRanges->visibleYMin - delta);
}

void CQTimeDiagramBase::ShowPlotMenu(const QPoint&)
{
}

bool CQTimeDiagramBase::GetToolTipText(bool, const QPoint& pos, const QList<DATA_LINE*>&, QString& text)
{
    if (!m_pAxisYRect->contains(pos))
        return false;
    Lock lock(&CRangeGuard::Mutex());
    const double min = m_pRanges->visibleYMin;
    const double max = m_pRanges->visibleYMax;
    text = tr("Min = %1 dBm<br>Max = %2 dBm<br>Visible range = %3 dBm")
               .arg(QString::number(min, 'f', 2), QString::number(max, 'f', 2), QString::number(max - min, 'f', 2));
    return true;
}

CLevelScale CQTimeDiagramBase::LevelScale() const
{
    Lock lock(&CRangeGuard::Mutex());
    return CLevelScale(m_pRanges->visibleYMin, m_pRanges->visibleYMax, m_pAxisYRect->height());
}

void CQTimeDiagramBase::DrawTimeGrid(QPainter& painter) const
{
    quint64 min = 0;
    quint64 max = 0;
    {
        Lock lock(&CRangeGuard::Mutex());
        min = CDiagramValues::Time(m_pRanges->visibleXMin);
        max = CDiagramValues::Time(m_pRanges->visibleXMax);
    }
    const QRect& plot = *m_pPlotRect;
    if (max <= min || plot.width() <= 0 || plot.height() <= 0)
        return;
    const quint64 span = max - min;
    const double pxPerSec = plot.width() / double(span);
    const quint64 step = CTimeMapping::TimeStep(span, plot.width());
    painter.setPen(m_gridPen);
    // Grid lines sit where the data of their time is drawn.
    for (quint64 offset = step; offset < span; offset += step) {
        const int x = plot.left() + CTimeMapping::ClampedInt(double(offset) * pxPerSec);
        m_gridLines.DrawVertical(painter, m_gridPen, x, plot.top(), plot.bottom());
        if (span - offset <= step)
            break;
    }
}

void CQTimeDiagramBase::DrawLevelGrid(QPainter& painter, bool downwards) const
{
    const CLevelScale scale = LevelScale();
    const QRect& plot = *m_pPlotRect;
    painter.setPen(m_gridPen);
    for (double level : scale.levels) {
        const int y = scale.Row(*m_pAxisYRect, level, downwards);
        m_gridLines.DrawHorizontal(painter, m_gridPen, plot.left(), plot.right(), y);
    }
}

void CQTimeDiagramBase::DrawLevelTicks(QPainter& painter, bool downwards) const
{
    const CLevelScale scale = LevelScale();
    const QRect& plot = *m_pPlotRect;
    painter.setPen(m_axisPen);
    for (double level : scale.levels) {
        const int y = scale.Row(*m_pAxisYRect, level, downwards);
        painter.drawLine(plot.left(), y, plot.left() + 2, y);
    }
}

void CQTimeDiagramBase::DrawLevelLabels(QPainter& painter, bool downwards) const
{
    const CLevelScale scale = LevelScale();
    painter.setFont(m_textFont);
    painter.setPen(m_textPen);
    // Counted from the top, the row of `level` is where the bars put
    // visibleMax - (level - visibleMin); for a range from 0 that is
    // visibleMax - |level|.
    scale.DrawLabels(
        painter, *m_pAxisYRect, downwards, tr("dB"),
        [&scale, downwards](double level) { return downwards ? scale.visibleMax - (level - scale.visibleMin) : level; },
        &m_levelLabels);
}

bool CQTimeDiagramBase::TimeAndLevelAt(const QPoint& pos, bool fullLevels, QList<QVariant>& out) const
{
    const QRect& plot = *m_pPlotRect;
    if (!plot.contains(pos))
        return false;
    const CTimeMapping map(*m_pRanges, plot);
    double top = 0.0;
    double bottom = 0.0;
    {
        Lock lock(&CRangeGuard::Mutex());
        top = fullLevels ? m_pRanges->fullYMax : m_pRanges->visibleYMax;
        bottom = fullLevels ? m_pRanges->fullYMin : m_pRanges->visibleYMin;
    }
    out.append(QVariant::fromValue<quint64>(map.TimeAt(pos.x())));
    out.append(top + (bottom - top) * (pos.y() - plot.top()) / plot.height());
    return true;
}

bool CQTimeDiagramBase::LevelToolTip(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text)
{
    if (CQTimeDiagramBase::GetToolTipText(deltaFlag, pos, lines, text))
        return true;
    QList<QVariant> data;
    if (!GetDataAtPos(false, pos, lines, data) || data.size() < 2)
        return false;
    const QDateTime time = CDiagramValues::LocalDateTime(CDiagramValues::Time(data.at(0)));
    text = tr("Date/Time: %1<br>Level: %2 dBm")
               .arg(time.toString(QStringLiteral("dd.MM hh:mm:ss")),
                   QString::number(CDiagramValues::Real(data.at(1)), 'f', 2));
    return true;
}

void CQTimeDiagramBase::RememberFirstVisible(int index, int count)
{
    if (m_pRanges->firstVisibleIndex == -1)
        m_pRanges->firstVisibleIndex = index < count ? index : -1;
}

QList<int> CQTimeDiagramBase::LevelMenuValues(bool beyondSpanOnly) const
{
    Lock lock(&CRangeGuard::Mutex());
    return CLevelScale::MenuValues(m_pRanges->fullYMin, m_pRanges->fullYMax,
        beyondSpanOnly ? m_pRanges->minVisibleSpan : -1);
}

void CQTimeDiagramBase::ApplyLevelMenuChoice(const QObject* action)
{
    if (action == nullptr)
        return;
    const int level = action->objectName().toInt();
    if (level == 0)
        return;
    Lock lock(&CRangeGuard::Mutex());
    CRangeGuard::SetVisibleYMin(*m_pRanges, level);
    CRangeGuard::SetVisibleYMax(*m_pRanges, 0);
}
