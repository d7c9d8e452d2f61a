#include "spectrum/CQFreqDiagram.h"

#include "diagram/CRangeGuard.h"

#include <QLocale>
#include <QMutexLocker>
#include <QPainter>

CQFreqDiagram::CQFreqDiagram(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges)
    : CQLevelDiagramBase(plotRect, axisYRect, ranges)
    , m_columns(3)
{
}

void CQFreqDiagram::AttachLineData(QList<DATA_VALUE>& values)
{
    values.clear();
}

void CQFreqDiagram::DrawGrid(QPainter& painter, int)
{
    const QRect& plot = *m_pPlotRect;
    const QSize size(plot.width() / 3, plot.height());
    m_columns[0] = QRect(plot.topLeft(), size);
    m_columns[1] = QRect(QPoint(m_columns[0].right(), plot.top()), size);
    m_columns[2] = QRect(QPoint(m_columns[1].right(), plot.top()), size);
    painter.setPen(m_gridPen);
    painter.drawLine(m_columns[0].right(), m_columns[0].top(), m_columns[0].right(), m_columns[0].bottom());
    painter.drawLine(m_columns[2].left(), m_columns[2].top(), m_columns[2].left(), m_columns[2].bottom());
    painter.fillRect(m_columns[1], QColor(127, 127, 127, 27));
}

void CQFreqDiagram::DrawAxisXLabels(QPainter&, const QRect&)
{
}

void CQFreqDiagram::DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>&)
{
    DrawLevelLabels(painter, true);
}

void CQFreqDiagram::DrawData(QPainter&, const QList<DATA_LINE*>&)
{
}

bool CQFreqDiagram::ScrollAxisY(const QPoint& pressPos, double dy)
{
    // The bound moves faster the fewer units a pixel holds.
    const double unitsPerPixel = UnitsPerPixel();
    if (unitsPerPixel == 0.0)
        return false;
    return MoveLevelBound(pressPos, dy / unitsPerPixel);
}

void CQFreqDiagram::ShowAxisYMenu(const QPoint& globalPos)
{
    ExecLevelMenu(globalPos, this, &CQFreqDiagram::OnMenuAction);
}

bool CQFreqDiagram::GetToolTipText(bool, const QPoint& pos, const QList<DATA_LINE*>&, QString& text)
{
    if (!m_pAxisYRect->contains(pos))
        return false;
    QMutexLocker<QRecursiveMutex> lock(&CRangeGuard::Mutex());
    const double min = m_pRanges->visibleYMin;
    const double max = m_pRanges->visibleYMax;
    const auto shortest = [](double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); };
    text = tr("Min = %1 dBm<br>Max = %2 dBm<br>Visible range = %3 dBm")
               .arg(shortest(min), shortest(max), shortest(max - min));
    return true;
}

const QVector<QRect>& CQFreqDiagram::Columns() const
{
    return m_columns;
}

void CQFreqDiagram::OnMenuAction()
{
    ApplyLevelMenuChoice(sender());
}
