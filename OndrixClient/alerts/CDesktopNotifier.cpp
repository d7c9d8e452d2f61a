#include "alerts/CDesktopNotifier.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSystemTrayIcon>
#include <QVariantMap>

namespace {

const char* const SERVICE = "org.freedesktop.Notifications";
const char* const PATH = "/org/freedesktop/Notifications";
const char* const INTERFACE = "org.freedesktop.Notifications";

} // namespace

CDesktopNotifier::CDesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
{
}

void CDesktopNotifier::Notify(const QString& title, const QString& body)
{
    if (!m_bus.isConnected()) {
        Fallback(title, body);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(SERVICE), QLatin1String(PATH),
        QLatin1String(INTERFACE), QStringLiteral("Notify"));
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout
    call << QCoreApplication::applicationName() << 0U << QString() << title << body << QStringList()
         << QVariantMap { { QStringLiteral("urgency"), QVariant::fromValue<uchar>(2) } } << SHOWN_MS;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, TIMEOUT_MS), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, title, body](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        if (done->isError())
            Fallback(title, body);
        else
            Q_EMIT delivered(true);
    });
}

void CDesktopNotifier::Fallback(const QString& title, const QString& body)
{
    if (m_pTray && QSystemTrayIcon::isSystemTrayAvailable())
        m_pTray->showMessage(title, body, QSystemTrayIcon::Warning, SHOWN_MS);
    Q_EMIT delivered(false);
}
