#include "oscilloscope/CQOscilloscopeDiagram.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CLevelScale.h"
#include "diagram/CRangeGuard.h"
#include "diagram/CTimeMapping.h"

#include <QLocale>
#include <QMutexLocker>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

using Lock = QMutexLocker<QRecursiveMutex>;

const int LABEL_MIN_PIXELS = 50;

} // namespace

CQOscilloscopeDiagram::CQOscilloscopeDiagram(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges)
    : m_pPlotRect(plotRect)
    , m_pAxisYRect(axisYRect)
    , m_pRanges(ranges)
    , m_gridPen(QBrush(QColor(50, 60, 60, 255)), 1, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin)
    , m_axisPen(QBrush(Qt::white), 2)
    , m_textPen(Qt::white)
    , m_textFont(QStringLiteral("Arial"), 7, QFont::Bold)
{
}

void CQOscilloscopeDiagram::AttachLineData(QList<DATA_VALUE>&)
{
}

void CQOscilloscopeDiagram::AppendValue(int, const DATA_VALUE&, QList<DATA_VALUE>&, bool)
{
}

void CQOscilloscopeDiagram::DrawGrid(QPainter& painter, int)
{
    painter.setPen(m_gridPen);
}

QVector<QPair<int, double>> CQOscilloscopeDiagram::ScaleRows(double& step, double& pxPerUnit) const
{
    double min = 0.0;
    double max = 0.0;
    {
        Lock lock(&CRangeGuard::Mutex());
        min = m_pRanges->visibleYMin;
        max = m_pRanges->visibleYMax;
    }
    const QRect& strip = *m_pAxisYRect;
    pxPerUnit = std::fabs(strip.height() / (max - min));
    step = CLevelScale::Step(pxPerUnit, CLevelScale::MIN_PIXELS);
    QVector<QPair<int, double>> rows;
    if (step == 0.0)
        return rows;
    for (double u = min + step; u < max && rows.size() <= strip.height(); u += step) {
        const int y = CTimeMapping::ClampedInt(strip.bottom() - (u - min) * pxPerUnit);
        // The topmost label would be cut by the strip's edge.
        if (strip.top() + step / 2 < y)
            rows.append(qMakePair(y, u));
    }
    return rows;
}

void CQOscilloscopeDiagram::DrawAxisYTicks(QPainter& painter, const QList<DATA_LINE*>&)
{
    double step = 0.0;
    double pxPerUnit = 0.0;
    painter.setPen(m_axisPen);
    for (const auto& row : ScaleRows(step, pxPerUnit))
        painter.drawLine(m_pPlotRect->left(), row.first, m_pPlotRect->left() + 2, row.first);
}

void CQOscilloscopeDiagram::DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>&)
{
    double step = 0.0;
    double pxPerUnit = 0.0;
    const QVector<QPair<int, double>> rows = ScaleRows(step, pxPerUnit);
    const double ratioY = ReadView().ratioY;
    const QRect& strip = *m_pAxisYRect;
    const int h = CTimeMapping::ClampedInt(step * pxPerUnit);
    painter.setFont(m_textFont);
    painter.setPen(m_textPen);
    for (const auto& row : rows) {
        painter.drawText(QRect(strip.left(), row.first - h / 2, strip.width(), h), Qt::AlignCenter,
            QStringLiteral("%1%2").arg(QString::number(ratioY * row.second, 'f', 0), tr(" dB")));
    }
}

void CQOscilloscopeDiagram::DrawAxisXLabels(QPainter& painter, const QRect& axisXRect)
{
    const VIEW view = ReadView();
    const int xMin = CTimeMapping::ClampedInt(view.visibleXMin);
    const int xMax = CTimeMapping::ClampedInt(view.visibleXMax);
    const double pxPerUnit = std::fabs(m_pPlotRect->width() / double(xMax - xMin));
    const double step = CLevelScale::Step(pxPerUnit, LABEL_MIN_PIXELS);
    if (step == 0.0)
        return;
    painter.setFont(m_textFont);
    painter.setPen(Qt::white);
    const int width = CTimeMapping::ClampedInt(step * pxPerUnit);
    for (double u = xMin + step; u < xMax; u += step) {
        const int x = CTimeMapping::ClampedInt((u - xMin) * pxPerUnit);
        painter.drawText(QRect(x, axisXRect.top(), width, axisXRect.height()), Qt::AlignLeft | Qt::AlignVCenter,
            QString::number(view.ratioX * u, 'f', 2) + tr(" ms"));
    }
}

void CQOscilloscopeDiagram::DrawData(QPainter& painter, const QList<DATA_LINE*>& lines)
{
    const VIEW view = ReadView();
    for (const DATA_LINE* line : lines) {
        if (!line->visible)
            continue;
        if (line->tag == 0)
            DrawWaveform(painter, *line, view);
        else
            DrawThreshold(painter, *line, view);
    }
    DrawDeltaCursor(painter);
}

