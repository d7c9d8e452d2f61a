#include "mainwindow/CMainWindow.h"
#include "app/ClientSettingsKeys.h"
#include "mainwindow/StatusBar.h"

#include "ui_CMainWindow.h"

#include "IDeviceGui.h"
#include "IRZ450Device.h"
#include "IRZ450DeviceGui.h"
#include "alerts/CAlertAnnouncer.h"
#include "alerts/CAlertCenter.h"
#include "app/CClientSession.h"
#include "app/CGuardedCall.h"
#include "app/CTranslationSet.h"
#include "app/ClientLog.h"
#include "baseline/CBaselineActions.h"
#include "diagram/CQDiagramWidget.h"
#include "export/CExportActions.h"
#include "live/CLiveFeed.h"
#include "live/CRealtimeSaver.h"
#include "live/CSaveProgress.h"
#include "mainwindow/CConnectionStatus.h"
#include "mainwindow/CManualWindow.h"
#include "mainwindow/COtherWindows.h"
#include "mainwindow/CPreferencesDialog.h"
#include "mainwindow/CWindowLayout.h"
#include "notes/CNoteActions.h"
#include "overview/COverview.h"
#include "proxy/CMetaDevice.h"
#include "replay/CReplayController.h"
#include "report/CReportActions.h"
#include "storage/CLogArea.h"
#include "storage/CLogDownload.h"
#include "storage/CStoragePanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLocale>
#include <QMessageBox>
#include <QMetaMethod>
#include <QSettings>
#include <QThread>

namespace {

QString AppName()
{
    return QCoreApplication::applicationName();
}

} // namespace

CMainWindow::CMainWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_pUi(std::make_unique<Ui::CMainWindow>())
    , m_timer(this)
{
    m_timer.setObjectName(QStringLiteral("m_timer"));
    ApplySettingsScope();
    m_pUi->setupUi(this);
    const Ui::CMainWindow& ui = *m_pUi;
    m_pLiveFeed = new CLiveFeed(ui.m_pRealtimeGraphFrame, this);
    m_pLogArea = new CLogArea({ ui.m_pStatusBar, ui.m_pLogGraphFrame, ui.m_pTabWidget, ui.m_pLogListTree,
                                  ui.m_pNumEventsLabel, ui.m_pNumEventsEdit },
        this);
    m_pLayout = std::make_unique<CWindowLayout>(this,
        CWindowLayout::WIDGETS { ui.m_pRightSplitter, ui.m_pLogListTree, ui.m_pTabWidget, ui.m_pLogMaxAction,
            ui.m_pMaxLogButton, ui.m_pMaxRealtimeAction, ui.m_pMaxRealtimeButton, ui.m_pLogDiagramAction,
            ui.m_pLogListAction });
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->SetSpecificControls(this);
    InitStorage();
    connect(m_pLiveFeed->Recorder(), &CLiveRecorder::recordingsChanged, m_pStoragePanel,
        &CStoragePanel::RefreshRecordings);
    m_pLiveFeed->SetRecordingFolder(m_pStoragePanel->StoragePath());
    SetupStatusBar();
    SetupActions();
    SetupOverview();
    ConnectForm();
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->InitLogList(ui.m_pLogListTree);
    m_pManualWindow = std::make_unique<CManualWindow>();
    connect(&m_timer, &QTimer::timeout, this, &CMainWindow::OnTimer);
    m_timer.start(POLL_MS);
    FillStorageTree();
    // What a crash left of the last session, closed while this one records.
    m_pStoragePanel->CloseInterrupted();
    RestoreWindowState();
    ui.m_pNumEventsLabel->hide();
    ui.m_pNumEventsEdit->hide();
    ConnectChannelSignal();
    setMouseTracking(true);
}

CMainWindow::~CMainWindow()
{
    SaveWindowState();
    QSettings().setValue(ClientSettingsKeys::LANGUAGE, CTranslationSet::Instance().GetLanguage());
    m_pStoragePanel->SavePath();
}

