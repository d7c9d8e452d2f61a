#pragma once

#include "mqtt/MQTT_SETTINGS.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CMqttPublisher;
class IDevice;

// The server's publication to an MQTT broker: one publisher, and one
// connection, per shared detector, each under its own device name.
class CMqttBridge
{
public:
    explicit CMqttBridge(const MQTT_SETTINGS& settings);
    ~CMqttBridge();

    bool IsEnabled() const { return !m_settings.host.isEmpty(); }
    // Nothing without a broker. False, with the reason, when a client
    // cannot be set up at all; an absent broker is no error.
    bool Start(const QList<IDevice*>& devices, QString& error);
    void Stop();

    // The topic level of each device: the name the user gave or the
    // device's id and this host's name, made a valid level and unique.
    static QStringList DeviceNames(const QStringList& wanted, const QStringList& deviceIds, const QString& hostName);
    const std::vector<std::unique_ptr<CMqttPublisher>>& Publishers() const { return m_publishers; }

private:
    MQTT_SETTINGS m_settings;
    std::vector<std::unique_ptr<CMqttPublisher>> m_publishers;
};
