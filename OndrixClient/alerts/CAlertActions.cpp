#include "alerts/CAlertActions.h"

#include "alerts/CAlertAnnouncer.h"
#include "alerts/CAlertListWindow.h"
#include "alerts/CAlertSettings.h"
#include "alerts/CAlertTrayIcon.h"
#include "alerts/CDesktopNotifier.h"

#include <QDateTime>

CAlertActions::CAlertActions(CAlertCenter* center, CAlertAnnouncer* announcer, CDesktopNotifier* notifier,
    QObject* parent)
    : QObject(parent)
    , m_pCenter(center)
    , m_pAnnouncer(announcer)
    , m_pList(new CAlertListWindow)
    , m_pTray(new CAlertTrayIcon(this))
{
    notifier->SetTray(m_pTray->Tray());
    m_pTray->SetMuted(CAlertSettings::Muted());
    m_pTray->SetLevel(CAlertTrayIcon::Level(center->Worst()));
    m_pTray->Show();
    connect(m_pTray, &CAlertTrayIcon::alertsRequested, this, &CAlertActions::ShowList);
    connect(m_pTray, &CAlertTrayIcon::overviewRequested, this, &CAlertActions::overviewRequested);
    connect(m_pTray, &CAlertTrayIcon::acknowledgeAllRequested, this, &CAlertActions::OnAcknowledgeAllRequested);
    connect(m_pTray, &CAlertTrayIcon::muteToggled, this, &CAlertActions::OnMuteToggled);
    connect(m_pList, &CAlertListWindow::acknowledgeRequested, this, &CAlertActions::OnAcknowledgeRequested);
    connect(center, &CAlertCenter::alertsChanged, this, &CAlertActions::OnAlertsChanged);
    connect(center, &CAlertCenter::levelChanged, this, &CAlertActions::OnLevelChanged);
    m_pList->SetAlerts(center->List().Alerts());
}

CAlertActions::~CAlertActions()
{
    delete m_pList;
}

void CAlertActions::ShowList()
{
    m_pList->SetAlerts(m_pCenter->List().Alerts());
    m_pList->show();
    m_pList->raise();
    m_pList->activateWindow();
}

void CAlertActions::OnAcknowledgeRequested(const QList<int>& rows)
{
    m_pCenter->Acknowledge(rows, CAlertCenter::UserName(), QDateTime::currentMSecsSinceEpoch());
}

void CAlertActions::OnAcknowledgeAllRequested()
{
    m_pCenter->AcknowledgeAll(CAlertCenter::UserName(), QDateTime::currentMSecsSinceEpoch());
}

void CAlertActions::OnMuteToggled(bool muted)
{
    CAlertSettings::SetMuted(muted);
    m_pAnnouncer->ApplySoundSettings();
}

// A hidden list is filled when it is shown: ten thousand rows are no work
// to do for nobody.
void CAlertActions::OnAlertsChanged()
{
    if (m_pList->isVisible())
        m_pList->SetAlerts(m_pCenter->List().Alerts());
}

void CAlertActions::OnLevelChanged(CAlertCenter::Level level)
{
    m_pTray->SetLevel(CAlertTrayIcon::Level(level));
}
