#pragma once

#include "app/SERVER_OPTION.h"

#include <QCoreApplication>
#include <QList>

// The options of the publication to an MQTT broker.
class CMqttOptions
{
    Q_DECLARE_TR_FUNCTIONS(CMqttOptions)

public:
    static constexpr int QUEUE_LIMIT = 100000;

    static QList<SERVER_OPTION> Entries();
    // After every option is read: the password systemd hands the service
    // replaces the password file, which must otherwise be private; and a
    // password goes to a broker elsewhere only over TLS or when allowed.
    static bool Check(MQTT_SETTINGS& settings, QString& error);
    // A user and password for a broker beyond this computer without TLS.
    static bool SendsPasswordInClear(const MQTT_SETTINGS& settings);
};
