#include "spectrum/CQSpectrumDiagram.h"

#include "diagram/CTimeMapping.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CRangeGuard.h"

#include <QMutexLocker>
#include <QPainter>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using Lock = QMutexLocker<QRecursiveMutex>;

} // namespace

void CQSpectrumDiagram::AttachLineData(QList<DATA_VALUE>&)
{
}

void CQSpectrumDiagram::DrawGrid(QPainter& painter, int)
{
    painter.setPen(m_gridPen);
}

void CQSpectrumDiagram::DrawAxisXLabels(QPainter& painter, const QRect& axisXRect)
{
    double min = 0.0;
    double max = 0.0;
    {
        Lock lock(&CRangeGuard::Mutex());
        min = CDiagramValues::Real(m_pRanges->visibleXMin);
        max = CDiagramValues::Real(m_pRanges->visibleXMax);
    }
    painter.setFont(m_textFont);
    painter.setPen(m_textPen);
    const QString mhz = tr(" MHz");
    painter.drawText(axisXRect, Qt::AlignLeft | Qt::AlignVCenter, QString::number(min, 'f', 0) + mhz);
    painter.drawText(axisXRect, Qt::AlignRight | Qt::AlignVCenter, QString::number(max, 'f', 0) + mhz);
}

void CQSpectrumDiagram::DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>&)
{
    DrawLevelLabels(painter, false);
}

void CQSpectrumDiagram::DrawData(QPainter& painter, const QList<DATA_LINE*>& lines)
{
    double min = 0.0;
    double max = 0.0;
    int group = 1;
    {
        Lock lock(&CRangeGuard::Mutex());
        min = m_pRanges->visibleYMin;
        max = m_pRanges->visibleYMax;
        group = std::max(1, m_pRanges->itemsOnPixel);
    }
    if (!(max != min) || !std::isfinite(max - min))
        return;
    for (const DATA_LINE* line : lines) {
        if (!line->visible)
            continue;
        if (line->tag == 0)
            DrawBars(painter, *line, min, max, group);
        else
            DrawThreshold(painter, *line, min, max);
    }
}

void CQSpectrumDiagram::DrawBars(QPainter& painter, const DATA_LINE& line, double visibleMin, double visibleMax,
    int group) const
{
    const QList<DATA_VALUE>& values = line.values;
    const int n = int(values.size());
    const QRect& plot = *m_pPlotRect;
    const int width = plot.width();
    if (n < 2 || width <= 0)
        return;
    // Value i lies at i * width / n, so any number of values spans the plot.
    const auto columnOf = [width, n](int i) { return int(qint64(i) * width / n); };
    // Each bar starts where its first value lies and spans its group's
    // columns plus three pixels, so neighbours touch. All reach the bottom,
    // so the bars over one column look like one line from the highest row
    // any of them reaches to the lowest: one line a column, however many
    // values share it, and no peak is lost.
    // The group must end before the last value: the last one is never drawn.
    QVector<int> high(width, std::numeric_limits<int>::max());
    QVector<int> low(width, std::numeric_limits<int>::min());
    for (int s = 0; s <= n - 1 - group; s += group) {
        double level = CDiagramValues::Real(values.at(s).y);
        for (int i = s + 1; i < s + group; ++i)
            level = std::max(level, CDiagramValues::Real(values.at(i).y));
        const int top = CTimeMapping::ClampedInt(
            plot.bottom() + double(plot.top() - plot.bottom()) * (level - visibleMin) / (visibleMax - visibleMin));
        const int end = std::min(columnOf(s + group) + 3, width);
        for (int x = columnOf(s); x < end; ++x) {
            high[x] = std::min({ high[x], top, plot.bottom() });
            low[x] = std::max({ low[x], top, plot.bottom() });
        }
    }
    QVector<QLine> columns;
    columns.reserve(width);
    for (int x = 0; x < width; ++x) {
        if (high[x] <= low[x])
            columns.append(QLine(plot.left() + x, high[x], plot.left() + x, low[x]));
    }
    painter.setPen(line.pen);
    painter.drawLines(columns);
}

void CQSpectrumDiagram::DrawThreshold(QPainter& painter, const DATA_LINE& line, double visibleMin,
    double visibleMax) const
{
    if (line.values.isEmpty())
        return;
    const QRect& plot = *m_pPlotRect;
    const double level = CDiagramValues::Real(line.values.first().y);
    const int y
        = CTimeMapping::ClampedInt(plot.top() + plot.height() * (level - visibleMax) / (visibleMin - visibleMax));
    painter.setPen(line.pen);
    painter.drawLine(plot.left(), y, plot.right(), y);
}

bool CQSpectrumDiagram::ScrollAxisY(const QPoint& pressPos, double dy)
{
    return MoveLevelBound(pressPos, dy * UnitsPerPixel() / 2);
}

void CQSpectrumDiagram::ShowAxisYMenu(const QPoint& globalPos)
{
    ExecLevelMenu(globalPos, this, &CQSpectrumDiagram::OnMenuAction);
}

bool CQSpectrumDiagram::GetToolTipText(bool, const QPoint&, const QList<DATA_LINE*>&, QString&)
{
    return false;
}

void CQSpectrumDiagram::OnMenuAction()
{
    ApplyLevelMenuChoice(sender());
}
