#include "spectrum/CMarkerOverlay.h"

#include "SPECTRUM_SWEEP.h"
#include "spectrum/CSpectrumTraces.h"
#include "spectrum/SpectrumLevels.h"
#include "spectrum/SpectrumPoints.h"
#include "widgets/BarGraph.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

const QColor MARKER_COLOUR(20, 60, 200);
const int MARKER_SIZE = 5;
const int READOUT_MARGIN = 4;

} // namespace

CMarkerOverlay::CMarkerOverlay(const CSpectrumTraces& traces, QWidget* graph)
    : QWidget(graph)
    , m_traces(traces)
{
    setObjectName(QStringLiteral("MarkerOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(graph->rect());
    graph->setFocusPolicy(Qt::StrongFocus);
    graph->installEventFilter(this);
}

void CMarkerOverlay::SetSweep(const SPECTRUM_SWEEP& sweep)
{
    if (sweep.levelMinDbm == SpectrumLevels::SEARCH_MODE_MARKER || sweep.points.isEmpty())
        return;
    m_live.resize(size_t(sweep.points.size()));
    for (qsizetype i = 0; i < sweep.points.size(); ++i)
        m_live[size_t(i)] = sweep.levelMinDbm + quint8(sweep.points.at(i));
    m_nRangeStartMhz = sweep.rangeStartMhz;
    m_nRangeEndMhz = sweep.rangeEndMhz;
    m_nLevelMinDbm = sweep.levelMinDbm;
    update();
}

const std::vector<double>& CMarkerOverlay::Values(int trace) const
{
    if (trace <= LIVE_TRACE || trace > CSpectrumTraces::TRACE_COUNT)
        return m_live;
    return m_traces.Values(CSpectrumTraces::Trace(trace - 1));
}

double CMarkerOverlay::PointMhz(int point) const
{
    return SpectrumPoints::Mhz(m_nRangeStartMhz, m_nRangeEndMhz, point, int(m_live.size()));
}

QStringList CMarkerOverlay::ReadoutLines() const
{
    QStringList lines;
    for (int i = 0; i < CSpectrumMarkers::MARKER_COUNT; ++i) {
        const CSpectrumMarkers::MARKER& marker = m_markers.Marker(i);
        const std::vector<double>& values = Values(marker.trace);
        if (marker.active && marker.point < int(values.size()))
            lines.append(CSpectrumMarkers::ReadoutText(i, PointMhz(marker.point), values[size_t(marker.point)]));
    }
    const CSpectrumMarkers::MARKER& first = m_markers.Marker(0);
    const CSpectrumMarkers::MARKER& second = m_markers.Marker(1);
    const std::vector<double>& a = Values(first.trace);
    const std::vector<double>& b = Values(second.trace);
    if (first.active && second.active && first.point < int(a.size()) && second.point < int(b.size()))
        lines.append(CSpectrumMarkers::DeltaText(1, 0, PointMhz(second.point) - PointMhz(first.point),
            b[size_t(second.point)] - a[size_t(first.point)]));
    return lines;
}

bool CMarkerOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && OnGraphKey(static_cast<QKeyEvent*>(event)->key())) {
        update();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress && !m_live.empty()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const int point
                = std::clamp(int(mouse->position().x()) / BarGraph::PIXELS_PER_UNIT, 0, int(m_live.size()) - 1);
            m_markers.Place(m_nSelected, m_markers.Marker(m_nSelected).trace, point);
            update();
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool CMarkerOverlay::OnGraphKey(int key)
{
    const std::vector<double>& values = Values(m_markers.Marker(m_nSelected).trace);
    switch (key) {
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_4: m_nSelected = key - Qt::Key_1; return true;
    case Qt::Key_Left: m_markers.Move(m_nSelected, -1, int(values.size())); return true;
    case Qt::Key_Right: m_markers.Move(m_nSelected, 1, int(values.size())); return true;
    case Qt::Key_P: m_markers.ToPeak(m_nSelected, values); return true;
    case Qt::Key_BracketLeft: m_markers.ToNextPeak(m_nSelected, values, CSpectrumMarkers::Left); return true;
    case Qt::Key_BracketRight: m_markers.ToNextPeak(m_nSelected, values, CSpectrumMarkers::Right); return true;
    case Qt::Key_Delete: m_markers.Remove(m_nSelected); return true;
    default: return false;
    }
}

void CMarkerOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < CSpectrumMarkers::MARKER_COUNT; ++i)
        PaintMarker(painter, i);
    painter.setPen(MARKER_COLOUR);
    const QFontMetrics metrics = painter.fontMetrics();
    int y = READOUT_MARGIN + metrics.ascent();
    for (const QString& line : ReadoutLines()) {
        painter.drawText(READOUT_MARGIN, y, line);
        y += metrics.height();
    }
}

// A triangle pointing down onto the point, at the height its level has.
void CMarkerOverlay::PaintMarker(QPainter& painter, int marker) const
{
    const CSpectrumMarkers::MARKER& m = m_markers.Marker(marker);
    const std::vector<double>& values = Values(m.trace);
    if (!m.active || m.point >= int(values.size()) || m.point >= BarGraph::BARS || m_live.empty())
        return;
    const double x = BarGraph::PIXELS_PER_UNIT * (m.point + 0.5);
    const double y = BarGraph::BASE_LINE - BarGraph::PIXELS_PER_UNIT * (values[size_t(m.point)] - m_nLevelMinDbm);
    if (!std::isfinite(y))
        return;
    const QPolygonF triangle({ QPointF(x, y), QPointF(x - MARKER_SIZE, y - 2 * MARKER_SIZE),
        QPointF(x + MARKER_SIZE, y - 2 * MARKER_SIZE) });
    painter.setPen(Qt::NoPen);
    painter.setBrush(marker == m_nSelected ? MARKER_COLOUR : MARKER_COLOUR.lighter(150));
    painter.drawPolygon(triangle);
    painter.setPen(MARKER_COLOUR);
    painter.drawText(QPointF(x + MARKER_SIZE, y - 2 * MARKER_SIZE), QString::number(marker + 1));
}
