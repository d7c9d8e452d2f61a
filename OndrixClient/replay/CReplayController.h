#pragma once

#include "CRecord.h"
#include "files/NOTE.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class CConnectionStatus;
class CLiveFeed;
class CQDiagramWidget;
class CQDiagramWidget;
class CReplayBar;
class CReplayPlayer;
class CReplaySource;
class CReplayView;
class CStoragePanel;
class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

// A replay in the main window: a recording or a realtime data file played
// back into the realtime diagram and the spectrum window. The live feed
// keeps recording meanwhile and leaves the views to the replay until it
// ends; the title and the status bar say that a replay is showing.
class CReplayController : public QObject
{
    Q_OBJECT

public:
    // The window's widgets a replay starts from and shows in.
    struct WIDGETS
    {
        QAction* fileReplayAction = nullptr;
        // The storage tree's menu, and its Replay for the current item.
        QMenu* storageMenu = nullptr;
        QAction* storageReplayAction = nullptr;
        QTreeWidget* storageTree = nullptr;
        CQDiagramWidget* realtimeDiagram = nullptr;
        // Where the replay bar goes, above the realtime diagram.
        QVBoxLayout* barLayout = nullptr;
        QStatusBar* statusBar = nullptr;
    };

    CReplayController(QMainWindow* window, const WIDGETS& widgets, CLiveFeed* feed, CConnectionStatus* title,
        CStoragePanel* storage);
    ~CReplayController() override;

    // A file that cannot be replayed is refused with a message, and a
    // replay already running goes on.
    bool Start(const QString& path);
    // Back to the live view.
    void End();
    bool IsReplaying() const;
    CReplayPlayer* Player() const { return m_pPlayer.get(); }

Q_SIGNALS:
    // The notes of the file a replay started; none when it ended.
    void notesChanged(const QList<NOTE>& notes);
    // The replay's records as its view draws them, and its view starting
    // over (CReplayPlayer's).
    void recordShown(const CRecord& record);
    void viewReset();

private:
    void OnFileReplayAction();
    void OnStorageReplayAction();
    void OnStorageMenuAboutToShow();
    // Realtime data files and recordings replay; logs do not.
    static bool Replayable(const QTreeWidgetItem* item);
    void OnPlayerFinished();
    void ShowBar();
    void ShowLabel();
    QString DeviceType() const;

    QMainWindow* m_pWindow;
    WIDGETS m_widgets;
    // Children of the window like this one, and possibly gone before it.
    QPointer<CLiveFeed> m_pFeed;
    QPointer<CConnectionStatus> m_pTitle;
    CStoragePanel* m_pStorage;
    std::unique_ptr<CReplaySource> m_pSource;
    std::unique_ptr<CReplayView> m_pView;
    std::unique_ptr<CReplayPlayer> m_pPlayer;
    QPointer<CReplayBar> m_pBar;
    QPointer<QLabel> m_pLabel;
};