void CMainWindow::ApplySettingsScope()
{
    // The scope names are not translated: the settings must be found again
    // whatever language the last run used.
    QCoreApplication::setOrganizationName(QLatin1String(ClientSettingsKeys::SCOPE_ORGANIZATION));
    QCoreApplication::setApplicationName(QLatin1String(ClientSettingsKeys::SCOPE_APPLICATION));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.03"));
    const QString language = QSettings().value(ClientSettingsKeys::LANGUAGE, QLocale::system().name()).toString();
    CTranslationSet::Instance().SetLanguage(language);
}

void CMainWindow::SetupStatusBar()
{
    m_pReadyLabel = new QLabel(tr("Ready"), this);
    m_pStateLabel = new QLabel(this);
    m_pModeLabel = new QLabel(tr("Normal"), this);
    m_pUi->m_pStatusBar->addWidget(m_pReadyLabel, 1);
    m_pConnection = new CConnectionStatus(this, m_pUi->m_pStatusBar, CClientSession::Device());
    connect(m_pConnection, &CConnectionStatus::reconnected, m_pLiveFeed, &CLiveFeed::OnReconnected);
    // A message replaces the status bar's normal fields while it shows, and
    // the poll's messages stay up: the state must not go with them.
    m_pUi->m_pStatusBar->addPermanentWidget(m_pStateLabel, 0);
    m_pUi->m_pStatusBar->addPermanentWidget(m_pModeLabel, 0);
    ShowState(StateOffline);
}

// The replay, note, report, baseline and export actions, each given the widgets it works with.
void CMainWindow::SetupActions()
{
    const Ui::CMainWindow& ui = *m_pUi;
    m_pReplay = new CReplayController(this,
        { ui.m_pFileReplayAction, ui.menuTree, ui.m_pStorageReplayAction, ui.m_pStorageTree, ui.m_pRealtimeGraphFrame,
            ui.m_pReplayBarLayout, ui.m_pStatusBar },
        m_pLiveFeed, m_pConnection, m_pStoragePanel);
    m_pNotes = new CNoteActions(this, { ui.menuRealtime, ui.m_pRealtimeGraphFrame, ui.m_pStatusBar }, m_pLiveFeed,
        m_pReplay);
    auto* report = new CReportActions(this, { ui.m_pFileReportAction, ui.m_pRealtimeGraphFrame, ui.m_pStatusBar },
        m_pStoragePanel);
    report->SetLiveNotes(m_pNotes);
    new CBaselineActions(this, { ui.menuRealtime, ui.m_pRealtimeGraphFrame, ui.m_pStatusBar }, m_pLiveFeed, m_pReplay,
        m_pLogArea);
    new CExportActions(this,
        { ui.menuTree, ui.m_pStorageReplayAction, ui.menuLog, ui.menuRealtime, ui.m_pStorageTree, ui.m_pStatusBar },
        m_pStoragePanel, m_pLogArea);
}

