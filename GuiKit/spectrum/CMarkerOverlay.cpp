#include "spectrum/CMarkerOverlay.h"

#include "SPECTRUM_SWEEP.h"
#include "spectrum/CMarkerMenu.h"
#include "spectrum/CSpectrumTraces.h"
#include "spectrum/CTraceOverlay.h"
#include "spectrum/IMarkerTrace.h"
#include "spectrum/SpectrumLevels.h"
#include "spectrum/SpectrumPoints.h"
#include "widgets/BarGraph.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

const QColor LIVE_COLOUR(20, 60, 200);
const int MARKER_SIZE = 5;
const int READOUT_MARGIN = 4;
// How far from a marker a right click still means that marker.
const double MARKER_REACH = 10.0;

} // namespace

CMarkerOverlay::CMarkerOverlay(const CSpectrumTraces& traces, const CTraceOverlay& traceOverlay, QWidget* graph)
    : QWidget(graph)
    , m_traces(traces)
    , m_traceOverlay(traceOverlay)
{
    setObjectName(QStringLiteral("MarkerOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(graph->rect());
    graph->setFocusPolicy(Qt::StrongFocus);
    graph->installEventFilter(this);
    SetGraphToolTip();
}

bool CMarkerOverlay::AddTrace(const IMarkerTrace* trace)
{
    if (trace == nullptr || int(m_added.size()) >= MAX_ADDED_TRACES)
        return false;
    m_added.push_back(trace);
    return true;
}

bool CMarkerOverlay::IsTraceShown(int trace) const
{
    if (trace == LIVE_TRACE)
        return true;
    if (trace < FIRST_ADDED_TRACE)
        return trace > 0 && m_traceOverlay.IsShown(CSpectrumTraces::Trace(trace - 1));
    return trace < TraceCount() && m_added[size_t(trace - FIRST_ADDED_TRACE)]->IsShown();
}

QString CMarkerOverlay::TraceName(int trace) const
{
    if (trace <= LIVE_TRACE || trace >= TraceCount())
        return tr("Live");
    if (trace < FIRST_ADDED_TRACE)
        return m_traceOverlay.Name(CSpectrumTraces::Trace(trace - 1));
    return m_added[size_t(trace - FIRST_ADDED_TRACE)]->Name();
}

QColor CMarkerOverlay::TraceColour(int trace) const
{
    if (trace <= LIVE_TRACE || trace >= TraceCount())
        return LIVE_COLOUR;
    if (trace < FIRST_ADDED_TRACE)
        return CTraceOverlay::Colour(CSpectrumTraces::Trace(trace - 1));
    return m_added[size_t(trace - FIRST_ADDED_TRACE)]->Colour();
}

const std::vector<double>& CMarkerOverlay::Values(int trace) const
{
    static const std::vector<double> none;
    if (trace == LIVE_TRACE)
        return m_live;
    if (trace > 0 && trace < FIRST_ADDED_TRACE)
        return m_traces.Values(CSpectrumTraces::Trace(trace - 1));
    if (trace >= FIRST_ADDED_TRACE && trace < TraceCount())
        return m_added[size_t(trace - FIRST_ADDED_TRACE)]->Values();
    return none;
}

void CMarkerOverlay::SetSweep(const SPECTRUM_SWEEP& sweep)
{
    if (sweep.levelMinDbm == SpectrumLevels::SEARCH_MODE_MARKER || sweep.points.isEmpty())
        return;
    m_markers.Rescale(m_nRangeStartMhz, m_nRangeEndMhz, Points(), sweep.rangeStartMhz, sweep.rangeEndMhz,
        int(sweep.points.size()));
    m_live.resize(size_t(sweep.points.size()));
    for (qsizetype i = 0; i < sweep.points.size(); ++i)
        m_live[size_t(i)] = sweep.levelMinDbm + quint8(sweep.points.at(i));
    m_nRangeStartMhz = sweep.rangeStartMhz;
    m_nRangeEndMhz = sweep.rangeEndMhz;
    m_nLevelMinDbm = sweep.levelMinDbm;
    m_markers.MoveFollowers([this](int trace) -> const std::vector<double>& { return Values(trace); });
    update();
}

void CMarkerOverlay::Select(int marker)
{
    if (m_markers.IsValid(marker))
        m_nSelected = marker;
    update();
}

int CMarkerOverlay::MarkerNear(double x) const
{
    int nearest = m_nSelected;
    double distance = MARKER_REACH;
    for (int i = 0; i < CSpectrumMarkers::MARKER_COUNT; ++i) {
        const CSpectrumMarkers::MARKER& m = m_markers.Marker(i);
        const double d = std::abs(BarGraph::PointX(m.point, Points()) - x);
        if (m.active && d <= distance) {
            nearest = i;
            distance = d;
        }
    }
    return nearest;
}

void CMarkerOverlay::PlaceAt(int marker, double x)
{
    if (m_live.empty())
        return;
    m_markers.Place(marker, m_markers.Marker(marker).trace, BarGraph::PointAtX(x, Points()));
    update();
}

void CMarkerOverlay::CycleTrace(int marker)
{
    if (!m_markers.IsValid(marker))
        return;
    int trace = m_markers.Marker(marker).trace;
    do
        trace = (trace + 1) % TraceCount();
    while (!IsTraceShown(trace));
    SetTrace(marker, trace);
}

void CMarkerOverlay::SetTrace(int marker, int trace)
{
    m_markers.SetTrace(marker, trace);
    if (m_markers.IsValid(marker) && m_markers.Marker(marker).followsPeak)
        m_markers.ToPeak(marker, Values(trace));
    update();
}

void CMarkerOverlay::ToggleFollowPeak(int marker)
{
    if (!m_markers.IsValid(marker))
        return;
    const CSpectrumMarkers::MARKER& m = m_markers.Marker(marker);
    m_markers.SetFollowsPeak(marker, !m.followsPeak, Values(m.trace));
    update();
}

void CMarkerOverlay::CycleReference(int marker)
{
    m_markers.SetReference(marker, m_markers.NextReference(marker));
    update();
}

void CMarkerOverlay::AddActions(QMenu* menu, const QPoint& pos)
{
    CMarkerMenu::AddActions(menu, *this, pos);
}

double CMarkerOverlay::PointMhz(int point) const
{
    return SpectrumPoints::Mhz(m_nRangeStartMhz, m_nRangeEndMhz, point, Points());
}

bool CMarkerOverlay::Level(int marker, double& dbm) const
{
    const CSpectrumMarkers::MARKER& m = m_markers.Marker(marker);
    const std::vector<double>& values = Values(m.trace);
    if (!m.active || m.point >= int(values.size()) || !std::isfinite(values[size_t(m.point)]))
        return false;
    dbm = values[size_t(m.point)];
    return true;
}

std::vector<CMarkerOverlay::READOUT> CMarkerOverlay::Readouts() const
{
    std::vector<READOUT> readouts;
    for (int i = 0; i < CSpectrumMarkers::MARKER_COUNT; ++i) {
        const CSpectrumMarkers::MARKER& m = m_markers.Marker(i);
        double dbm = 0.0;
        if (!Level(i, dbm))
            continue;
        const QString trace = m.trace == LIVE_TRACE ? QString() : TraceName(m.trace);
        readouts.emplace_back(CSpectrumMarkers::ReadoutText(i, PointMhz(m.point), dbm, m.followsPeak, trace),
            TraceColour(m.trace));
    }
    AddDeltaReadouts(readouts);
    return readouts;
}

void CMarkerOverlay::AddDeltaReadouts(std::vector<READOUT>& readouts) const
{
    for (int i = 0; i < CSpectrumMarkers::MARKER_COUNT; ++i) {
        const CSpectrumMarkers::MARKER& m = m_markers.Marker(i);
        double dbm = 0.0;
        double referenceDbm = 0.0;
        if (m.reference == CSpectrumMarkers::NO_REFERENCE || !Level(i, dbm) || !Level(m.reference, referenceDbm))
            continue;
        const double deltaMhz = PointMhz(m.point) - PointMhz(m_markers.Marker(m.reference).point);
        readouts.emplace_back(CSpectrumMarkers::DeltaText(i, m.reference, deltaMhz, dbm - referenceDbm),
            TraceColour(m.trace));
    }
}

QStringList CMarkerOverlay::ReadoutLines() const
{
    QStringList lines;
    for (const READOUT& readout : Readouts())
        lines.append(readout.first);
    return lines;
}

bool CMarkerOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && OnGraphKey(static_cast<QKeyEvent*>(event)->key())) {
        update();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // The middle of the pixel clicked, as the waterfall's readout takes it.
        if (mouse->button() == Qt::LeftButton)
            PlaceAt(m_nSelected, std::floor(mouse->position().x()) + 0.5);
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
    case Qt::Key_F: ToggleFollowPeak(m_nSelected); return true;
    case Qt::Key_T: CycleTrace(m_nSelected); return true;
    case Qt::Key_D: CycleReference(m_nSelected); return true;
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
    const QFontMetrics metrics = painter.fontMetrics();
    int y = READOUT_MARGIN + metrics.ascent();
    for (const READOUT& readout : Readouts()) {
        painter.setPen(readout.second);
        painter.drawText(READOUT_MARGIN, y, readout.first);
        y += metrics.height();
    }
}

// A triangle pointing down onto the point, at the height its level has, in
// its trace's colour; a marker that follows the peak says so by its number.
void CMarkerOverlay::PaintMarker(QPainter& painter, int marker) const
{
    const CSpectrumMarkers::MARKER& m = m_markers.Marker(marker);
    double dbm = 0.0;
    if (!Level(marker, dbm))
        return;
    const double x = BarGraph::PointX(m.point, int(Values(m.trace).size()));
    const double y = BarGraph::BASE_LINE - BarGraph::PIXELS_PER_UNIT * (dbm - m_nLevelMinDbm);
    const QPolygonF triangle({ QPointF(x, y), QPointF(x - MARKER_SIZE, y - 2 * MARKER_SIZE),
        QPointF(x + MARKER_SIZE, y - 2 * MARKER_SIZE) });
    const QColor colour = TraceColour(m.trace);
    painter.setPen(Qt::NoPen);
    painter.setBrush(marker == m_nSelected ? colour : colour.lighter(150));
    painter.drawPolygon(triangle);
    painter.setPen(colour);
    const QString label = m.followsPeak ? tr("%1 pk").arg(marker + 1) : QString::number(marker + 1);
    painter.drawText(QPointF(x + MARKER_SIZE, y - 2 * MARKER_SIZE), label);
}

void CMarkerOverlay::SetGraphToolTip()
{
    parentWidget()->setToolTip(tr("Markers: a click places the selected one; 1-4 select, Left/Right move, "
                                  "P to the peak, F follows the peak, [ ] next peak, T trace, D delta to, "
                                  "Delete removes"));
}

void CMarkerOverlay::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        SetGraphToolTip();
    QWidget::changeEvent(event);
}
