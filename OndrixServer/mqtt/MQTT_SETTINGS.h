#pragma once

#include <QString>
#include <QStringList>

// Where the server publishes its detectors' state and alarms, if anywhere.
// An empty host leaves publishing off.
struct MQTT_SETTINGS
{
    static constexpr int DEFAULT_PORT = 1883;
    static constexpr double MAX_BAND_RATE = 10.0;
    // The password systemd hands a service (LoadCredential=), in the folder
    // named by $CREDENTIALS_DIRECTORY; it wins over passwordFile.
    static constexpr char PASSWORD_CREDENTIAL[] = "mqtt-password";

    QString host;
    int port = DEFAULT_PORT;
    // The name each detector is published under, in the order the server
    // shares them; a detector without one gets its id and the host name.
    QStringList devices;
    // Messages per second and band; 0 publishes no band levels.
    double bandRate = 1.0;
    QString user;
    // Its first line is the password: a password never goes on a command
    // line, where every user of the computer could read it.
    QString passwordFile;
    // Set: the broker is reached over TLS and must be signed by this CA.
    QString caFile;
    // Set: a password may go to a broker on another computer without TLS,
    // where anyone on the way could read it.
    bool allowPlain = false;
    // Alarms kept while the broker is away; the oldest go first.
    int queueLimit = 1000;
};