void CMainWindow::ConnectForm()
{
    Ui::CMainWindow& ui = *m_pUi;
    SetPaneSizes(height() / 2, height() / 2);
    ui.m_pRightSplitter->setStyleSheet(QStringLiteral("QSplitter::handle { background: lightGray; height: 3px } "));
    ui.m_pStorageTree->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(ui.m_pMaxLogButton, &QPushButton::clicked, this, &CMainWindow::OnLogMaximizeButton);
    connect(ui.m_pLogMaxAction, &QAction::triggered, this, &CMainWindow::OnLogMaximizeButton);
    connect(ui.m_pMaxRealtimeButton, &QPushButton::clicked, this, &CMainWindow::OnRealtimeMaximizeButton);
    connect(ui.m_pMaxRealtimeAction, &QAction::triggered, this, &CMainWindow::OnRealtimeMaximizeButton);
    connect(ui.m_pRealtimeClearButton, &QPushButton::clicked, this, &CMainWindow::OnRealtimeClearButton);
    connect(ui.m_pRealtimeClearAction, &QAction::triggered, this, &CMainWindow::OnRealtimeClearButton);
    connect(ui.m_pRealtimeSaveButton, &QPushButton::clicked, this, &CMainWindow::OnRealtimeSaveButton);
    connect(ui.m_pRealtimeSaveAction, &QAction::triggered, this, &CMainWindow::OnRealtimeSaveButton);
    connect(ui.m_pAutoscrollButton, &QPushButton::clicked, this, &CMainWindow::OnAutoScrollButton);

    connect(ui.m_pBrowseButton, &QPushButton::clicked, this, &CMainWindow::OnBrowseButton);
    connect(ui.m_pFolderButton, &QPushButton::clicked, this, &CMainWindow::OnFolderButton);
    connect(ui.m_pStorageFolderAction, &QAction::triggered, this, &CMainWindow::OnFolderButton);
    connect(ui.m_pRenameButton, &QPushButton::clicked, this, &CMainWindow::OnRenameButton);
    connect(ui.m_pStorageRenameAction, &QAction::triggered, this, &CMainWindow::OnRenameButton);
    connect(ui.m_pDeleteButton, &QPushButton::clicked, this, &CMainWindow::OnDeleteButton);
    connect(ui.m_pStorageDeleteAction, &QAction::triggered, this, &CMainWindow::OnDeleteButton);
    connect(ui.m_pStorageDeleteAllAction, &QAction::triggered, this, &CMainWindow::OnDeleteAllAction);
    connect(ui.m_pStorageExpandAllAction, &QAction::triggered, ui.m_pStorageTree, &QTreeWidget::expandAll);
    connect(ui.m_pStorageCollapseAllAction, &QAction::triggered, ui.m_pStorageTree, &QTreeWidget::collapseAll);
    connect(ui.m_pStorageTree, &QTreeWidget::customContextMenuRequested, this, &CMainWindow::OnStorageContextMenu);
    connect(ui.m_pStorageTree, &QTreeWidget::itemExpanded, this, &CMainWindow::OnStorageItemExpanded);
    connect(ui.m_pStorageTree, &QTreeWidget::itemCollapsed, this, &CMainWindow::OnStorageItemExpanded);
    connect(ui.m_pStorageTree, &QTreeWidget::itemClicked, this, &CMainWindow::OnStorageItemActivated);

    connect(ui.m_pDownloadButton, &QPushButton::clicked, this, &CMainWindow::OnDownloadButton);
    connect(ui.m_pLogDownloadAction, &QAction::triggered, this, &CMainWindow::OnDownloadButton);
    connect(ui.m_pLogDiagramAction, &QAction::triggered, this, &CMainWindow::OnLogDiagramAction);
    connect(ui.m_pLogListAction, &QAction::triggered, this, &CMainWindow::OnLogListAction);
    connect(ui.m_pTabWidget, &QTabWidget::currentChanged, this, &CMainWindow::OnTabWidgetCurChanged);

    connect(ui.m_pFileChangeDeviceAction, &QAction::triggered, this, &CMainWindow::OnFileChangeDeviceAction);
    connect(ui.m_pFileStartServerAction, &QAction::triggered, this, &CMainWindow::OnFileStartServerAction);
    connect(ui.m_pFilePreferencesAction, &QAction::triggered, this, &CMainWindow::OnFilePreferencesAction);
    connect(ui.m_pFileDefaultsAction, &QAction::triggered, this, &CMainWindow::OnFileResetToDefaults);
    connect(ui.m_pFileExitAction, &QAction::triggered, this, &CMainWindow::close);
    connect(ui.m_pHelpManualAction, &QAction::triggered, this, &CMainWindow::OnHelpManualAction);
    connect(ui.m_pHelpAboutAction, &QAction::triggered, this, &CMainWindow::OnHelpAboutAction);

    connect(ui.m_pRealtimeGraphFrame, &CQDiagramWidget::autoScrollToggle, this, &CMainWindow::OnAutoScrollToggle);
    connect(ui.m_pDeviceFrame, &CDeviceWidget::deviceChannelChanged, this, &CMainWindow::OnDeviceChannelChanged);
    connect(m_pLiveFeed, &CLiveFeed::message, this, &CMainWindow::ShowError);
    connect(m_pLiveFeed, &CLiveFeed::notice, this, &CMainWindow::ShowError);
}

