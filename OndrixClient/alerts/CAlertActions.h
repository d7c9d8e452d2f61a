#pragma once

#include "alerts/CAlertCenter.h"
#include "alerts/CAlertListWindow.h"

#include <QObject>
#include <QPointer>

class CAlertAnnouncer;

class CAlertTrayIcon;
class CDesktopNotifier;
class QWidget;

// The alert list window and the tray icon, kept in step with the alert
// centre: the icon's colour is the worst state of all detectors, its menu
// and the list acknowledge in the name of the person logged in, and its
// mute is the Preferences' mute.
class CAlertActions : public QObject
{
    Q_OBJECT

public:
    CAlertActions(CAlertCenter* center, CAlertAnnouncer* announcer, CDesktopNotifier* notifier, QObject* parent);
    ~CAlertActions() override;

    void ShowList();
    CAlertListWindow* ListWindow() const { return m_pList; }
    CAlertTrayIcon* Tray() const { return m_pTray; }

Q_SIGNALS:
    void overviewRequested();

private:
    void OnAcknowledgeRequested(const QList<int>& rows);
    void OnAcknowledgeAllRequested();
    void OnMuteToggled(bool muted);
    void OnAlertsChanged();
    void OnLevelChanged(CAlertCenter::Level level);

    CAlertCenter* m_pCenter;
    CAlertAnnouncer* m_pAnnouncer;
    QPointer<CAlertListWindow> m_pList;
    CAlertTrayIcon* m_pTray;
};
