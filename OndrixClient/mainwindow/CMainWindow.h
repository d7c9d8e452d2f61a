#pragma once

#include "CRecord.h"
#include "ISpecificControls.h"
#include "overview/OVERVIEW_DETECTOR.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>

class CAlertActions;
class CAlertAnnouncer;
class CAlertCenter;
class CConnectionStatus;
class CLiveFeed;
class CLogArea;
class CLogDownload;
class CManualWindow;
class CNoteActions;
class COverview;
class COverviewActions;
class CReplayController;
class CMetaDevice;
class CStoragePanel;
class CWindowLayout;
class IDeviceGui;
class QLabel;
class QPoint;
class QTreeWidgetItem;

Q_DECLARE_INTERFACE(ISpecificControls, "ISpecificControls")

namespace Ui {
class CMainWindow;
}

// The client's only top-level window. It polls the current device every
// 25 ms, shows the connection state, hands every new live record to the
// device GUI for the realtime diagram, restarts the exchange after a device
// fault, and hosts the front panel, the storage panel and the log area.
class CMainWindow : public QMainWindow, public ISpecificControls
{
    Q_OBJECT
    Q_INTERFACES(ISpecificControls)

public:
    static constexpr int POLL_MS = 25;
    static constexpr int PANEL_TICKS = 5;
    static constexpr int RECOVERY_PAUSE_MS = 100;

    enum State { StateOffline, StateOnline, StateError };

    explicit CMainWindow(QWidget* parent = nullptr);
    ~CMainWindow() override;

    // Geometry, maximized state, splitter, log list columns and tab from
    // the settings, each with its default when missing.
    void RestoreWindowState();
    void SaveWindowState();

    State GetState() const;
    // Live records handed to the device GUI since the window was built.
    qint64 GetFedRecordCount() const;
    QString GetStoragePath() const;
    // Offline, with the reason in the status bar until the next message.
    void ShowConnectFailure(const QString& failure);
    COverview* Overview() const { return m_pOverview; }
    COverviewActions* OverviewActions() const { return m_pOverviewActions; }
    CAlertCenter* Alerts() const { return m_pAlerts; }
    CAlertActions* AlertActions() const { return m_pAlertActions; }
    // In the full view, the other detectors still watched.
    void OpenDetector(const OVERVIEW_DETECTOR& detector);

public Q_SLOTS:
    void OnTimer();
    void OnLogMaximizeButton();
    void OnRealtimeMaximizeButton();
    void OnRealtimeClearButton();
    void OnRealtimeSaveButton();
    void OnBrowseButton();
    void OnFolderButton();
    void OnRenameButton();
    void OnDeleteButton();
    void OnDeleteAllAction();
    void OnDownloadButton();
    void OnLogDiagramAction();
    void OnLogListAction();
    void OnTabWidgetCurChanged(int nIndex);
    void OnStorageContextMenu(QPoint pt);
    void OnStorageItemExpanded(QTreeWidgetItem* pItem);
    void OnStorageItemActivated(QTreeWidgetItem* pItem);
    void OnFileChangeDeviceAction();
    void OnFileStartServerAction();
    void OnFilePreferencesAction();
    void OnFileResetToDefaults();
    void OnHelpManualAction();
    void OnHelpAboutAction();
    void AddOptionalButton(QPushButton* pButton) override;
    void RemoveOptionalButton(QPushButton* pButton) override;
    void AddDockWindow(QDockWidget* pDockWindow) override;
    void RemoveDockWindow(QDockWidget* pDockWindow) override;
    void OnAutoScrollToggle(bool bOn);
    void OnAutoScrollButton(bool bOn);
    void OnDeviceChannelChanged();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplySettingsScope();
    void SetupStatusBar();
    void SetupActions();
    void ConnectForm();
    void ConnectChannelSignal();
    void ShowState(State state);
    void PollOnline(CMetaDevice* device);
    void Recover(CMetaDevice* device);
    void ShowError(const QString& text);
    static QString RecoveryMessage();
    template <typename Fn>
    void Guarded(Fn&& fn);
    void SetPaneSizes(int logSize, int realtimeSize);
    void TakeOver(CMetaDevice* device, IDeviceGui* gui);
    void SetupOverview();
    // The detector in use joins the overview, and is remembered there.
    void WatchCurrentDevice();
    void RestartConnection();

    void InitStorage();
    void FillStorageTree();
    void FillFolder(QTreeWidgetItem* pItem, const QString& strPath);
    // The disk path of a storage item: a folder's path, or a file's with its
    // extension; the root stands for the storage path.
    QString GetItemPath(QTreeWidgetItem* pItem) const;
    // Where saves and downloads go: the current item, or the root when none
    // is current; for a file, its folder.
    QTreeWidgetItem* TargetFolder() const;
    // Makes the folder's file of that name current and loads it.
    void SelectFile(QTreeWidgetItem* pFolder, const QString& strName);
    void RetranslateWindow();
    void RedrawInLanguage();

    std::unique_ptr<Ui::CMainWindow> m_pUi;
    std::unique_ptr<CManualWindow> m_pManualWindow;
    QTimer m_timer;
    CStoragePanel* m_pStoragePanel = nullptr;
    CLiveFeed* m_pLiveFeed = nullptr;
    CLogArea* m_pLogArea = nullptr;
    CLogDownload* m_pLogDownload = nullptr;
    CReplayController* m_pReplay = nullptr;
    CNoteActions* m_pNotes = nullptr;
    CAlertCenter* m_pAlerts = nullptr;
    CAlertAnnouncer* m_pAnnouncer = nullptr;
    CAlertActions* m_pAlertActions = nullptr;
    COverview* m_pOverview = nullptr;
    COverviewActions* m_pOverviewActions = nullptr;
    std::unique_ptr<CWindowLayout> m_pLayout;
    QLabel* m_pReadyLabel = nullptr;
    QLabel* m_pStateLabel = nullptr;
    QLabel* m_pModeLabel = nullptr;
    CConnectionStatus* m_pConnection = nullptr;
    State m_eState = StateOffline;
    int m_nPanelTicks = 0;
    QMetaObject::Connection m_channelConnection;
};