void CQOscilloscopeDiagram::DrawWaveform(QPainter& painter, const DATA_LINE& line, const VIEW& view)
{
    if (line.values.isEmpty())
        return;
    FillColumns(line.values, view);
    painter.setPen(line.pen);
    const int left = m_pPlotRect->left();
    // Columns no sample reached have no level: the waveform ends at the last
    // filled one instead of falling to the top of the widget.
    for (int j = 1; j < m_nFilledColumns; ++j) {
        if (m_columns.at(j - 1).filled && m_columns.at(j).filled)
            painter.drawLine(left + j, m_columns.at(j - 1).yHigh, left + 1 + j, m_columns.at(j).yHigh);
    }
}

void CQOscilloscopeDiagram::DrawThreshold(QPainter& painter, const DATA_LINE& line, const VIEW& view) const
{
    if (line.values.isEmpty())
        return;
    const QRect& plot = *m_pPlotRect;
    const double v = CDiagramValues::Real(line.values.first().y);
    const int y = CTimeMapping::ClampedInt(
        plot.top() + plot.height() * (v - view.visibleYMax) / (view.visibleYMin - view.visibleYMax));
    painter.setPen(line.pen);
    painter.drawLine(plot.left(), y, plot.right(), y);
}

void CQOscilloscopeDiagram::DrawDeltaCursor(QPainter& painter) const
{
    int start = 0;
    int end = 0;
    {
        Lock lock(&CRangeGuard::Mutex());
        if (!m_pRanges->deltaCursor)
            return;
        start = m_pRanges->deltaStartX;
        end = m_pRanges->deltaEndX;
    }
    const QRect& plot = *m_pPlotRect;
    painter.setPen(QPen(QBrush(Qt::red), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawLine(start, plot.top(), start, plot.bottom());
    painter.drawLine(end, plot.top(), end, plot.bottom());
}

CQOscilloscopeDiagram::VIEW CQOscilloscopeDiagram::ReadView() const
{
    Lock lock(&CRangeGuard::Mutex());
    VIEW view;
    view.fullXMin = CDiagramValues::Real(m_pRanges->fullXMin);
    view.fullXMax = CDiagramValues::Real(m_pRanges->fullXMax);
    view.visibleXMin = CDiagramValues::Real(m_pRanges->visibleXMin);
    view.visibleXMax = CDiagramValues::Real(m_pRanges->visibleXMax);
    view.visibleYMin = m_pRanges->visibleYMin;
    view.visibleYMax = m_pRanges->visibleYMax;
    view.ratioX = m_pRanges->ratioX;
    view.ratioY = m_pRanges->ratioY;
    return view;
}

void CQOscilloscopeDiagram::FillColumns(const QList<DATA_VALUE>& samples, const VIEW& view)
{
    const int width = std::max(0, m_pPlotRect->width());
    m_columns.fill(COLUMN(), width);
    m_nFilledColumns = 0;
    const double e = (view.fullXMax - view.fullXMin) / samples.size();
    const double g = (view.visibleXMax - view.visibleXMin) / width;
    if (!(e > 0.0) || !(g > 0.0) || !std::isfinite(e) || !std::isfinite(g))
        return;
    // A window starting before the full range starts at the first sample.
    const double first = (view.visibleXMin - view.fullXMin) / e;
    const int i = first > 0.0 ? CTimeMapping::ClampedInt(first) : 0;
    if (e <= g)
        FillDense(samples, view, e, g, i);
    else
        FillSparse(samples, view, e, g);
}

void CQOscilloscopeDiagram::FillDense(const QList<DATA_VALUE>& samples, const VIEW& view, double e, double g, int i)
{
    const int n = int(samples.size());
    const int width = int(m_columns.size());
    double a = view.visibleXMin;
    double b = view.visibleXMin + g;
    double low = 2147483647.0;
    double high = -2147483648.0;
    for (int j = 0; view.visibleXMax > a && i < n && j < width; ++i) {
        const double sample = CDiagramValues::Real(samples.at(i).y);
        high = std::max(high, sample);
        low = std::min(low, sample);
        // A step lost in the magnitude of the bounds would never end the loop.
        if (a + e == a)
            break;
        a += e;
        if (b <= a) {
            SetColumn(j++, low, high, view);
            low = 2147483647.0;
            high = -2147483648.0;
            b += g;
        }
    }
}

void CQOscilloscopeDiagram::FillSparse(const QList<DATA_VALUE>& samples, const VIEW& view, double e, double g)
{
    // Each column shows the sample under its left edge, so that every sample
    // gets the columns of its own X span.
    const int n = int(samples.size());
    const int width = int(m_columns.size());
    for (int j = 0; j < width; ++j) {
        const double x = view.visibleXMin + j * g;
        if (!(x < view.visibleXMax))
            break;
        const double position = (x - view.fullXMin) / e;
        if (position < 0.0)
            continue;
        if (!(position < n))
            break;
        const double sample = CDiagramValues::Real(samples.at(int(position)).y);
        SetColumn(j, sample, sample, view);
    }
}

void CQOscilloscopeDiagram::SetColumn(int j, double low, double high, const VIEW& view)
{
    const double bottom = std::min(view.visibleYMin, view.visibleYMax);
    const double top = std::max(view.visibleYMin, view.visibleYMax);
    low = std::clamp(low, bottom, top);
    high = std::clamp(high, bottom, top);
    m_columns[j] = COLUMN { Row(std::min(low, high), view), Row(high, view), true };
    m_nFilledColumns = std::max(m_nFilledColumns, j + 1);
}

int CQOscilloscopeDiagram::Row(double v, const VIEW& view) const
{
    const QRect& plot = *m_pPlotRect;
    return CTimeMapping::ClampedInt(plot.bottom()
        + double(plot.top() - plot.bottom()) * (v - view.visibleYMin) / (view.visibleYMax - view.visibleYMin));
}

void CQOscilloscopeDiagram::UpdateLayout()
{
}

bool CQOscilloscopeDiagram::IsScrollableX()
{
    const VIEW view = ReadView();
    return !(view.visibleXMin == view.fullXMin && view.visibleXMax == view.fullXMax);
}

bool CQOscilloscopeDiagram::IsScrollableY()
{
    return false;
}

bool CQOscilloscopeDiagram::IsAxisYScrollable()
{
    return false;
}

void CQOscilloscopeDiagram::ScrollPlot(const QPoint&, int dx, double)
{
    CRangeGuard::ShiftRealWindow(*m_pRanges, 2.0 * dx);
}

bool CQOscilloscopeDiagram::ScrollAxisY(const QPoint&, double)
{
    return false;
}

void CQOscilloscopeDiagram::ShowPlotMenu(const QPoint&)
{
}

void CQOscilloscopeDiagram::ShowAxisYMenu(const QPoint&)
{
}

bool CQOscilloscopeDiagram::GetDataAtPos(bool, const QPoint& pos, const QList<DATA_LINE*>&, QList<QVariant>& out)
{
    const QRect& plot = *m_pPlotRect;
    if (!plot.contains(pos))
        return false;
    const VIEW view = ReadView();
    const double xSpan = CTimeMapping::ClampedInt(view.visibleXMax - view.visibleXMin);
    const double x = view.visibleXMin + std::fabs(xSpan / plot.width()) * pos.x();
    const double y = view.visibleYMin
        + std::fabs((view.visibleYMax - view.visibleYMin) / plot.height()) * (plot.bottom() - pos.y());
    out.append(x);
    out.append(y);
    return true;
}

QString CQOscilloscopeDiagram::DeltaText() const
{
    const VIEW view = ReadView();
    int startX = 0;
    int endX = 0;
    {
        Lock lock(&CRangeGuard::Mutex());
        startX = m_pRanges->deltaStartX;
        endX = m_pRanges->deltaEndX;
    }
    const double xSpan = CTimeMapping::ClampedInt(view.visibleXMax - view.visibleXMin);
    const double k = m_pPlotRect->width() > 0 ? std::fabs(xSpan / m_pPlotRect->width()) : 0.0;
    const double startMs = view.ratioX * CTimeMapping::ClampedInt(k * startX + view.visibleXMin);
    const double endMs = view.ratioX * CTimeMapping::ClampedInt(k * endX + view.visibleXMin);
    const double diff = std::fabs(endMs - startMs);
    // Equal positions give an infinite frequency, shown as such.
    const double hz = 1000.0 / diff;
    const auto number = [](double v) { return QString::number(v, 'f', 2); };
    return tr("<b>Delta Cursor</b><br>Start: %1 ms<br>End: %2 ms<br>Difference: %3 ms (%4 Hz)")
        .arg(number(startMs), number(endMs), number(diff), number(hz));
}

bool CQOscilloscopeDiagram::GetToolTipText(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines,
    QString& text)
{
    const VIEW view = ReadView();
    if (m_pAxisYRect->contains(pos)) {
        text = tr("Min = %1 dB<br>Max = %2 dB<br>Visible range = %3 dB")
                   .arg(QString::number(view.visibleYMin, 'g', QLocale::FloatingPointShortest),
                       QString::number(view.visibleYMax, 'f', 0),
                       QString::number(view.visibleYMax - view.visibleYMin, 'f', 0));
        return true;
    }
    if (deltaFlag) {
        text = DeltaText();
        return true;
    }
    QList<QVariant> data;
    if (!GetDataAtPos(false, pos, lines, data))
        return false;
    text = tr("Position: %1 ms<br>Level: %3 dB")
               .arg(QString::number(view.ratioX * CTimeMapping::ClampedInt(data.at(0).toDouble()), 'f', 2))
               .arg(QString::number(view.ratioY * CTimeMapping::ClampedInt(data.at(1).toDouble()), 'f', 2));
    return true;
}

const QVector<CQOscilloscopeDiagram::COLUMN>& CQOscilloscopeDiagram::Columns() const
{
    return m_columns;
}

int CQOscilloscopeDiagram::FilledColumns() const
{
    return m_nFilledColumns;
}

void CQOscilloscopeDiagram::OnMenuAction()
{
}
