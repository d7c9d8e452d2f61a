#include "CMainWindow.h"

#include "ui_CMainWindow.h"

#include "CClientSession.h"
#include "CDataFile.h"
#include "CErrorText.h"
#include "CLogSaver.h"
#include "CManualWindow.h"
#include "CMetaDevice.h"
#include "CPreferencesDialog.h"
#include "CProgressDialog.h"
#include "CQDiagramWidget.h"
#include "CRealtimeFileName.h"
#include "CStartupWindow.h"
#include "CStorageTree.h"
#include "CTranslationSet.h"
#include "IDeviceGui.h"
#include "IRZ450Device.h"
#include "IRZ450DeviceGui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QFileDialog>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QMetaMethod>
#include <QProcess>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <exception>

namespace {

const char* const KEY_LANGUAGE = "General/Language";
const char* const KEY_GEOMETRY = "Window/Geometry";
const char* const KEY_MAXIMIZED = "Window/Maximized";
const char* const KEY_SPLITTER = "Window/Splitter";
const char* const KEY_COLUMN = "Window/Log/Column%1";
const char* const KEY_TAB_INDEX = "Window/Log/TabIndex";
const char* const KEY_STORAGE_PATH = "General/StoragePath";

const QRect DEFAULT_GEOMETRY(0, 30, 600, 400);
const int DEFAULT_COLUMN_WIDTH = 75;
const int STATUS_MESSAGE_MS = 10000;

// The device's log progress figure at the end of a download.
const int LOG_DOWNLOADED = 100;
const int LOG_FAILED = 101;

#if defined(Q_OS_WIN)
const char* const SERVER_PROGRAM = "OndrixServer.exe";
#else
const char* const SERVER_PROGRAM = "OndrixServer";
#endif

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
    SetStandardTitle();
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->SetSpecificControls(this);
    InitStorage();
    SetupStatusBar();
    ConnectForm();
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->InitLogList(m_pUi->m_pLogListTree);
    m_pManualWindow = std::make_unique<CManualWindow>();
    connect(&m_timer, &QTimer::timeout, this, &CMainWindow::OnTimer);
    m_timer.start(POLL_MS);
    FillStorageTree();
    RestoreWindowState();
    m_pUi->m_pNumEventsLabel->hide();
    m_pUi->m_pNumEventsEdit->hide();
    ConnectChannelSignal();
    setMouseTracking(true);
}

CMainWindow::~CMainWindow()
{
    SaveWindowState();
    QSettings().setValue(KEY_LANGUAGE, CTranslationSet::Instance().GetLanguage());
    QSettings().setValue(KEY_STORAGE_PATH, m_strStoragePath);
}

