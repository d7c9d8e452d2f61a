#pragma once

class QAction;
class QMainWindow;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTreeWidget;

// The main window's geometry, its two right-hand panes and the log area's
// pages: kept in the settings between runs, and switched by the Maximize
// buttons and the Log menu.
class CWindowLayout
{
public:
    // The window's widgets this layout keeps and switches.
    struct WIDGETS
    {
        // The log pane above the realtime pane.
        QSplitter* panes = nullptr;
        QTreeWidget* logList = nullptr;
        QTabWidget* logPages = nullptr;
        QAction* logMaxAction = nullptr;
        QPushButton* logMaxButton = nullptr;
        QAction* realtimeMaxAction = nullptr;
        QPushButton* realtimeMaxButton = nullptr;
        QAction* logDiagramAction = nullptr;
        QAction* logListAction = nullptr;
    };

    CWindowLayout(QMainWindow* window, const WIDGETS& widgets);

    // Each value from the settings, or its default when missing.
    void Restore();
    void Save() const;

    void SetPaneSizes(int logSize, int realtimeSize);
    void ToggleLogMaximized();
    void ToggleRealtimeMaximized();
    void ShowLogPage(int index);
    // The Log menu follows the page shown.
    void FollowLogPage(int index);

private:
    QMainWindow* m_pWindow;
    WIDGETS m_widgets;
};
