#include "mainwindow/CMainWindow.h"

#include "ui_CMainWindow.h"

#include "IDeviceGui.h"
#include "IRZ450DeviceGui.h"
#include "alerts/CAlertActions.h"
#include "alerts/CAlertAnnouncer.h"
#include "alerts/CAlertCenter.h"
#include "alerts/CAlertSound.h"
#include "alerts/CDesktopNotifier.h"
#include "app/CClientSession.h"
#include "app/CErrorText.h"
#include "app/CGuardedCall.h"
#include "connect/CStartupWindow.h"
#include "live/CLiveFeed.h"
#include "mainwindow/CConnectionStatus.h"
#include "overview/COverview.h"
#include "overview/COverviewActions.h"
#include "overview/COverviewDetectors.h"
#include "proxy/CMetaDevice.h"
#include "server/CServerStarter.h"
#include "storage/CStoragePanel.h"

#include <QMessageBox>

#include <exception>

// ---------------------------------------------------------------------------
// Connection changes

void CMainWindow::TakeOver(CMetaDevice* device, IDeviceGui* gui)
{
    CMetaDevice* old = CClientSession::Device();
    CClientSession::SetCurrent(device, gui);
    // The detector can serve one driver at a time.
    if (old != device)
        CGuardedCall::Uninitialize(old);
    // The GUI comes from a fresh module load: it knows nothing of this
    // window yet.
    gui->SetSpecificControls(this);
    gui->InitLogList(m_pUi->m_pLogListTree);
    m_pUi->m_pDeviceFrame->SetVirtualDevice(gui->GetVirtualDevice(), device);
    m_pLiveFeed->Restart();
    ConnectChannelSignal();
    RestartConnection();
    WatchCurrentDevice();
}

void CMainWindow::RestartConnection()
{
    CMetaDevice* device = CClientSession::Device();
    IDeviceGui* gui = CClientSession::DeviceGui();
    QString failure;
    CGuardedCall::Run(
        [&] {
            device->Uninitialize();
            if (!device->Initialize())
                failure = tr("server error");
            else if (!gui->SetDevice(device))
                failure = tr("device GUI error");
        },
        &failure);
    m_pConnection->Show(device);
    if (!failure.isEmpty())
        ShowConnectFailure(failure);
}

void CMainWindow::ShowConnectFailure(const QString& failure)
{
    m_pConnection->Fail(CClientSession::Device(), failure);
    ShowState(StateOffline);
    m_pUi->m_pStatusBar->showMessage(tr("Failed to connect: ") + failure);
}

void CMainWindow::OnFileChangeDeviceAction()
{
    CStartupWindow window;
    window.setWindowTitle(QStringLiteral("Change device"));
    if (window.HasDeviceGuis() && window.exec() == QDialog::Accepted)
        TakeOver(window.GetDevice(), window.GetDeviceGui());
}

void CMainWindow::OnFileStartServerAction()
{
    CServerStarter starter(this);
    QString error;
    switch (starter.Start(CClientSession::Device(), error)) {
    case CServerStarter::Connected:
        TakeOver(starter.Connection()->GetDevice(), starter.Connection()->GetDeviceGui());
        m_pConnection->ShowSharing(starter.GetSharing());
        break;
    case CServerStarter::Failed: ShowConnectFailure(error); break;
    case CServerStarter::Unchanged: break;
    }
}

// ---------------------------------------------------------------------------
// The overview and the alerts

namespace {

// The looks go through the device GUI of the RZ450: GUIs of other models
// cannot look, and their detectors stay offline in the overview.
CLookWorker::Looker Looker()
{
    auto* gui = dynamic_cast<IRZ450DeviceGui*>(CClientSession::DeviceGui());
    if (!gui)
        return [](CMetaDevice*, bool) { return RZ450_LOOK {}; };
    // The session keeps every GUI it was given until the program ends.
    return [gui](CMetaDevice* device, bool withNames) { return gui->Look(device, withNames); };
}

} // namespace

void CMainWindow::SetupOverview()
{
    m_pAlerts = new CAlertCenter(this);
    m_pAlerts->SetStoragePath(m_pStoragePanel->StoragePath());
    connect(m_pAlerts, &CAlertCenter::logProblem, this, &CMainWindow::ShowError);
    auto* notifier = new CDesktopNotifier(QDBusConnection::sessionBus(), this);
    m_pAnnouncer = new CAlertAnnouncer(m_pAlerts, notifier, new CAlertSound(this), this);
    m_pAnnouncer->SetWindow(this);
    m_pOverview = new COverview(Looker(), m_pAlerts, this);
    m_pOverviewActions = new COverviewActions(this, m_pUi->menuHelp, m_pOverview);
    connect(m_pOverviewActions, &COverviewActions::openRequested, this, &CMainWindow::OpenDetector);
    m_pAlertActions = new CAlertActions(m_pAlerts, m_pAnnouncer, notifier, this);
    connect(m_pOverviewActions, &COverviewActions::alertsRequested, m_pAlertActions, &CAlertActions::ShowList);
    connect(m_pAlertActions, &CAlertActions::overviewRequested, m_pOverviewActions, &COverviewActions::ShowWindow);
    m_pOverview->Start();
    WatchCurrentDevice();
}

void CMainWindow::WatchCurrentDevice()
{
    CMetaDevice* device = CClientSession::Device();
    const bool local = device && device->GetLocalDevice();
    m_pOverview->SetLocalDevice(local ? device : nullptr);
    if (device)
        m_pOverview->Add({ local ? QString() : COverviewDetectors::Normalized(device->GetUrl()), {} });
}

// Opened as the start-up window opens a detector, trust questions and all;
// the overview goes on watching every other detector meanwhile.
void CMainWindow::OpenDetector(const OVERVIEW_DETECTOR& detector)
{
    // The one shown already stays as it is, its connection and history too.
    if (CMetaDevice* device = CClientSession::Device()) {
        const bool local = device->GetLocalDevice() != nullptr;
        if (local == detector.IsLocal()
            && (local || COverviewDetectors::Normalized(device->GetUrl()) == detector.address))
            return;
    }
    CStartupWindow window;
    if (!window.HasDeviceGuis())
        return;
    try {
        if (!window.ConnectDevice(detector.IsLocal(), detector.address))
            return;
    } catch (const std::exception& error) {
        ShowConnectFailure(CErrorText::FromException(error));
        return;
    }
    TakeOver(window.GetDevice(), window.GetDeviceGui());
}
