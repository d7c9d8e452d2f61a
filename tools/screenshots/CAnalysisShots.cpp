#include "CAnalysisShots.h"

#include "CRZ450Simulator.h"
#include "CShotSequence.h"
#include "CSpectrumScene.h"
#include "RZ450Layout.h"
#include "baseline/CBaselineActions.h"
#include "mainwindow/CMainWindow.h"
#include "reference/CNewSignalsWindow.h"
#include "reference/CReferenceController.h"
#include "spectrum/CSpectrumTraces.h"
#include "spectrum/CTraceOverlay.h"
#include "widgets/BarGraph.h"
#include "widgets/CLabel.h"

#include <QPushButton>
#include <QTest>

namespace {

const char* const SITE = "Office 3";
const char* const REFERENCE = "Clean";
// The band the baseline holds low, so that it stands over it: GSM 1800.
const int FLAGGED_BAND = 2;

} // namespace

CAnalysisShots::CAnalysisShots(CRZ450Simulator* simulator, CMainWindow* window, const QDir& folder)
    : m_pSimulator(simulator)
    , m_pWindow(window)
    , m_folder(folder)
{
}

bool CAnalysisShots::Spectrum(QWidget* spectrum, const CSpectrumScene& scene)
{
    if (!SaveReference(spectrum, scene))
        return false;
    auto* traces = spectrum->findChild<CTraceOverlay*>();
    traces->SetShown(CSpectrumTraces::MaxHold, true);
    traces->SetShown(CSpectrumTraces::Average, true);
    traces->ResetTraces();
    if (!QTest::qWaitFor([&] { return scene.TransmitterSweeps() >= 10; }, STEP_TIMEOUT_MS))
        return Fail(QStringLiteral("the transmitter did not come on for the markers"));
    PlaceMarkers(spectrum, scene.TransmitterPoint());
    QTest::qWait(TRACES_MS / 4);
    if (!Save(spectrum, QStringLiteral("spectrum-markers.png")))
        return false;
    auto* references = spectrum->findChild<CReferenceController*>();
    references->SetDifferenceView(true);
    references->SetMarginDb(6.0);
    references->ShowNewSignals();
    QTest::qWait(SETTLE_MS);
    const bool saved = Save(spectrum, QStringLiteral("spectrum-difference.png"))
        && Save(references->NewSignalsWindow(), QStringLiteral("new-signals.png"));
    references->NewSignalsWindow()->close();
    references->Hide();
    return saved;
}

// Max hold of a quiet room, while the transmitter is off the air.
bool CAnalysisShots::SaveReference(QWidget* spectrum, const CSpectrumScene& scene)
{
    if (!QTest::qWaitFor([&] { return scene.TransmitterSweeps() == 0; }, STEP_TIMEOUT_MS))
        return Fail(QStringLiteral("the transmitter never went off the air"));
    spectrum->findChild<CTraceOverlay*>()->ResetTraces();
    QTest::qWait(TRACES_MS);
    auto* references = spectrum->findChild<CReferenceController*>();
    QString error;
    if (!references->Save(CSpectrumReference::MaxHold, QLatin1String(SITE), QLatin1String(REFERENCE), error)
        || !references->Load(QLatin1String(SITE), QLatin1String(REFERENCE), error))
        return Fail(QStringLiteral("the reference: %1").arg(error));
    return true;
}

// M1 follows the peak, M2 is on the next peak right of the transmitter,
// against M1, M3 on the peak of max hold.
void CAnalysisShots::PlaceMarkers(QWidget* spectrum, int transmitterPoint)
{
    auto* graph = spectrum->findChild<CLabel*>(QStringLiteral("GraphLabel"));
    graph->setFocus();
    QTest::keyClicks(graph, QStringLiteral("f2"));
    QTest::mouseClick(graph, Qt::LeftButton, {},
        QPoint(int(BarGraph::PointX(transmitterPoint, RZ450Layout::SPECTRUM_POINTS)), 100));
    QTest::keyClicks(graph, QStringLiteral("]3tp"));
}

bool CAnalysisShots::Baseline()
{
    m_pSimulator->SetMode(CRZ450Simulator::MODE_AUTO);
    CBaseline baseline;
    baseline.site = QLatin1String(SITE);
    baseline.start = QDateTime::currentDateTimeUtc().addDays(-1);
    baseline.nSeconds = 600;
    for (int band = 0; band < RZ450Layout::AUTO_BANDS; ++band) {
        const double p95 = band == FLAGGED_BAND ? -100.0 : 0.0;
        baseline.bands.append({ band, QString(), p95 - 3, p95, p95 + 2, 600 });
    }
    auto* actions = m_pWindow->findChild<CBaselineActions*>();
    if (!actions)
        return Fail(QStringLiteral("the main window has no baseline actions"));
    // The new mode starts the diagram over, time axis and all, once its
    // records come.
    QTest::qWait(MODE_SETTLE_MS);
    actions->StartComparing(baseline, 6.0);
    CShotSequence::ShowMinutes(m_pWindow, 1);
    auto* maximize = m_pWindow->findChild<QPushButton*>(QStringLiteral("m_pMaxRealtimeButton"));
    maximize->click();
    QTest::qWait(BASELINE_MS);
    const bool saved = Save(m_pWindow, QStringLiteral("baseline-flags.png"));
    maximize->click();
    actions->StopComparing();
    return saved;
}

bool CAnalysisShots::Save(QWidget* widget, const QString& name)
{
    const QString file = m_folder.filePath(name);
    return widget->grab().save(file, "PNG") || Fail(QStringLiteral("could not write %1").arg(file));
}

bool CAnalysisShots::Fail(const QString& error)
{
    m_strError = error;
    return false;
}