void CMainWindow::ConnectChannelSignal()
{
    disconnect(m_channelConnection);
    m_channelConnection = {};
    CMetaDevice* device = CClientSession::Device();
    // Only a local RZ450 driver reports channel changes; the signal is
    // declared by the driver's own class, so its meta-object is asked.
    auto* driver = device ? dynamic_cast<IRZ450Device*>(device->GetLocalDevice()) : nullptr;
    if (!driver)
        return;
    const int signal = driver->metaObject()->indexOfSignal("deviceChannelChanged()");
    const int slot = metaObject()->indexOfSlot("OnDeviceChannelChanged()");
    if (signal >= 0)
        m_channelConnection = connect(driver, driver->metaObject()->method(signal), this, metaObject()->method(slot));
}

CMainWindow::State CMainWindow::GetState() const
{
    return m_eState;
}

// One line a function, read as a table.
// clang-format off
qint64 CMainWindow::GetFedRecordCount() const { return m_pLiveFeed->FedRecords(); }
QString CMainWindow::GetStoragePath() const { return m_pStoragePanel->StoragePath(); }
// clang-format on

void CMainWindow::ShowState(State state)
{
    m_eState = state;
    switch (state) {
    case StateOnline: m_pStateLabel->setText(tr("Online")); break;
    case StateError: m_pStateLabel->setText(tr("Error")); break;
    default: m_pStateLabel->setText(tr("Offline")); break;
    }
}

// ---------------------------------------------------------------------------
// The poll

void CMainWindow::OnTimer()
{
    if (CMetaDevice* device = CClientSession::Device(); device && !m_pConnection->IsDown()) {
        QString error;
        const bool done = CGuardedCall::Run(
            [&] {
                if (device->IsOnline())
                    PollOnline(device);
                else if (device->IsError())
                    Recover(device);
                else
                    ShowState(StateOffline);
            },
            &error);
        if (!done)
            ShowError(error.isEmpty() ? tr("Device data processing error!") : tr("Error:") + error);
    }
    if (++m_nPanelTicks >= PANEL_TICKS) {
        m_nPanelTicks = 0;
        m_pUi->m_pDeviceFrame->update();
        m_pUi->m_pLogGraphFrame->update();
    }
}

void CMainWindow::PollOnline(CMetaDevice* device)
{
    ShowState(StateOnline);
    // The recovery's message is over once the device answers again; any
    // other message stays until the next one replaces it.
    if (m_pUi->m_pStatusBar->currentMessage() == RecoveryMessage())
        m_pUi->m_pStatusBar->clearMessage();
    m_pLiveFeed->Poll(device);
    m_pUi->m_pRealtimeGraphFrame->update();
}

void CMainWindow::Recover(CMetaDevice* device)
{
    qCWarning(lcClient) << "the device reported an error: its exchange starts again";
    ShowState(StateError);
    m_pReadyLabel->clear();
    ShowError(RecoveryMessage());
    QThread::msleep(RECOVERY_PAUSE_MS);
    // The driver counts its users: a second Initialize on a driver whose
    // worker stopped would only count one more and leave it stopped. Giving
    // the use back first lets the count reach 0, and Initialize then starts
    // a new worker.
    device->Uninitialize();
    device->Initialize();
}

void CMainWindow::ShowError(const QString& text)
{
    m_pUi->m_pStatusBar->showMessage(text);
}

