#include "CQSpectrumDiagram.h"

#include "CTimeMapping.h"

#include "CDiagramValues.h"
#include "CRangeGuard.h"

#include <QMutexLocker>
#include <QPainter>

#include <algorithm>
#include <cmath>

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

void CQSpectrumDiagram::DrawBars(
    QPainter& painter, const DATA_LINE& line, double visibleMin, double visibleMax, int group) const
{
    const QList<DATA_VALUE>& values = line.values;
    const int n = int(values.size());
    if (n < 2)
        return;
    const QRect& plot = *m_pPlotRect;
    const int columnWidth = plot.width() / n;
    painter.setPen(line.pen);
    // Each bar starts where its first value lies and spans its group's
    // columns (plus three pixels, so neighbours touch), so the whole spectrum
    // fits the plot: advancing by the drawn width instead would push the top
    // of the scan range off the right edge.
    // The group must end before the last value: the last one is never drawn.
    for (int s = 0; s <= n - 1 - group; s += group) {
        int x = plot.left() + s * columnWidth;
        if (x > plot.right())
            break;
        double level = CDiagramValues::Real(values.at(s).y);
        for (int i = s + 1; i < s + group; ++i)
            level = std::max(level, CDiagramValues::Real(values.at(i).y));
        const int top = CTimeMapping::ClampedInt(
            plot.bottom() + double(plot.top() - plot.bottom()) * (level - visibleMin) / (visibleMax - visibleMin));
        const int end = std::min(x + group * columnWidth + 3, plot.right() + 1);
        for (; x < end; ++x)
            painter.drawLine(x, top, x, plot.bottom());
    }
}

void CQSpectrumDiagram::DrawThreshold(QPainter& painter, const DATA_LINE& line, double visibleMin, double visibleMax) const
{
    if (line.values.isEmpty())
        return;
    const QRect& plot = *m_pPlotRect;
    const double level = CDiagramValues::Real(line.values.first().y);
    const int y = CTimeMapping::ClampedInt(plot.top() + plot.height() * (level - visibleMax) / (visibleMin - visibleMax));
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
