#include "overview/COverviewActions.h"

#include "app/ClientSettingsKeys.h"
#include "connect/CServerSearchDialog.h"
#include "overview/COverview.h"
#include "overview/COverviewDetectors.h"
#include "overview/COverviewPanel.h"
#include "overview/COverviewWindow.h"

#include <QAction>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStackedWidget>

COverviewActions::COverviewActions(QMainWindow* window, QMenu* before, COverview* overview)
    : QObject(window)
    , m_pMainWindow(window)
    , m_pOverview(overview)
{
    AddMenu(before);
    Retranslate();
    // As the window was left: a security office's screen stays an overview.
    if (QSettings().value(ClientSettingsKeys::OVERVIEW_MODE, false).toBool())
        SetMode(true);
}

COverviewActions::~COverviewActions()
{
    QSettings().setValue(ClientSettingsKeys::OVERVIEW_MODE, IsMode());
    delete m_pWindow;
}

void COverviewActions::AddMenu(QMenu* before)
{
    m_pMenu = new QMenu(m_pMainWindow);
    m_pMenu->setObjectName(QStringLiteral("menuOverview"));
    m_pModeAction = m_pMenu->addAction(QString());
    m_pModeAction->setObjectName(QStringLiteral("m_pOverviewModeAction"));
    m_pModeAction->setCheckable(true);
    m_pModeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    m_pWindowAction = m_pMenu->addAction(QString());
    m_pWindowAction->setObjectName(QStringLiteral("m_pOverviewWindowAction"));
    m_pAlertsAction = m_pMenu->addAction(QString());
    m_pAlertsAction->setObjectName(QStringLiteral("m_pOverviewAlertsAction"));
    m_pMainWindow->menuBar()->insertMenu(before->menuAction(), m_pMenu);
    connect(m_pModeAction, &QAction::toggled, this, &COverviewActions::SetMode);
    connect(m_pWindowAction, &QAction::triggered, this, &COverviewActions::ShowWindow);
    connect(m_pAlertsAction, &QAction::triggered, this, &COverviewActions::alertsRequested);
    connect(m_pMenu, &QMenu::aboutToShow, this, &COverviewActions::Retranslate);
}

void COverviewActions::Retranslate()
{
    m_pMenu->setTitle(tr("&Overview"));
    m_pModeAction->setText(tr("Overview &Mode"));
    m_pWindowAction->setText(tr("Overview &Window"));
    m_pAlertsAction->setText(tr("&Alerts..."));
}

// The main window's content and the rows share its place: the content is
// kept whole beneath, so leaving the mode finds it as it was.
void COverviewActions::SetMode(bool on)
{
    if (!m_pStack) {
        m_pStack = new QStackedWidget(m_pMainWindow);
        m_pStack->setObjectName(QStringLiteral("m_pOverviewStack"));
        m_pStack->addWidget(m_pMainWindow->takeCentralWidget());
        m_pModePanel = new COverviewPanel(m_pOverview->Model(), m_pStack);
        ConnectPanel(m_pModePanel);
        m_pStack->addWidget(m_pModePanel);
        m_pMainWindow->setCentralWidget(m_pStack);
    }
    m_pStack->setCurrentIndex(on ? 1 : 0);
    const QSignalBlocker blocker(m_pModeAction);
    m_pModeAction->setChecked(on);
}

bool COverviewActions::IsMode() const
{
    return m_pStack && m_pStack->currentIndex() == 1;
}

void COverviewActions::ShowWindow()
{
    if (!m_pWindow) {
        m_pWindow = new COverviewWindow(m_pOverview->Model());
        ConnectPanel(m_pWindow->Panel());
    }
    m_pWindow->show();
    m_pWindow->raise();
    m_pWindow->activateWindow();
}

void COverviewActions::ConnectPanel(COverviewPanel* panel)
{
    connect(panel, &COverviewPanel::addRequested, this, &COverviewActions::OnAddRequested);
    connect(panel, &COverviewPanel::searchRequested, this, &COverviewActions::OnSearchRequested);
    connect(panel, &COverviewPanel::renameRequested, this, &COverviewActions::OnRenameRequested);
    connect(panel, &COverviewPanel::removeRequested, this, &COverviewActions::OnRemoveRequested);
    connect(panel, &COverviewPanel::openRequested, this, &COverviewActions::OnOpenRequested);
    connect(panel, &COverviewPanel::alertsRequested, this, &COverviewActions::alertsRequested);
}

void COverviewActions::OnAddRequested()
{
    const QString local = tr("This computer");
    QStringList choices { local };
    choices += QSettings().value(ClientSettingsKeys::STARTUP_URLS).toStringList();
    bool ok = false;
    const QString chosen = QInputDialog::getItem(m_pMainWindow, tr("Add Detector"),
        tr("A server's address (ondrixs:// for an encrypted one), or this computer:"), choices, 0, true, &ok);
    if (!ok || chosen.trimmed().isEmpty())
        return;
    const OVERVIEW_DETECTOR detector { chosen == local ? QString() : COverviewDetectors::Normalized(chosen), {} };
    if (!m_pOverview->Add(detector))
        QMessageBox::information(m_pMainWindow, tr("Add Detector"),
            tr("%1 is in the overview already, or the overview is full.").arg(COverview::Label(detector)));
}

void COverviewActions::OnSearchRequested()
{
    CServerSearchDialog dialog(m_pMainWindow);
    if (dialog.exec() != QDialog::Accepted || dialog.GetSelectedServer().isEmpty())
        return;
    m_pOverview->Add({ COverviewDetectors::Normalized(dialog.GetSelectedServer()), {} });
}

void COverviewActions::OnRenameRequested(int row)
{
    if (row < 0 || row >= m_pOverview->Detectors().size())
        return;
    const OVERVIEW_DETECTOR& detector = m_pOverview->Detectors().at(row);
    bool ok = false;
    const QString name = QInputDialog::getText(m_pMainWindow, tr("Rename Detector"),
        tr("The name of %1 (a site, a room; empty for its address):").arg(COverview::Label(detector)),
        QLineEdit::Normal, detector.name, &ok);
    if (ok)
        m_pOverview->Rename(row, name);
}

void COverviewActions::OnRemoveRequested(const QList<int>& rows)
{
    const QMessageBox::StandardButton answer = QMessageBox::question(m_pMainWindow, tr("Remove Detectors"),
        tr("Stop watching %n detector(s)? Their alerts stay in the alert list.", nullptr, int(rows.size())),
        QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        m_pOverview->Remove(rows);
}

void COverviewActions::OnOpenRequested(int row)
{
    if (row < 0 || row >= m_pOverview->Detectors().size())
        return;
    const OVERVIEW_DETECTOR detector = m_pOverview->Detectors().at(row);
    SetMode(false);
    m_pMainWindow->raise();
    m_pMainWindow->activateWindow();
    Q_EMIT openRequested(detector);
}
