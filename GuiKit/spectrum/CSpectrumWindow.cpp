#include "spectrum/CSpectrumWindow.h"

#include "GuiKitSettingsKeys.h"
#include "reference/CReferenceController.h"
#include "reference/CReferenceOverlay.h"
#include "spectrum/CMarkerOverlay.h"
#include "spectrum/CTraceOverlay.h"
#include "spectrum/SpectrumLevels.h"
#include "widgets/BarGraph.h"

#include "SPECTRUM_SWEEP.h"
#include "diagram/CQDiagramWidget.h"
#include "export/CDiagramMenu.h"
#include "waterfall/CWaterfallLegend.h"
#include "waterfall/CWaterfallWidget.h"
#include "widgets/CLabel.h"

#include <QCloseEvent>
#include <QMenu>
#include <QSettings>

#include <algorithm>

namespace {

const int LABEL_FONT_PIXELS = 10;
const QSize WINDOW_SIZE(624, 480);
const int WATERFALL_TOP = 212;
const int LEGEND_GAP = 4;
const int LEGEND_WIDTH = 64;
const int READOUT_HEIGHT = 20;
const int MARGIN = 4;

} // namespace

CSpectrumWindow::CSpectrumWindow(QWidget* parent)
    : QWidget(parent)
    , m_pSpectrumWidget(new CQDiagramWidget(this))
    , m_pGraphLabel(new CLabel(this))
    , m_pWaterfallWidget(new CWaterfallWidget(SpectrumLevels::SPAN, CWaterfallHistory::DEFAULT_CAPACITY, this))
    , m_pLegendWidget(new CWaterfallLegend(m_pWaterfallWidget->Palette(), this))
{
    setObjectName(QStringLiteral("CSpectrumWindow"));
    resize(WINDOW_SIZE);
    setMouseTracking(true);
    setWindowTitle(tr("Spectrum"));
    m_pSpectrumWidget->setGeometry(485, 15, 41, 51);
    m_pSpectrumWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_pSpectrumWidget->setObjectName(QStringLiteral("SpectrumWidget"));
    m_pGraphLabel->setObjectName(QStringLiteral("GraphLabel"));
    m_pGraphLabel->setGeometry(5, 5, 500, 180);
    m_pGraphLabel->setFrameShape(QFrame::StyledPanel);
    m_pTraceOverlay = new CTraceOverlay(m_traces, m_pGraphLabel);
    m_pReferences = new CReferenceController(m_traces, m_pGraphLabel);
    m_pMarkerOverlay = new CMarkerOverlay(m_traces, *m_pTraceOverlay, m_pGraphLabel);
    m_pMarkerOverlay->AddTrace(m_pReferences);
    connect(m_pReferences, &CReferenceController::legendChanged, m_pTraceOverlay,
        [this](const QString& legend) { m_pTraceOverlay->SetExtraLegend(legend, CReferenceOverlay::Colour()); });
    m_pGraphLabel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pGraphLabel, &QWidget::customContextMenuRequested, this, &CSpectrumWindow::OnGraphContextMenu);
    m_pXMINLabel = AddLabel(QStringLiteral("XMINLabel"), QRect(5, 187, 60, 20));
    m_pXMAXLabel = AddLabel(QStringLiteral("XMAXLabel"), QRect(445, 187, 60, 20));
    m_pYMINLabel = AddLabel(QStringLiteral("YMINLabel"), QRect(510, 165, 55, 20));
    m_pYMIDLabel = AddLabel(QStringLiteral("YMIDLabel"), QRect(510, 85, 55, 20));
    m_pYMAXLabel = AddLabel(QStringLiteral("YMAXLabel"), QRect(510, 5, 55, 20));
    m_pFREQLabel = AddLabel(QStringLiteral("FREQLabel"), QRect(145, 187, 235, 20));
    m_pWaterfallWidget->setObjectName(QStringLiteral("WaterfallWidget"));
    m_pLegendWidget->setObjectName(QStringLiteral("LegendWidget"));
    m_pReadoutLabel = AddLabel(QStringLiteral("ReadoutLabel"), QRect());
    connect(m_pWaterfallWidget, &CWaterfallWidget::readoutChanged, m_pReadoutLabel, &QLabel::setText);
    setGeometry(QSettings()
                    .value(QLatin1String(GuiKitSettingsKeys::SPECTRUM_GEOMETRY), QRect(QPoint(110, 110), WINDOW_SIZE))
                    .toRect());
    LayoutWaterfall();
    m_pSpectrumWidget->hide();
    // The picture is the whole window: the bars with the waterfall under them.
    CDiagramMenu::Attach(this);
}

void CSpectrumWindow::LayoutWaterfall()
{
    // The plot starts where the bars start and is as wide as they are, so
    // that each column lies under its bar; it takes the height left over.
    const int left = m_pGraphLabel->x();
    const int plotWidth = BarGraph::PLOT_WIDTH;
    const int waterfallWidth = CWaterfallWidget::WidthForPlot(plotWidth);
    const int waterfallHeight = std::max(0, height() - WATERFALL_TOP - READOUT_HEIGHT - 2 * MARGIN);
    m_pWaterfallWidget->setGeometry(left, WATERFALL_TOP, waterfallWidth, waterfallHeight);
    m_pLegendWidget->setGeometry(left + waterfallWidth + LEGEND_GAP, WATERFALL_TOP, LEGEND_WIDTH, waterfallHeight);
    m_pReadoutLabel->setGeometry(left, WATERFALL_TOP + waterfallHeight + MARGIN, plotWidth, READOUT_HEIGHT);
}

