#include "mqtt/CMqttBridge.h"

#include "IDevice.h"
#include "app/ServerLog.h"
#include "mqtt/CMqttOptions.h"
#include "mqtt/CMqttPublisher.h"
#include "mqtt/CMqttTopics.h"

#include <QSysInfo>

CMqttBridge::CMqttBridge(const MQTT_SETTINGS& settings)
    : m_settings(settings)
{
}

CMqttBridge::~CMqttBridge()
{
    Stop();
}

bool CMqttBridge::Start(const QList<IDevice*>& devices, QString& error)
{
    if (!IsEnabled() || !m_publishers.empty())
        return true;
    if (CMqttOptions::SendsPasswordInClear(m_settings))
        ServerLog::Line(QStringLiteral("warning: the MQTT password goes to %1 unencrypted (--mqtt-allow-plain)")
                            .arg(m_settings.host));
    QStringList ids;
    for (IDevice* device : devices)
        ids.append(device->GetDevID());
    const QStringList names = DeviceNames(m_settings.devices, ids, QSysInfo::machineHostName());
    for (int i = 0; i < devices.size(); ++i) {
        auto publisher = std::make_unique<CMqttPublisher>(devices.at(i), m_settings, names.at(i));
        if (!publisher->Start(error)) {
            Stop();
            return false;
        }
        ServerLog::Line(QStringLiteral("publishing %1 to MQTT broker %2:%3 as %4")
                            .arg(ids.at(i), m_settings.host)
                            .arg(m_settings.port)
                            .arg(QString::fromUtf8(CMqttTopics::StateTopic(names.at(i)))));
        m_publishers.push_back(std::move(publisher));
    }
    return true;
}

void CMqttBridge::Stop()
{
    m_publishers.clear();
}

QStringList CMqttBridge::DeviceNames(const QStringList& wanted, const QStringList& deviceIds, const QString& hostName)
{
    QStringList names;
    for (int i = 0; i < deviceIds.size(); ++i) {
        const QString fallback = CMqttTopics::DefaultDevice(deviceIds.at(i), hostName);
        const QString given = i < wanted.size() ? wanted.at(i) : QString();
        bool changed = false;
        QString name = CMqttTopics::DeviceLevel(given, &changed);
        if (name.isEmpty()) {
            if (!given.isEmpty())
                ServerLog::Line(
                    QStringLiteral("MQTT device name '%1' is not usable, publishing as '%2'").arg(given, fallback));
            name = fallback;
        } else if (changed) {
            ServerLog::Line(QStringLiteral("MQTT device name '%1' cannot be one topic level ('/', '+', '#' and control "
                                           "characters are not allowed), publishing as '%2'")
                                .arg(given, name));
        }
        const QString base = name;
        for (int n = 2; names.contains(name); ++n)
            name = base + QLatin1Char('-') + QString::number(n);
        names.append(name);
    }
    return names;
}
