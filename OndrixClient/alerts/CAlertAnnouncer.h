#pragma once

#include "alerts/ALERT.h"

#include <QObject>
#include <QPointer>

class CAlertCenter;
class CDesktopNotifier;
class QWidget;

// Tells a person of the alert centre's alerts: a desktop notification as
// each starts, the window's taskbar entry asking for attention.
class CAlertAnnouncer : public QObject
{
    Q_OBJECT

public:
    CAlertAnnouncer(CAlertCenter* center, CDesktopNotifier* notifier, QObject* parent = nullptr);

    // The window whose taskbar entry asks for attention.
    void SetWindow(QWidget* window) { m_pWindow = window; }

    static QString Title(const ALERT& alert);
    static QString Body(const ALERT& alert);

private:
    void OnAlertStarted(const ALERT& alert);

    CAlertCenter* m_pCenter;
    CDesktopNotifier* m_pNotifier;
    QPointer<QWidget> m_pWindow;
};