void CSpectrumWindow::resizeEvent(QResizeEvent* event)
{
    LayoutWaterfall();
    QWidget::resizeEvent(event);
}

QLabel* CSpectrumWindow::AddLabel(const QString& name, const QRect& geometry)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFrameShape(QFrame::StyledPanel);
    // The boxes have the detector software's fixed sizes; a desktop font
    // of the usual size would cut "2400 MHz" and the signal line short.
    QFont font = label->font();
    font.setPixelSize(LABEL_FONT_PIXELS);
    label->setFont(font);
    return label;
}

void CSpectrumWindow::SetSpectrumData(const unsigned char* levels, int count, int xMin, int xMax, int signalFreq,
    int yMin, int signalLevel, int noiseLevel, int signalNo)
{
    const int points = levels == nullptr ? 0 : std::clamp(count, 0, SPECTRUM_SWEEP::MAX_POINTS);
    m_pXMINLabel->setText(tr("%1 MHz").arg(xMin));
    m_pXMAXLabel->setText(tr("%1 MHz").arg(xMax));
    if (yMin == SpectrumLevels::SEARCH_MODE_MARKER) {
        m_pFREQLabel->setText(tr("SEARCH MODE"));
    } else {
        SetLevels(yMin);
        SetSignal(signalFreq, signalLevel, noiseLevel, signalNo);
    }
    // No points leave the last bars standing rather than blank them.
    if (points > 0) {
        const bool searching = yMin == SpectrumLevels::SEARCH_MODE_MARKER;
        const std::array<int, BarGraph::BARS> bars = BarGraph::Bars(levels, points);
        for (int j = 0; j < BarGraph::BARS; ++j)
            m_pGraphLabel->SetValue(j, searching ? 0 : bars[size_t(j)]);
    }
    m_pGraphLabel->update();
}

void CSpectrumWindow::SetSweep(const SPECTRUM_SWEEP& sweep)
{
    if (sweep.points.size() > SPECTRUM_SWEEP::MAX_POINTS) {
        // The traces, the markers and the waterfall must all see the same points.
        SPECTRUM_SWEEP cut = sweep;
        cut.points.truncate(SPECTRUM_SWEEP::MAX_POINTS);
        SetSweep(cut);
        return;
    }
    SetSpectrumData(reinterpret_cast<const unsigned char*>(sweep.points.constData()), int(sweep.points.size()),
        sweep.rangeStartMhz, sweep.rangeEndMhz, sweep.signalFreq, sweep.levelMinDbm, sweep.signalLevel,
        sweep.noiseLevel, sweep.signalNo);
    if (m_pWaterfallWidget->AddSweep(sweep))
        m_pLegendWidget->SetLevelMin(sweep.levelMinDbm);
    if (m_traces.Add(sweep))
        m_pTraceOverlay->SetLevelMin(sweep.levelMinDbm);
    // The reference first: a marker on it moves by the reference's new points.
    m_pReferences->SetSweep(sweep);
    m_pMarkerOverlay->SetSweep(sweep);
}

void CSpectrumWindow::OnGraphContextMenu(const QPoint& pos)
{
    QMenu menu(m_pGraphLabel);
    m_pMarkerOverlay->AddActions(&menu, pos);
    m_pTraceOverlay->AddActions(&menu);
    m_pReferences->AddActions(&menu);
    menu.addSeparator();
    CDiagramMenu::AddExportAction(&menu, this);
    menu.exec(m_pGraphLabel->mapToGlobal(pos));
}

void CSpectrumWindow::ClearSweeps()
{
    m_pWaterfallWidget->Clear();
    m_pTraceOverlay->ResetTraces();
}

void CSpectrumWindow::SetLevels(int yMin)
{
    m_pYMINLabel->setText(tr("%1 dBm").arg(yMin));
    m_pYMIDLabel->setText(tr("%1 dBm").arg(yMin + SpectrumLevels::SPAN / 2));
    m_pYMAXLabel->setText(tr("%1 dBm").arg(yMin + SpectrumLevels::SPAN));
}

void CSpectrumWindow::SetSignal(int signalFreq, int signalLevel, int noiseLevel, int signalNo)
{
    if (signalFreq == 0) {
        m_pFREQLabel->clear();
        return;
    }
    m_pFREQLabel->setText(
        tr("Signal%4: %1 MHz %2 dBm    Noise: %3 dBm").arg(signalFreq).arg(signalLevel).arg(noiseLevel).arg(signalNo));
}

void CSpectrumWindow::ClearTexts()
{
    for (QLabel* label :
        { m_pXMINLabel, m_pXMAXLabel, m_pYMINLabel, m_pYMIDLabel, m_pYMAXLabel, m_pFREQLabel, m_pReadoutLabel })
        label->clear();
}

void CSpectrumWindow::closeEvent(QCloseEvent* event)
{
    QSettings().setValue(QLatin1String(GuiKitSettingsKeys::SPECTRUM_GEOMETRY), geometry());
    Q_EMIT closed();
    QWidget::closeEvent(event);
}

void CSpectrumWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Spectrum"));
        ClearTexts();
        return;
    }
    QWidget::changeEvent(event);
}
