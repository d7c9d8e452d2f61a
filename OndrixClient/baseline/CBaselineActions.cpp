#include "baseline/CBaselineActions.h"

#include "app/CClientSession.h"
#include "app/CGuardedCall.h"
#include "baseline/CBaselineComparator.h"
#include "baseline/CCaptureBaselineDialog.h"
#include "baseline/CCompareBaselineDialog.h"
#include "baseline/CLogBaselineFlags.h"
#include "diagram/CBandFlagMarks.h"
#include "live/CLiveFeed.h"
#include "proxy/CMetaDevice.h"
#include "replay/CReplayController.h"
#include "sites/CSiteFolder.h"
#include "storage/CLogArea.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QMenu>
#include <QStatusBar>

namespace {

const int STATUS_MS = 10000;

} // namespace

CBaselineActions::CBaselineActions(QWidget* window, const WIDGETS& widgets, CLiveFeed* feed, CReplayController* replay,
    CLogArea* logArea)
    : QObject(window)
    , m_pWindow(window)
    , m_widgets(widgets)
    , m_pLogArea(logArea)
    , m_pCaptureAction(new QAction(this))
    , m_pCompareAction(new QAction(this))
    , m_pStopAction(new QAction(this))
    , m_pMarks(new CBandFlagMarks(widgets.realtimeDiagram))
    , m_refresh(this)
{
    setObjectName(QStringLiteral("m_pBaselineActions"));
    m_pCaptureAction->setObjectName(QStringLiteral("m_pCaptureBaselineAction"));
    m_pCompareAction->setObjectName(QStringLiteral("m_pCompareBaselineAction"));
    m_pStopAction->setObjectName(QStringLiteral("m_pStopComparingAction"));
    m_pMarks->setObjectName(QStringLiteral("m_pRealtimeBaselineMarks"));
    m_pStopAction->setEnabled(false);
    if (widgets.realtimeMenu)
        widgets.realtimeMenu->addActions({ m_pCaptureAction, m_pCompareAction, m_pStopAction });
    if (logArea)
        m_pLogFlags = std::make_unique<CLogBaselineFlags>(logArea->Widgets().diagram, logArea->Widgets().list);
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(REFRESH_MS);
    connect(&m_refresh, &QTimer::timeout, this, &CBaselineActions::RefreshMarks);
    connect(m_pCaptureAction, &QAction::triggered, this, &CBaselineActions::ShowCapture);
    connect(m_pCompareAction, &QAction::triggered, this, &CBaselineActions::OnCompareAction);
    connect(m_pStopAction, &QAction::triggered, this, &CBaselineActions::StopComparing);
    if (feed) {
        connect(feed, &CLiveFeed::recordFed, this, &CBaselineActions::OnLiveRecord);
        connect(feed, &CLiveFeed::recordShown, this, &CBaselineActions::Compare);
        connect(feed, &CLiveFeed::viewReset, this, &CBaselineActions::ResetComparison);
    }
    if (replay) {
        connect(replay, &CReplayController::recordShown, this, &CBaselineActions::Compare);
        connect(replay, &CReplayController::viewReset, this, &CBaselineActions::ResetComparison);
    }
    if (logArea)
        connect(logArea, &CLogArea::opened, this, &CBaselineActions::CompareFile);
    window->installEventFilter(this);
    Retranslate();
}

bool CBaselineActions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pWindow && event->type() == QEvent::LanguageChange)
        Retranslate();
    return QObject::eventFilter(watched, event);
}

void CBaselineActions::Retranslate()
{
    m_pCaptureAction->setText(tr("Capture Baseline..."));
    m_pCompareAction->setText(tr("Compare with Baseline..."));
    m_pStopAction->setText(tr("Stop Comparing"));
}

CBaselineActions::~CBaselineActions() = default;

