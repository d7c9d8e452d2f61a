#pragma once

#include "overview/COverviewWindow.h"
#include "overview/OVERVIEW_DETECTOR.h"

#include <QObject>
#include <QPointer>

class COverview;
class COverviewPanel;
class QAction;
class QMainWindow;
class QMenu;
class QStackedWidget;

// The overview's menu and views in the main window: the Overview menu, the
// overview mode (the main window's content swapped for the rows), the
// overview window, and the buttons of both that add, rename, remove and
// open detectors. Opening one is the main window's: it is asked through
// openRequested().
class COverviewActions : public QObject
{
    Q_OBJECT

public:
    // The menu goes before the menu bar's `before` menu.
    COverviewActions(QMainWindow* window, QMenu* before, COverview* overview);
    ~COverviewActions() override;

    void SetMode(bool on);
    bool IsMode() const;
    void ShowWindow();
    COverviewWindow* Window() const { return m_pWindow; }
    COverviewPanel* ModePanel() const { return m_pModePanel; }

Q_SIGNALS:
    void openRequested(const OVERVIEW_DETECTOR& detector);
    void alertsRequested();

private:
    void AddMenu(QMenu* before);
    void ConnectPanel(COverviewPanel* panel);
    void OnAddRequested();
    void OnSearchRequested();
    void OnRenameRequested(int row);
    void OnRemoveRequested(const QList<int>& rows);
    void OnOpenRequested(int row);
    void Retranslate();

    QMainWindow* m_pMainWindow;
    COverview* m_pOverview;
    QStackedWidget* m_pStack = nullptr;
    COverviewPanel* m_pModePanel = nullptr;
    QPointer<COverviewWindow> m_pWindow;
    QMenu* m_pMenu = nullptr;
    QAction* m_pModeAction = nullptr;
    QAction* m_pWindowAction = nullptr;
    QAction* m_pAlertsAction = nullptr;
};
