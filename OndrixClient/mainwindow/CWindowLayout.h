#pragma once

class QMainWindow;

namespace Ui {
class CMainWindow;
}

// The main window's geometry, its two right-hand panes and the log area's
// pages: kept in the settings between runs, and switched by the Maximize
// buttons and the Log menu.
class CWindowLayout
{
public:
    CWindowLayout(QMainWindow* window, Ui::CMainWindow& ui);

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
    Ui::CMainWindow& m_ui;
};