CCaptureBaselineDialog* CBaselineActions::ShowCapture()
{
    if (!m_pCapture) {
        m_pCapture = new CCaptureBaselineDialog(CSiteFolder::Storage(), m_pWindow);
        connect(m_pCapture, &CCaptureBaselineDialog::saved, this, &CBaselineActions::OnCaptured);
    }
    // A capture under way goes on with the detector it started with.
    if (!m_pCapture->IsRunning())
        m_pCapture->SetDevice(DeviceId());
    m_pCapture->show();
    m_pCapture->raise();
    m_pCapture->activateWindow();
    return m_pCapture;
}

QString CBaselineActions::DeviceId()
{
    CMetaDevice* device = CClientSession::Device();
    QString id;
    if (device)
        CGuardedCall::Run([&] { id = device->IsOnline() ? device->GetDevID() : QString(); });
    return id;
}

void CBaselineActions::OnLiveRecord(const CRecord& record)
{
    if (m_pCapture)
        m_pCapture->Add(record);
}

void CBaselineActions::OnCaptured(const QString& path, const QString& site)
{
    Say(tr("The baseline of %1 was saved to %2").arg(site, QDir::toNativeSeparators(path)));
}

void CBaselineActions::OnCompareAction()
{
    CCompareBaselineDialog dialog(CSiteFolder::Storage(), m_pWindow);
    if (dialog.exec() == QDialog::Accepted)
        StartComparing(dialog.Baseline(), dialog.Margin());
}

void CBaselineActions::StartComparing(const CBaseline& baseline, double marginDb)
{
    m_pComparator = std::make_unique<CBaselineComparator>(baseline, marginDb);
    m_pStopAction->setEnabled(true);
    RefreshMarks();
    Say(tr("Comparing with the baseline of %1, %2, margin %3 dB")
            .arg(baseline.site, baseline.start.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")))
            .arg(marginDb));
}

void CBaselineActions::StopComparing()
{
    if (!m_pComparator)
        return;
    m_pComparator.reset();
    m_refresh.stop();
    m_pStopAction->setEnabled(false);
    m_pMarks->SetSpans({});
    if (m_pLogFlags)
        m_pLogFlags->Clear();
    Say(tr("The comparison with the baseline has stopped."));
}

void CBaselineActions::Compare(const CRecord& record)
{
    if (!m_pComparator)
        return;
    m_pComparator->Add(record);
    if (!m_refresh.isActive())
        m_refresh.start();
}

void CBaselineActions::ResetComparison()
{
    if (!m_pComparator)
        return;
    // The comparator copies the baseline before the old one goes.
    m_pComparator = std::make_unique<CBaselineComparator>(m_pComparator->Baseline(), m_pComparator->Margin());
    m_refresh.stop();
    m_pMarks->SetSpans({});
}

void CBaselineActions::RefreshMarks()
{
    m_pMarks->SetSpans(
        m_pComparator ? CLogBaselineFlags::Spans(m_pComparator->Flags()) : QList<CBandFlagMarks::SPAN>());
}

void CBaselineActions::CompareFile(const QString&, const QList<CRecord>& records, int kind, bool listed)
{
    if (!m_pLogFlags)
        return;
    if (!m_pComparator) {
        m_pLogFlags->Clear();
        return;
    }
    const CBaseline& baseline = m_pComparator->Baseline();
    const qsizetype flags = m_pLogFlags->Show(baseline, m_pComparator->Margin(), records, kind, listed);
    if (flags > 0 && !listed)
        m_pLogArea->ShowListPage(true);
    const QString said = flags > 0
        ? tr("%n time(s) a band stood over the baseline of %1", nullptr, int(flags)).arg(baseline.site)
        : tr("No band stood over the baseline of %1").arg(baseline.site);
    // What the log area said of the file (a notes file it could not read,
    // say) stays in view.
    const QString before = m_widgets.statusBar ? m_widgets.statusBar->currentMessage() : QString();
    Say(before.isEmpty() ? said : before + QStringLiteral("; ") + said);
}

void CBaselineActions::Say(const QString& text) const
{
    if (m_widgets.statusBar)
        m_widgets.statusBar->showMessage(text, STATUS_MS);
}
