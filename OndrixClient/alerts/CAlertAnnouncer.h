#pragma once

#include "alerts/ALERT.h"

#include <QObject>
#include <QPointer>

class CAlertCenter;
class CAlertSound;
class CDesktopNotifier;
class QWidget;

// Tells a person of the alert centre's alerts: a desktop notification as
// each starts, the window's taskbar entry asking for attention, and the
// sound, again and again until every alert is acknowledged.
class CAlertAnnouncer : public QObject
{
    Q_OBJECT

public:
    // The sound may be null: no sound.
    CAlertAnnouncer(CAlertCenter* center, CDesktopNotifier* notifier, CAlertSound* sound, QObject* parent = nullptr);
    // The volume and mute of the alert settings.
    void ApplySoundSettings();

    // The window whose taskbar entry asks for attention.
    void SetWindow(QWidget* window) { m_pWindow = window; }

    static QString Title(const ALERT& alert);
    static QString Body(const ALERT& alert);

private:
    void OnAlertStarted(const ALERT& alert);
    void OnAlertsChanged();

    CAlertCenter* m_pCenter;
    CDesktopNotifier* m_pNotifier;
    CAlertSound* m_pSound;
    QPointer<QWidget> m_pWindow;
};
