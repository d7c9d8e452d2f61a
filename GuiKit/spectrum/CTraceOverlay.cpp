#include "spectrum/CTraceOverlay.h"

#include "GuiKitSettingsKeys.h"
#include "widgets/BarGraph.h"

#include <QInputDialog>
#include <QMenu>
#include <QPainter>
#include <QSettings>

#include <cmath>

namespace {

// Stored by name: a reordered enum must not change what a user chose.
const char* const TRACE_NAMES[CSpectrumTraces::TRACE_COUNT] = { "max", "min", "average" };
const int LEGEND_MARGIN = 4;
const int LEGEND_SWATCH = 10;

} // namespace

CTraceOverlay::CTraceOverlay(CSpectrumTraces& traces, QWidget* graph)
    : QWidget(graph)
    , m_traces(traces)
{
    setObjectName(QStringLiteral("TraceOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(graph->rect());
    Load();
}

void CTraceOverlay::SetLevelMin(int levelMinDbm)
{
    m_nLevelMinDbm = levelMinDbm;
    update();
}

void CTraceOverlay::SetShown(Trace trace, bool shown)
{
    m_shown[trace] = shown;
    Save();
    update();
}

void CTraceOverlay::SetExtraLegend(const QString& text, const QColor& colour)
{
    m_strExtraLegend = text;
    m_extraColour = colour;
    update();
}

void CTraceOverlay::SetAverageSweeps(int count)
{
    m_traces.SetAverageSweeps(count);
    Save();
    update();
}

void CTraceOverlay::ResetTraces()
{
    m_traces.Reset();
    update();
}

QColor CTraceOverlay::Colour(Trace trace)
{
    static const QColor colours[CSpectrumTraces::TRACE_COUNT]
        = { QColor(220, 30, 30), QColor(0, 150, 60), QColor(240, 140, 0) };
    return colours[trace];
}

QString CTraceOverlay::Name(Trace trace) const
{
    switch (trace) {
    case CSpectrumTraces::MaxHold: return tr("Max hold");
    case CSpectrumTraces::MinHold: return tr("Min hold");
    case CSpectrumTraces::Average: return tr("Average, last %1").arg(m_traces.AverageSweeps());
    }
    return QString();
}

void CTraceOverlay::AddActions(QMenu* menu)
{
    for (int i = 0; i < CSpectrumTraces::TRACE_COUNT; ++i) {
        const auto trace = Trace(i);
        QAction* action = menu->addAction(Name(trace));
        action->setObjectName(QStringLiteral("Trace_%1").arg(QLatin1String(TRACE_NAMES[i])));
        action->setCheckable(true);
        action->setChecked(m_shown[trace]);
        connect(action, &QAction::toggled, this, [this, trace](bool on) { SetShown(trace, on); });
    }
    menu->addAction(tr("Sweeps to Average..."), this, &CTraceOverlay::AskAverageSweeps)
        ->setObjectName(QStringLiteral("TraceAverageSweeps"));
    menu->addAction(tr("Reset Traces"), this, &CTraceOverlay::ResetTraces)->setObjectName(QStringLiteral("TraceReset"));
}

void CTraceOverlay::paintEvent(QPaintEvent*)
{
    if (m_traces.Sweeps() == 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < CSpectrumTraces::TRACE_COUNT; ++i) {
        if (m_shown[size_t(i)])
            PaintTrace(painter, Trace(i));
    }
    PaintLegend(painter);
}

// Through the middle of each point, at the height a bar of that level has,
// two pixels thick: as two lines of one pixel, half a pixel above and below,
// since the raster engine's fast path for smooth lines ends at one pixel
// and a thicker pen costs ten to thirty times as much (bench_Spectrum). The
// corners lie on pixel edges: two lines meeting inside a pixel each cover
// half of it, and the pixel would show through.
void CTraceOverlay::PaintTrace(QPainter& painter, Trace trace) const
{
    const std::vector<double>& values = m_traces.Values(trace);
    const int points = int(values.size());
    QPolygonF line;
    line.reserve(points);
    for (int i = 0; i < points; ++i) {
        const double y = BarGraph::BASE_LINE - BarGraph::PIXELS_PER_UNIT * (values[size_t(i)] - m_nLevelMinDbm);
        if (std::isfinite(y))
            line.append(QPointF(std::floor(BarGraph::PointX(i, points)), y));
    }
    painter.setPen(QPen(Colour(trace), 1.0));
    painter.drawPolyline(line.translated(0.0, -0.5));
    painter.drawPolyline(line.translated(0.0, 0.5));
}

void CTraceOverlay::PaintLegend(QPainter& painter) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    int y = LEGEND_MARGIN;
    const auto line = [&](const QString& name, const QColor& colour) {
        // Half the width at most: the markers' readout keeps the left half.
        const QString shown = metrics.elidedText(name, Qt::ElideRight, width() / 2);
        const int x = width() - LEGEND_MARGIN - LEGEND_SWATCH - 4 - metrics.horizontalAdvance(shown);
        painter.fillRect(x, y + (metrics.height() - LEGEND_SWATCH) / 2, LEGEND_SWATCH, LEGEND_SWATCH, colour);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(x + LEGEND_SWATCH + 4, y + metrics.ascent(), shown);
        y += metrics.height();
    };
    for (int i = 0; i < CSpectrumTraces::TRACE_COUNT; ++i) {
        if (m_shown[size_t(i)])
            line(Name(Trace(i)), Colour(Trace(i)));
    }
    if (!m_strExtraLegend.isEmpty())
        line(m_strExtraLegend, m_extraColour);
}

void CTraceOverlay::AskAverageSweeps()
{
    bool ok = false;
    const int count = QInputDialog::getInt(this, tr("Average"), tr("Sweeps the average takes:"),
        m_traces.AverageSweeps(), 1, CSpectrumTraces::MAX_AVERAGE_SWEEPS, 1, &ok);
    if (ok)
        SetAverageSweeps(count);
}

void CTraceOverlay::Load()
{
    QSettings settings;
    const QStringList shown = settings.value(QLatin1String(GuiKitSettingsKeys::SPECTRUM_TRACES)).toStringList();
    for (int i = 0; i < CSpectrumTraces::TRACE_COUNT; ++i)
        m_shown[size_t(i)] = shown.contains(QLatin1String(TRACE_NAMES[i]));
    m_traces.SetAverageSweeps(
        settings
            .value(QLatin1String(GuiKitSettingsKeys::SPECTRUM_AVERAGE_SWEEPS), CSpectrumTraces::DEFAULT_AVERAGE_SWEEPS)
            .toInt());
}

void CTraceOverlay::Save() const
{
    QStringList shown;
    for (int i = 0; i < CSpectrumTraces::TRACE_COUNT; ++i) {
        if (m_shown[size_t(i)])
            shown.append(QLatin1String(TRACE_NAMES[i]));
    }
    QSettings settings;
    settings.setValue(QLatin1String(GuiKitSettingsKeys::SPECTRUM_TRACES), shown);
    settings.setValue(QLatin1String(GuiKitSettingsKeys::SPECTRUM_AVERAGE_SWEEPS), m_traces.AverageSweeps());
}
