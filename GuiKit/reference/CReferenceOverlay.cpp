#include "reference/CReferenceOverlay.h"

#include "widgets/BarGraph.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

const int LEGEND_MARGIN = 4;
const int LEGEND_SWATCH = 10;
const int MARK_ALPHA = 70;

} // namespace

CReferenceOverlay::CReferenceOverlay(QWidget* graph)
    : QWidget(graph)
{
    setObjectName(QStringLiteral("ReferenceOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(graph->rect());
}

QColor CReferenceOverlay::Colour()
{
    return QColor(170, 0, 200);
}

QColor CReferenceOverlay::RiseColour()
{
    return QColor(210, 40, 40);
}

QColor CReferenceOverlay::FallColour()
{
    return QColor(40, 110, 210);
}

QColor CReferenceOverlay::MarkColour()
{
    return QColor(255, 200, 0, MARK_ALPHA);
}

void CReferenceOverlay::SetReference(const QString& legend, const std::vector<double>& levels, const QString& note)
{
    m_strLegend = legend;
    m_levels = levels;
    m_strNote = note;
    if (legend.isEmpty())
        m_bDifference = false;
    update();
}

void CReferenceOverlay::SetLive(const std::vector<double>& live, int levelMinDbm)
{
    m_live = live;
    m_nLevelMinDbm = levelMinDbm;
    update();
}

void CReferenceOverlay::SetDifferenceView(bool on)
{
    m_bDifference = on;
    update();
}

void CReferenceOverlay::SetMarked(const std::vector<bool>& marked)
{
    m_marked = marked;
    update();
}

void CReferenceOverlay::paintEvent(QPaintEvent*)
{
    if (m_strLegend.isEmpty())
        return;
    QPainter painter(this);
    if (m_bDifference)
        PaintDifference(painter);
    else
        PaintReference(painter);
    PaintMarks(painter);
    // Over the bars the traces' legend names the reference; the panel
    // hides it, so the panel names it itself.
    if (m_bDifference)
        PaintLegend(painter);
}

double CReferenceOverlay::LevelY(double levelDbm) const
{
    return BarGraph::BASE_LINE - BarGraph::PIXELS_PER_UNIT * (levelDbm - m_nLevelMinDbm);
}

// Through the middle of each point, as CTraceOverlay draws the traces: two
// smooth lines of one pixel, which the raster engine draws many times
// faster than one of two. A point without a level breaks the line.
void CReferenceOverlay::PaintReference(QPainter& painter) const
{
    const int points = int(m_levels.size());
    QList<QPolygonF> runs(1);
    for (int i = 0; i < points; ++i) {
        const double y = LevelY(m_levels[size_t(i)]);
        if (!std::isfinite(y)) {
            if (!runs.constLast().isEmpty())
                runs.append(QPolygonF());
            continue;
        }
        runs.last().append(QPointF(std::floor(BarGraph::PointX(i, points)), y));
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Colour(), 1.0));
    for (const QPolygonF& run : runs) {
        painter.drawPolyline(run.translated(0.0, -0.5));
        painter.drawPolyline(run.translated(0.0, 0.5));
    }
    painter.restore();
}

void CReferenceOverlay::PaintDifference(QPainter& painter) const
{
    QColor panel = palette().color(QPalette::Base);
    panel.setAlpha(255);
    painter.fillRect(rect(), panel);
    const int zero = BarGraph::BASE_LINE / 2;
    const int points = std::min(int(m_levels.size()), int(m_live.size()));
    for (int i = 0; i < points; ++i) {
        const double difference = m_live[size_t(i)] - m_levels[size_t(i)];
        if (!std::isfinite(difference))
            continue;
        const double clamped = std::clamp(difference, double(-DIFFERENCE_SPAN_DB), double(DIFFERENCE_SPAN_DB));
        const int height = int(std::lround(BarGraph::PIXELS_PER_UNIT * clamped));
        const int left = BarGraph::PointLeft(i, points);
        const QRect bar(left, height > 0 ? zero - height : zero, BarGraph::PointLeft(i + 1, points) - left,
            std::abs(height));
        painter.fillRect(bar, height > 0 ? RiseColour() : FallColour());
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(0, zero, width(), zero);
    PaintDifferenceScale(painter, zero);
}

void CReferenceOverlay::PaintDifferenceScale(QPainter& painter, int zero) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect area = rect().adjusted(LEGEND_MARGIN, 0, -LEGEND_MARGIN, 0);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    painter.drawText(QRect(area.left(), 0, area.width(), metrics.height()), right,
        tr("+%1 dB").arg(DIFFERENCE_SPAN_DB));
    painter.drawText(QRect(area.left(), zero - metrics.height(), area.width(), metrics.height()), right, tr("0 dB"));
    painter.drawText(QRect(area.left(), BarGraph::BASE_LINE - metrics.height(), area.width(), metrics.height()), right,
        tr("-%1 dB").arg(DIFFERENCE_SPAN_DB));
}

// A run of marked points as one fill: each translucent fill of the graph's
// height costs the raster engine a hand-over to its fill threads.
void CReferenceOverlay::PaintMarks(QPainter& painter) const
{
    const int points = int(m_marked.size());
    for (int i = 0; i < points; ++i) {
        if (!m_marked[size_t(i)])
            continue;
        int end = i + 1;
        while (end < points && m_marked[size_t(end)])
            ++end;
        const int left = BarGraph::PointLeft(i, points);
        painter.fillRect(left, 0, BarGraph::PointLeft(end, points) - left, BarGraph::BASE_LINE, MarkColour());
        i = end;
    }
}

// At the panel's bottom left, at most half its width: the scale keeps the
// right.
void CReferenceOverlay::PaintLegend(QPainter& painter) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    const QString text = m_strNote.isEmpty() ? m_strLegend : m_strLegend + QStringLiteral(" - ") + m_strNote;
    const int room = width() / 2 - 2 * LEGEND_MARGIN - LEGEND_SWATCH - 4;
    const QString shown = metrics.elidedText(text, Qt::ElideRight, std::max(room, 0));
    const int y = BarGraph::BASE_LINE - LEGEND_MARGIN - metrics.height();
    painter.fillRect(LEGEND_MARGIN, y + (metrics.height() - LEGEND_SWATCH) / 2, LEGEND_SWATCH, LEGEND_SWATCH, Colour());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(LEGEND_MARGIN + LEGEND_SWATCH + 4, y + metrics.ascent(), shown);
}