void CMainWindow::ApplySettingsScope()
{
    // The scope names are not translated: the settings must be found again
    // whatever language the last run used.
    QCoreApplication::setOrganizationName(QStringLiteral("Korvent"));
    QCoreApplication::setApplicationName(QStringLiteral("RZ450 Ondrix"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.03"));
    const QString language = QSettings().value(KEY_LANGUAGE, QLocale::system().name()).toString();
    CTranslationSet::Instance().SetLanguage(language);
}

void CMainWindow::SetStandardTitle()
{
    setWindowTitle(AppName() + tr(" Version ") + QCoreApplication::applicationVersion());
}

void CMainWindow::SetupStatusBar()
{
    m_pReadyLabel = new QLabel(tr("Ready"), this);
    m_pStateLabel = new QLabel(this);
    m_pModeLabel = new QLabel(tr("Normal"), this);
    m_pUi->m_pStatusBar->addWidget(m_pReadyLabel, 1);
    // A message replaces the status bar's normal fields while it shows, and
    // the poll's messages stay up: the state must not go with them.
    m_pUi->m_pStatusBar->addPermanentWidget(m_pStateLabel, 0);
    m_pUi->m_pStatusBar->addPermanentWidget(m_pModeLabel, 0);
    ShowState(StateOffline);
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

qint64 CMainWindow::GetFedRecordCount() const
{
    return m_nFedRecords;
}

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
    CMetaDevice* device = CClientSession::Device();
    if (device) {
        try {
            if (device->IsOnline())
                PollOnline(device);
            else if (device->IsError())
                Recover(device);
            else
                ShowState(StateOffline);
        } catch (const std::exception& error) {
            const QString text = CErrorText::FromException(error);
            ShowError(text.isEmpty() ? tr("Device data processing error!") : tr("Error:") + text);
        }
    }
    if (++m_nPanelTicks >= PANEL_TICKS) {
        m_nPanelTicks = 0;
        RepaintPanel();
    }
}

void CMainWindow::PollOnline(CMetaDevice* device)
{
    ShowState(StateOnline);
    // The recovery's message is over once the device answers again; any
    // other message stays until the next one replaces it.
    if (m_pUi->m_pStatusBar->currentMessage() == RecoveryMessage())
        m_pUi->m_pStatusBar->clearMessage();
    const int mode = device->GetCurrentMode();
    const int count = device->GetCurrentRecordIndex();
    if (mode > 0 && count != m_nLastRecordIndex) {
        if (mode != m_nLastMode) {
            PrepareDiagram();
            m_nLastMode = mode;
        }
        if (count == 0) {
            m_nLastRecordIndex = 0;
        } else {
            if (m_nDiagramMode != mode) {
                PrepareDiagram();
                m_nDiagramMode = mode;
            }
            FeedRecords(device, count);
        }
    }
    m_pUi->m_pRealtimeGraphFrame->update();
}

void CMainWindow::FeedRecords(CMetaDevice* device, int count)
{
    // A count below the last one means the device started its records
    // anew (cleared, a new mode, or its ring wrapped) while no tick saw it
    // at 0: they are all new.
    if (count < m_nLastRecordIndex)
        m_nLastRecordIndex = 0;
    IDeviceGui* gui = CClientSession::DeviceGui();
    for (int i = std::max(0, m_nLastRecordIndex); i < count; ++i) {
        CRecord record = device->GetRecord(i);
        PlaceLiveRecord(record);
        if (gui)
            gui->AddRealtimeRecord(m_pUi->m_pRealtimeGraphFrame, record, -1);
        // Advanced record by record: after a failed fetch the next tick
        // goes on from here instead of adding the earlier ones twice.
        m_nLastRecordIndex = i + 1;
        ++m_nFedRecords;
    }
}

void CMainWindow::PlaceLiveRecord(CRecord& record)
{
    const quint64 now = quint64(std::max<qint64>(0, QDateTime::currentSecsSinceEpoch()));
    const CLiveTimeline::Step step = m_liveTimeline.Take(record.time, now);
    if (step == CLiveTimeline::Append)
        return;
    CQDiagramWidget* diagram = m_pUi->m_pRealtimeGraphFrame;
    if (step == CLiveTimeline::StepBack) {
        diagram->Clear(true);
        m_pUi->m_pStatusBar->showMessage(tr("The detector's clock went back: the live view starts again at %1")
            .arg(QDateTime::fromSecsSinceEpoch(qint64(record.time)).toString(QStringLiteral("dd.MM hh:mm:ss"))));
    }
    const QVariant start = QVariant::fromValue<quint64>(record.time);
    const QVariant end = QVariant::fromValue<quint64>(record.time + CQDiagramWidget::TIME_WINDOW_SECONDS);
    diagram->SetMaxXRange(start, end, 1.0, true);
}

void CMainWindow::PrepareDiagram()
{
    m_liveTimeline.Reset();
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->InitRealtimeDiagram(m_pUi->m_pRealtimeGraphFrame, true, -1);
}

void CMainWindow::Recover(CMetaDevice* device)
{
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

void CMainWindow::RepaintPanel()
{
    m_pUi->m_pDeviceFrame->update();
    m_pUi->m_pLogGraphFrame->update();
}

// ---------------------------------------------------------------------------
// Realtime area

void CMainWindow::ClearCollected(CMetaDevice* device)
{
    m_pUi->m_pRealtimeGraphFrame->Clear(true);
    m_liveTimeline.Reset();
    if (device)
        device->Clear();
    // What the device collects from now on starts at 0 again.
    m_nLastRecordIndex = 0;
    m_pUi->m_pRealtimeGraphFrame->update();
}

void CMainWindow::OnDeviceChannelChanged()
{
    auto* gui = dynamic_cast<IRZ450DeviceGui*>(CClientSession::DeviceGui());
    if (!gui)
        return;
    try {
        gui->UpdateSpectrumButton();
        ClearCollected(CClientSession::Device());
    } catch (const std::exception& error) {
        ShowError(tr("Error:") + CErrorText::FromException(error));
    }
}

void CMainWindow::OnRealtimeClearButton()
{
    const QMessageBox::StandardButton answer = QMessageBox::question(this, AppName(),
        tr("Do you really want to delete all collected data?"), QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    try {
        ClearCollected(CClientSession::Device());
        m_pUi->m_pStatusBar->showMessage(tr("Collected data cleared"));
    } catch (const std::exception& error) {
        ShowError(tr("Error:") + CErrorText::FromException(error));
    }
}

void CMainWindow::OnAutoScrollButton(bool bOn)
{
    try {
        const DiagramType type = m_pUi->m_pRealtimeGraphFrame->GetDiagramType(0);
        if (type == DIAGRAM_TIME_LINES || type == DIAGRAM_TIME_RECTS)
            m_pUi->m_pRealtimeGraphFrame->EnableAutoscroll(bOn);
    } catch (const std::exception&) {
        // A diagram without areas has nothing to scroll.
    }
}

void CMainWindow::OnAutoScrollToggle(bool bOn)
{
    m_pUi->m_pAutoscrollButton->setChecked(bOn);
}

// ---------------------------------------------------------------------------
// Panes

void CMainWindow::SetPaneSizes(int logSize, int realtimeSize)
{
    m_pUi->m_pRightSplitter->setSizes({ logSize, realtimeSize });
}

void CMainWindow::OnLogMaximizeButton()
{
    const int h = height();
    const bool maximize = m_pUi->m_pRightSplitter->sizes().value(1) != 0;
    if (maximize)
        SetPaneSizes(h, 0);
    else
        SetPaneSizes(h / 2, h / 2);
    m_pUi->m_pLogMaxAction->setChecked(maximize);
    m_pUi->m_pMaxLogButton->setChecked(maximize);
    m_pUi->m_pMaxRealtimeAction->setChecked(false);
    m_pUi->m_pMaxRealtimeButton->setChecked(false);
}

void CMainWindow::OnRealtimeMaximizeButton()
{
    const int h = height();
    const bool maximize = m_pUi->m_pRightSplitter->sizes().value(0) != 0;
    if (maximize)
        SetPaneSizes(0, h);
    else
        SetPaneSizes(h / 2, h / 2);
    m_pUi->m_pMaxRealtimeAction->setChecked(maximize);
    m_pUi->m_pMaxRealtimeButton->setChecked(maximize);
    m_pUi->m_pLogMaxAction->setChecked(false);
    m_pUi->m_pMaxLogButton->setChecked(false);
}

void CMainWindow::OnLogDiagramAction()
{
    m_pUi->m_pTabWidget->setCurrentIndex(0);
    m_pUi->m_pLogDiagramAction->setChecked(true);
    m_pUi->m_pLogListAction->setChecked(false);
}

void CMainWindow::OnLogListAction()
{
    m_pUi->m_pTabWidget->setCurrentIndex(1);
    m_pUi->m_pLogListAction->setChecked(true);
    m_pUi->m_pLogDiagramAction->setChecked(false);
}

void CMainWindow::OnTabWidgetCurChanged(int nIndex)
{
    m_pUi->m_pLogDiagramAction->setChecked(nIndex == 0);
    m_pUi->m_pLogListAction->setChecked(nIndex != 0);
}

// ---------------------------------------------------------------------------
// Host of the device GUI's controls

void CMainWindow::AddOptionalButton(QPushButton* pButton)
{
    if (!pButton)
        return;
    // After the built-in buttons, before the stretch that closes the row.
    QHBoxLayout* row = m_pUi->m_pRealTimeButtonsLayout;
    // Shown with the row unless the plug-in hid it: whether it shows is the
    // plug-in's to decide.
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
// Window state

void CMainWindow::RestoreWindowState()
{
    QSettings settings;
    setGeometry(settings.value(KEY_GEOMETRY, DEFAULT_GEOMETRY).toRect());
    setWindowState(settings.value(KEY_MAXIMIZED, false).toBool() ? Qt::WindowMaximized : Qt::WindowNoState);
    if (!m_pUi->m_pRightSplitter->restoreState(settings.value(KEY_SPLITTER).toByteArray()))
        SetPaneSizes(height() / 2, height() / 2);
    QTreeWidget* list = m_pUi->m_pLogListTree;
    for (int column = 0; column < list->columnCount(); ++column)
        list->setColumnWidth(column, settings.value(QString::fromLatin1(KEY_COLUMN).arg(column), DEFAULT_COLUMN_WIDTH).toInt());
    m_pUi->m_pTabWidget->setCurrentIndex(settings.value(KEY_TAB_INDEX, 0).toInt());
}

void CMainWindow::SaveWindowState()
{
    QSettings settings;
    settings.setValue(KEY_MAXIMIZED, isMaximized());
    // The size to come back to from a maximized window.
    settings.setValue(KEY_GEOMETRY, isMaximized() ? normalGeometry() : geometry());
    settings.setValue(KEY_SPLITTER, m_pUi->m_pRightSplitter->saveState());
    QTreeWidget* list = m_pUi->m_pLogListTree;
    for (int column = 0; column < list->columnCount(); ++column)
        settings.setValue(QString::fromLatin1(KEY_COLUMN).arg(column), list->columnWidth(column));
    settings.setValue(KEY_TAB_INDEX, m_pUi->m_pTabWidget->currentIndex());
}

// ---------------------------------------------------------------------------
// Connection changes

void CMainWindow::TakeOver(CMetaDevice* device, IDeviceGui* gui)
{
    CMetaDevice* old = CClientSession::Device();
    CClientSession::SetCurrent(device, gui);
    // The detector can serve one driver at a time.
    if (old && old != device) {
        try {
            old->Uninitialize();
        } catch (const std::exception&) {
            // A server that is gone has nothing to give back.
        }
    }
    // The GUI comes from a fresh module load: it knows nothing of this
    // window yet.
    gui->SetSpecificControls(this);
    gui->InitLogList(m_pUi->m_pLogListTree);
    m_pUi->m_pDeviceFrame->SetVirtualDevice(gui->GetVirtualDevice(), device);
    m_pUi->m_pRealtimeGraphFrame->Clear(true);
    m_liveTimeline.Reset();
    m_nDiagramMode = -1;
    m_nLastRecordIndex = -1;
    m_nLastMode = -1;
    ConnectChannelSignal();
    RestartConnection();
}

void CMainWindow::RestartConnection()
{
    CMetaDevice* device = CClientSession::Device();
    IDeviceGui* gui = CClientSession::DeviceGui();
    const QString url = device->GetUrl();
    QString failure;
    try {
        device->Uninitialize();
        if (!device->Initialize())
            failure = tr("server error");
        else if (!gui->SetDevice(device))
            failure = tr("device GUI error");
    } catch (const std::exception& error) {
        failure = CErrorText::FromException(error);
    }
    if (!failure.isEmpty()) {
        ShowState(StateOffline);
        m_pUi->m_pStatusBar->showMessage(tr("Failed to connect: ") + failure);
    }
    QString name;
    try {
        name = device->GetDevID();
    } catch (const std::exception&) {
        // The title goes without the name of a device that cannot be asked.
    }
    setWindowTitle(AppName() + QStringLiteral(" - [") + name + tr(" on ")
        + (url.isEmpty() ? tr("Local Computer") : url) + QStringLiteral("] - ") + tr("Version ")
        + QCoreApplication::applicationVersion());
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
    auto* probe = new CMetaDevice(QStringLiteral("localhost"));
    CClientSession::Keep(probe);
    if (probe->Initialize()) {
        QMessageBox::information(this, AppName(), tr("Ondrix Server is already running on this computer!"));
        return;
    }
    CMetaDevice* device = CClientSession::Device();
    try {
        device->Uninitialize();
    } catch (const std::exception&) {
        // A server that is gone has nothing to give back.
    }
    const QString program = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(SERVER_PROGRAM);
    if (!QProcess::startDetached(program, {}, QCoreApplication::applicationDirPath())) {
        QMessageBox::critical(this, AppName(), tr("Failed to run Ondrix Server! OndrixServer.exe file is missing!"));
        device->Initialize();
        return;
    }
    QMessageBox::information(this, AppName(), tr("Ondrix Server was successfully started on this computer!"));
    CStartupWindow window;
    try {
        if (window.HasDeviceGuis() && window.ConnectDevice(false, QStringLiteral("localhost")))
            TakeOver(window.GetDevice(), window.GetDeviceGui());
    } catch (const std::exception& error) {
        // The new server may still be starting.
        ShowState(StateOffline);
        m_pUi->m_pStatusBar->showMessage(tr("Failed to connect: ") + CErrorText::FromException(error));
    }
}

// ---------------------------------------------------------------------------
// Storage

void CMainWindow::InitStorage()
{
    QString id;
    try {
        if (CMetaDevice* device = CClientSession::Device())
            id = device->GetDevID();
    } catch (const std::exception&) {
        // A device that cannot be asked keeps its data in the program's own
        // folder.
    }
    m_strDefaultStorage = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // A server names its device as it likes; a name that would lead out of
    // the program's folder is not used as a folder name.
    if (CStorageTree::IsPlainName(id))
        m_strDefaultStorage += QLatin1Char('/') + id;
    QDir().mkpath(m_strDefaultStorage);
    m_strStoragePath = QSettings().value(KEY_STORAGE_PATH).toString();
    if (m_strStoragePath.isEmpty())
        m_strStoragePath = m_strDefaultStorage;
    m_pStorage = std::make_unique<CStorageTree>(m_pUi->m_pStorageTree);
}

void CMainWindow::FillStorageTree()
{
    const QString label = m_strStoragePath == m_strDefaultStorage ? tr("Default Storage") : m_strStoragePath;
    QTreeWidgetItem* root = m_pStorage->Rebuild(label, m_strStoragePath);
    // Opened by the program, the root keeps its drive icon until the user
    // opens or closes it.
    const QSignalBlocker blocker(m_pUi->m_pStorageTree);
    root->setExpanded(true);
}

void CMainWindow::FillFolder(QTreeWidgetItem* pItem, const QString& strPath)
{
    m_pStorage->Fill(pItem, strPath);
}

QString CMainWindow::GetItemPath(QTreeWidgetItem* pItem) const
{
    return CStorageTree::PathOf(pItem, m_strStoragePath);
}

QTreeWidgetItem* CMainWindow::TargetFolder() const
{
    return m_pStorage->TargetFolder();
}

void CMainWindow::OnBrowseButton()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Select a storage folder"), m_strStoragePath,
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty())
        return;
    m_strStoragePath = folder;
    FillStorageTree();
    m_pUi->m_pStorageTree->topLevelItem(0)->setText(0, folder);
    m_pUi->m_pStatusBar->showMessage(tr("New storage has been loaded"), STATUS_MESSAGE_MS);
}

void CMainWindow::OnFolderButton()
{
    const QString name = QInputDialog::getText(this, tr("Create a folder"), tr("Folder name:"));
    QTreeWidgetItem* target = TargetFolder();
    if (name.isEmpty() || !target)
        return;
    if (!CStorageTree::IsPlainName(name) || !QDir(GetItemPath(target)).mkdir(name)) {
        QMessageBox::warning(this, AppName(), tr("Could not create the folder!"));
        return;
    }
    m_pStorage->AddItem(target, CStorageTree::KindFolder, name);
    target->setExpanded(true);
    m_pUi->m_pStatusBar->showMessage(tr("A folder created"), STATUS_MESSAGE_MS);
}

void CMainWindow::OnRenameButton()
{
    QTreeWidgetItem* item = m_pUi->m_pStorageTree->currentItem();
    if (!CStorageTree::IsFile(item))
        return;
    const QString name = QInputDialog::getText(this, tr("Rename a file"), tr("New file name:"), QLineEdit::Normal,
        item->text(0));
    if (name.isEmpty() || name == item->text(0))
        return;
    const QString extension = CStorageTree::Extension(CStorageTree::KindOf(item));
    const QString path = GetItemPath(item->parent()) + QLatin1Char('/') + name + QLatin1Char('.') + extension;
    // Renaming never replaces another file.
    if (!CStorageTree::IsPlainName(name) || !QFile::rename(GetItemPath(item), path)) {
        QMessageBox::warning(this, AppName(), tr("Could not rename the file!"));
        return;
    }
    item->setText(0, name);
    m_pUi->m_pStatusBar->showMessage(tr("A file renamed"), STATUS_MESSAGE_MS);
}

void CMainWindow::OnDeleteButton()
{
    QTreeWidgetItem* item = m_pUi->m_pStorageTree->currentItem();
    if (!item || !item->parent())
        return;
    const bool folder = !CStorageTree::IsFile(item);
    const QString question = folder ? tr("Do you really want to delete the folder and all its content?")
                                    : tr("Do you really want to delete the file?");
    if (QMessageBox::question(this, AppName(), question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const QString path = GetItemPath(item);
    if (folder ? !CStorageTree::RemoveFolder(path) : !QFile::remove(path)) {
        // Part of a folder may be gone: the tree shows what is left.
        if (folder)
            FillFolder(item, path);
        QMessageBox::warning(this, AppName(),
            folder ? tr("Could not delete the folder!") : tr("Could not delete the file!"));
        return;
    }
    delete item;
    m_pUi->m_pStatusBar->showMessage(folder ? tr("A folder has been deleted") : tr("A file has been deleted"));
}

void CMainWindow::OnDeleteAllAction()
{
    const QMessageBox::StandardButton answer = QMessageBox::question(this, AppName(),
        tr("Do you really want to delete all the items in the archive?"), QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    // The files stay on disk and come back with the next fill.
    if (QTreeWidgetItem* root = m_pUi->m_pStorageTree->topLevelItem(0))
        qDeleteAll(root->takeChildren());
    QDir().mkpath(m_strStoragePath);
}

void CMainWindow::OnStorageContextMenu(QPoint pt)
{
    QTreeWidget* tree = m_pUi->m_pStorageTree;
    if (tree->itemAt(pt))
        m_pUi->menuTree->popup(tree->viewport()->mapToGlobal(pt));
}

void CMainWindow::OnStorageItemExpanded(QTreeWidgetItem* pItem)
{
    m_pStorage->ShowExpanded(pItem);
}

void CMainWindow::OnRealtimeSaveButton()
{
    CMetaDevice* device = CClientSession::Device();
    QTreeWidgetItem* target = TargetFolder();
    if (!device || !target)
        return;
    QString name;
    bool saved = false;
    try {
        if (device->GetCurrentRecordIndex() == 0) {
            QMessageBox::information(this, AppName(), tr("There's no data to save!"));
            return;
        }
        const int mode = device->GetCurrentMode();
        const QString prefix = CRealtimeFileName::Prefix(mode, device->GetCurrentBand());
        saved = SaveRealtimeData(GetItemPath(target), mode == IDevice::MODE_AUTO, prefix, name);
    } catch (const std::exception&) {
        saved = false;
    }
    if (!saved) {
        QMessageBox::warning(this, AppName(), tr("An error occured saving collected data!"));
        return;
    }
    FillFolder(target, GetItemPath(target));
    SelectFile(target, name);
    m_pUi->m_pStatusBar->showMessage(tr("Collected data saved"), STATUS_MESSAGE_MS);
}

bool CMainWindow::SaveRealtimeData(const QString& strFolder, bool bAuto, const QString& strPrefix, QString& strName)
{
    CMetaDevice* device = CClientSession::Device();
    if (strFolder.isEmpty() || !device)
        return false;
    try {
        const QList<CRecord> records = device->GetRealtimeRecords();
        if (records.isEmpty())
            return false;
        strName = CRealtimeFileName::Make(strPrefix, records.first().time);
        const QString path = QDir(strFolder).filePath(strName + QStringLiteral(".rdf"));
        return CDataFile::Save(path, device->GetDevID(), bAuto ? 1 : 0, records);
    } catch (const std::exception&) {
        return false;
    }
}

void CMainWindow::OnStorageItemActivated(QTreeWidgetItem* pItem)
{
    if (!CStorageTree::IsFile(pItem))
        return;
    m_pUi->m_pStatusBar->showMessage(tr("Loading file..."));
    m_pUi->m_pStatusBar->repaint();
    QList<CRecord> records;
    int kind = 0;
    if (!LoadDataFile(GetItemPath(pItem), records, kind)) {
        m_pUi->m_pStatusBar->clearMessage();
        QMessageBox::warning(this, AppName(), tr("An error occured loading the file!"));
        return;
    }
    ShowRecords(records, kind);
    if (kind == 2)
        ShowLogRecords(records);
    else
        ShowRealtimeRecords();
    m_pUi->m_pStatusBar->showMessage(tr("A file loaded"));
}

bool CMainWindow::LoadDataFile(const QString& strPath, QList<CRecord>& records, int& nKind)
{
    CMetaDevice* device = CClientSession::Device();
    QString type;
    qint32 kind = 0;
    CDataFile::Result result = CDataFile::OpenFailed;
    try {
        if (device)
            result = CDataFile::Load(strPath, device->GetDevID(), records, kind, &type);
    } catch (const std::exception&) {
        return false;
    }
    if (result == CDataFile::WrongDevice) {
        // The name comes from the file: shown as it is, never as markup.
        QMessageBox box(QMessageBox::Warning, AppName(), tr("This log file is for ") + type.left(64) + tr(" device!"),
            QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    if (result != CDataFile::Ok)
        return false;
    nKind = kind;
    return true;
}

void CMainWindow::ShowLogRecords(const QList<CRecord>& records)
{
    ShowListPage(true);
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->FillLogList(m_pUi->m_pLogListTree, records);
    m_pUi->m_pNumEventsLabel->show();
    m_pUi->m_pNumEventsEdit->show();
    m_pUi->m_pNumEventsEdit->setText(QString::number(records.size()));
}

void CMainWindow::ShowRealtimeRecords()
{
    m_pUi->m_pLogListTree->clear();
    ShowListPage(false);
    m_pUi->m_pNumEventsLabel->hide();
    m_pUi->m_pNumEventsEdit->hide();
}

void CMainWindow::ShowListPage(bool bShow)
{
    QTabWidget* tabs = m_pUi->m_pTabWidget;
    if (bShow && m_pListTabWidget) {
        tabs->insertTab(1, m_pListTabWidget, tr("List"));
        m_pListTabWidget = nullptr;
    } else if (!bShow && tabs->count() > 1) {
        // Still owned by the tab widget's stack, hidden until put back.
        m_pListTabWidget = tabs->widget(1);
        tabs->removeTab(1);
    }
}

void CMainWindow::ShowRecords(const QList<CRecord>& records, int nKind)
{
    CQDiagramWidget* diagram = m_pUi->m_pLogGraphFrame;
    diagram->Clear(true);
    IDeviceGui* gui = CClientSession::DeviceGui();
    if (records.isEmpty() || !gui) {
        diagram->update();
        return;
    }
    const int mode = nKind == 1 || nKind == 2 ? IDevice::MODE_AUTO : IDevice::MODE_MAN;
    gui->InitRealtimeDiagram(diagram, nKind == 2, mode);
    const auto [earliest, latest] = std::minmax_element(records.begin(), records.end(),
        [](const CRecord& a, const CRecord& b) { return a.time < b.time; });
    // Two seconds of margin, kept inside the range of the times.
    const quint64 margin = 2;
    const QVariant from = QVariant::fromValue<quint64>(earliest->time - std::min(earliest->time, margin));
    const QVariant to = QVariant::fromValue<quint64>(latest->time + std::min(~latest->time, margin));
    diagram->SetMaxXRange(from, to, 1.0, false);
    diagram->SetVisibleXRange(from, to);
    for (const CRecord& record : records)
        gui->AddRealtimeRecord(diagram, record, mode);
    diagram->update();
}

void CMainWindow::SelectFile(QTreeWidgetItem* pFolder, const QString& strName)
{
    for (int i = 0; i < pFolder->childCount(); ++i) {
        QTreeWidgetItem* child = pFolder->child(i);
        if (CStorageTree::IsFile(child) && child->text(0) == strName) {
            m_pUi->m_pStorageTree->setCurrentItem(child);
            OnStorageItemActivated(child);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Log download

void CMainWindow::OnDownloadButton()
{
    CMetaDevice* device = CClientSession::Device();
    bool online = false;
    try {
        online = device && device->IsOnline();
    } catch (const std::exception&) {
        // A server that cannot be asked has no log to give.
    }
    if (!online) {
        QMessageBox::warning(this, AppName(), tr("No connection with the device!"));
        return;
    }
    m_pUi->m_pStatusBar->showMessage(tr("Downloading the log..."));
    if (!ReadLog(device)) {
        m_pUi->m_pStatusBar->clearMessage();
        return;
    }
    m_pUi->m_pStatusBar->showMessage(tr("Parsing the log..."));
    StoreLog(device);
}

bool CMainWindow::ReadLog(CMetaDevice* device)
{
    CProgressDialog dialog(tr("Reading the log from the internal flash memory"), LOG_DOWNLOADED, LOG_FAILED, this);
    dialog.setWindowTitle(AppName());
    for (;;) {
        bool posted = true;
        try {
            device->SetRequest(IDevice::ReadLog);
        } catch (const std::exception&) {
            posted = false;
        }
        if (posted && dialog.exec() == QDialog::Accepted)
            return true;
        const QMessageBox::StandardButton answer = QMessageBox::question(this, AppName(),
            tr("An error occured reading the log. Retry?"), QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
    }
}

void CMainWindow::StoreLog(CMetaDevice* device)
{
    QTreeWidgetItem* target = TargetFolder();
    CLogSaver saver(device);
    const CLogSaver::Result result = target ? saver.Save(GetItemPath(target)) : CLogSaver::Failed;
    // Banks written before a failure stay on disk: the tree shows them.
    if (!saver.SavedNames().isEmpty())
        FillFolder(target, GetItemPath(target));
    if (result != CLogSaver::Saved) {
        m_pUi->m_pStatusBar->clearMessage();
        if (result == CLogSaver::NoEvents)
            QMessageBox::information(this, AppName(), tr("No new events!"));
        else
            QMessageBox::warning(this, AppName(), tr("Error loading events!"));
        return;
    }
    QMessageBox::information(this, AppName(), tr("The log has been successfully read!"));
    // The newest bank goes into the log area.
    SelectFile(target, QFileInfo(saver.SavedNames().constLast()).completeBaseName());
    m_pUi->m_pStatusBar->showMessage(tr("The log has been downloaded and parsed"), STATUS_MESSAGE_MS);
}

// ---------------------------------------------------------------------------
// Preferences, manual and about

void CMainWindow::OnFilePreferencesAction()
{
    const bool russian = CTranslationSet::Instance().GetLanguage() == QLatin1String(CTranslationSet::RUSSIAN);
    CPreferencesDialog dialog(russian ? CPreferencesDialog::Russian : CPreferencesDialog::English, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool toRussian = dialog.GetLanguageIndex() == CPreferencesDialog::Russian;
    CTranslationSet::Instance().SetLanguage(QLatin1String(toRussian ? CTranslationSet::RUSSIAN : CTranslationSet::ENGLISH));
    // The same language again installs nothing new and so sends no language
    // change: the window redraws itself all the same.
    RetranslateWindow();
    RedrawInLanguage();
}

void CMainWindow::RedrawInLanguage()
{
    try {
        if (CMetaDevice* device = CClientSession::Device(); device && device->IsOnline())
            PrepareDiagram();
    } catch (const std::exception& error) {
        ShowError(tr("Error:") + CErrorText::FromException(error));
    }
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
    SetStandardTitle();
    m_pReadyLabel->setText(tr("Ready"));
    m_pModeLabel->setText(tr("Normal"));
    ShowState(m_eState);
}

void CMainWindow::closeEvent(QCloseEvent* event)
{
    if (CMetaDevice* device = CClientSession::Device()) {
        try {
            device->Uninitialize();
        } catch (const std::exception&) {
            // A server that is gone has nothing to give back.
        }
    }
    m_pManualWindow->close();
    CloseOtherWindows();
    event->accept();
}

void CMainWindow::CloseOtherWindows()
{
    // The device GUI's windows (the spectrum window among them) have no
    // parent: left open they would keep the program running without its
    // main window.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window == this || !window->isVisible())
            continue;
        window->close();
        window->hide();
    }
}

void CMainWindow::mouseMoveEvent(QMouseEvent* event)
{
    event->ignore();
}

void CMainWindow::mouseReleaseEvent(QMouseEvent* event)
{
    event->ignore();
}
