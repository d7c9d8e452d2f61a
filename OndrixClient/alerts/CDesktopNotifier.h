#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

// Tells a person of an alert through the desktop's notification service
// (org.freedesktop.Notifications on the session bus), or, where there is
// none or it does not answer within TIMEOUT_MS, as a message of the tray
// icon. It never waits: the call goes out and its answer comes later, so a
// service that hangs costs only its own time-out, never a tick.
class CDesktopNotifier : public QObject
{
    Q_OBJECT

public:
    static constexpr int TIMEOUT_MS = 2000;
    static constexpr int SHOWN_MS = 10000;

    explicit CDesktopNotifier(const QDBusConnection& bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    // The tray icon the messages fall back to; none: they are only signalled.
    void SetTray(QSystemTrayIcon* tray) { m_pTray = tray; }
    void Notify(const QString& title, const QString& body);

Q_SIGNALS:
    // How a notification went out: through the service, or not (the tray's
    // message, when there is a tray).
    void delivered(bool byService);

private:
    void Fallback(const QString& title, const QString& body);

    QDBusConnection m_bus;
    QPointer<QSystemTrayIcon> m_pTray;
};