QString CMainWindow::RecoveryMessage()
{
    return tr("Device data exchange error occurred! Trying to restart exchange process...");
}

// A device call from a slot: a failure shows as the poll's errors do.
template <typename Fn>
void CMainWindow::Guarded(Fn&& fn)
{
    QString error;
    if (!CGuardedCall::Run(std::forward<Fn>(fn), &error))
        ShowError(tr("Error:") + error);
}

// ---------------------------------------------------------------------------
// Realtime area

void CMainWindow::OnDeviceChannelChanged()
{
    auto* gui = dynamic_cast<IRZ450DeviceGui*>(CClientSession::DeviceGui());
    if (!gui)
        return;
    Guarded([&] {
        gui->UpdateSpectrumButton();
        m_pLiveFeed->ClearCollected(CClientSession::Device());
    });
}

void CMainWindow::OnRealtimeClearButton()
{
    const QMessageBox::StandardButton answer = QMessageBox::question(this, AppName(),
        tr("Do you really want to delete all collected data?"), QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    Guarded([&] {
        m_pLiveFeed->ClearCollected(CClientSession::Device());
        m_pNotes->Clear();
        m_pUi->m_pStatusBar->showMessage(tr("Collected data cleared"));
    });
}

void CMainWindow::OnAutoScrollButton(bool bOn)
{
    m_pLiveFeed->SetAutoScroll(bOn);
}

void CMainWindow::OnAutoScrollToggle(bool bOn)
{
    m_pUi->m_pAutoscrollButton->setChecked(bOn);
}

void CMainWindow::OnRealtimeSaveButton()
{
    CMetaDevice* device = CClientSession::Device();
    QTreeWidgetItem* target = TargetFolder();
    if (!device || !target)
        return;
    CRealtimeSaver saver(device);
    saver.SetNotes(m_pNotes->Notes());
    const CRealtimeSaver::Result result
        = CSaveProgress::Run(this, saver, GetItemPath(target), m_pLiveFeed->SessionRecordings());
    if (result != CRealtimeSaver::Saved) {
        if (result == CRealtimeSaver::NothingToSave)
            QMessageBox::information(this, AppName(), tr("There's no data to save!"));
        else
            QMessageBox::warning(this, AppName(), tr("An error occured saving collected data!"));
        return;
    }
    FillFolder(target, GetItemPath(target));
    SelectFile(target, saver.Name());
    m_pUi->m_pStatusBar->showMessage(tr("Collected data saved"), StatusBar::MESSAGE_MS);
}

// ---------------------------------------------------------------------------
// Panes and window state

// One line a function, read as a table.
// clang-format off
void CMainWindow::SetPaneSizes(int logSize, int realtimeSize) { m_pLayout->SetPaneSizes(logSize, realtimeSize); }
void CMainWindow::OnLogMaximizeButton() { m_pLayout->ToggleLogMaximized(); }
void CMainWindow::OnRealtimeMaximizeButton() { m_pLayout->ToggleRealtimeMaximized(); }
void CMainWindow::OnLogDiagramAction() { m_pLayout->ShowLogPage(0); }
void CMainWindow::OnLogListAction() { m_pLayout->ShowLogPage(1); }
void CMainWindow::OnTabWidgetCurChanged(int nIndex) { m_pLayout->FollowLogPage(nIndex); }
void CMainWindow::RestoreWindowState() { m_pLayout->Restore(); }
void CMainWindow::SaveWindowState() { m_pLayout->Save(); }
// clang-format on

// ---------------------------------------------------------------------------
// Host of the device GUI's controls

void CMainWindow::AddOptionalButton(QPushButton* pButton)
{
    if (!pButton)
        return;
    // After the built-in buttons, before the stretch that closes the row.
    // Shown with the row unless the plug-in hid it: whether it shows is the
    // plug-in's to decide.
    QHBoxLayout* row = m_pUi->m_pRealTimeButtonsLayout;
    row->insertWidget(row->count() - 1, pButton);
}

void CMainWindow::RemoveOptionalButton(QPushButton* pButton)
{
    if (!pButton)
        return;
    m_pUi->m_pRealTimeButtonsLayout->removeWidget(pButton);
    pButton->hide();
}

void CMainWindow::AddDockWindow(QDockWidget* pDockWindow)
{
    if (pDockWindow)
        addDockWidget(Qt::RightDockWidgetArea, pDockWindow);
}

void CMainWindow::RemoveDockWindow(QDockWidget* pDockWindow)
{
    if (pDockWindow)
        removeDockWidget(pDockWindow);
}

// ---------------------------------------------------------------------------
// Preferences, manual and about

void CMainWindow::OnFilePreferencesAction()
{
    const bool russian = CTranslationSet::Instance().GetLanguage() == QLatin1String(CTranslationSet::RUSSIAN);
    CPreferencesDialog dialog(russian ? CPreferencesDialog::Russian : CPreferencesDialog::English, this);
    dialog.SetAlertDetectors(m_pOverview->AlertDetectors());
    dialog.SetAlertStorage(m_pStoragePanel->StoragePath());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_pLiveFeed->SetRecordingFolder(m_pStoragePanel->StoragePath());
    m_pAlerts->SetStoragePath(m_pStoragePanel->StoragePath());
    m_pOverview->ApplyAlertSettings();
    m_pAnnouncer->ApplySoundSettings();
    const bool toRussian = dialog.GetLanguageIndex() == CPreferencesDialog::Russian;
    CTranslationSet::Instance().SetLanguage(
        QLatin1String(toRussian ? CTranslationSet::RUSSIAN : CTranslationSet::ENGLISH));
    // The same language again installs nothing new and so sends no language
    // change: the window redraws itself all the same.
    RetranslateWindow();
    RedrawInLanguage();
}

void CMainWindow::RedrawInLanguage()
{
    Guarded([&] {
        if (CMetaDevice* device = CClientSession::Device(); device && device->IsOnline())
            m_pLiveFeed->Prepare();
    });
    if (QTreeWidgetItem* item = m_pUi->m_pStorageTree->currentItem())
        OnStorageItemActivated(item);
}

void CMainWindow::OnFileResetToDefaults()
{
    const QMessageBox::StandardButton answer = QMessageBox::question(this, AppName(),
        tr("Do you really want to reset program settings to defaults?"), QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    // The storage path and the language in use stay for this run; the
    // destructor writes them again.
    QSettings().clear();
    RestoreWindowState();
}

void CMainWindow::OnHelpManualAction()
{
    m_pManualWindow->setVisible(!m_pManualWindow->isVisible());
}

void CMainWindow::OnHelpAboutAction()
{
    QMessageBox::about(this, tr("About"),
        AppName() + QStringLiteral("<br>") + tr("Version ") + QCoreApplication::applicationVersion()
            + QStringLiteral("<br>") + tr("© 2026 Ondrix. All rights reserved."));
}

// ---------------------------------------------------------------------------
// Events

void CMainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && m_pReadyLabel)
        RetranslateWindow();
    QMainWindow::changeEvent(event);
}

void CMainWindow::RetranslateWindow()
{
    m_pUi->retranslateUi(this);
    m_pConnection->Retranslate();
    m_pReadyLabel->setText(tr("Ready"));
    m_pModeLabel->setText(tr("Normal"));
    ShowState(m_eState);
}

void CMainWindow::closeEvent(QCloseEvent* event)
{
    m_pReplay->End();
    m_pLiveFeed->EndRecording();
    CGuardedCall::Uninitialize(CClientSession::Device());
    m_pManualWindow->close();
    COtherWindows::Close(this);
    event->accept();
}

void CMainWindow::mouseMoveEvent(QMouseEvent* event)
{
    event->ignore();
}

void CMainWindow::mouseReleaseEvent(QMouseEvent* event)
{
    event->ignore();
}
