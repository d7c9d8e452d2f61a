#include "mqtt/CMqttOptions.h"

#include "mqtt/CMqttTopics.h"
#include "security/CPeerPolicy.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool ApplyBroker(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    int port = MQTT_SETTINGS::DEFAULT_PORT;
    QString host;
    if (!CMqttTopics::ParseBroker(value, host, port)) {
        error = CMqttOptions::tr("'%1' is not HOST or HOST:PORT (a port from 1 to 65535; an IPv6 address in "
                                 "brackets)")
                    .arg(value);
        return false;
    }
    settings.mqtt.host = host;
    settings.mqtt.port = port;
    return true;
}

bool ApplyDevices(const QString& value, SERVER_SETTINGS& settings, QString&)
{
    settings.mqtt.devices = value.split(QLatin1Char(','));
    for (QString& name : settings.mqtt.devices)
        name = name.trimmed();
    return true;
}

bool ApplyBandRate(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    bool ok = false;
    const double rate = value.trimmed().toDouble(&ok);
    if (ok && rate >= 0.0 && rate <= MQTT_SETTINGS::MAX_BAND_RATE) {
        settings.mqtt.bandRate = rate;
        return true;
    }
    error = CMqttOptions::tr("'%1' is not a rate from 0 to %2").arg(value).arg(MQTT_SETTINGS::MAX_BAND_RATE);
    return false;
}

bool ApplyUser(const QString& value, SERVER_SETTINGS& settings, QString&)
{
    settings.mqtt.user = value.trimmed();
    return true;
}

bool ReadableFile(const QString& value, QString& path, QString& error)
{
    path = value.trimmed();
    if (QFileInfo(path).isFile() && QFileInfo(path).isReadable())
        return true;
    error = CMqttOptions::tr("'%1' is not a readable file").arg(value);
    return false;
}

bool ApplyPasswordFile(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    return ReadableFile(value, settings.mqtt.passwordFile, error);
}

bool ApplyCaFile(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    return ReadableFile(value, settings.mqtt.caFile, error);
}

bool ApplyAllowPlain(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    return SERVER_OPTION::ParseSwitch(value, settings.mqtt.allowPlain, error);
}

bool ApplyQueue(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    bool ok = false;
    const int count = value.trimmed().toInt(&ok, 10);
    if (ok && count >= 1 && count <= CMqttOptions::QUEUE_LIMIT) {
        settings.mqtt.queueLimit = count;
        return true;
    }
    error = CMqttOptions::tr("'%1' is not a whole number from 1 to %2").arg(value).arg(CMqttOptions::QUEUE_LIMIT);
    return false;
}

// Under the systemd unit; the file exists only when the administrator
// stored the password for it.
QString CredentialPath()
{
    const QString folder = qEnvironmentVariable("CREDENTIALS_DIRECTORY");
    if (folder.isEmpty())
        return {};
    const QString path = QDir(folder).filePath(QLatin1String(MQTT_SETTINGS::PASSWORD_CREDENTIAL));
    return QFileInfo(path).isFile() ? path : QString();
}

bool IsPrivate(const QString& path, QString& error)
{
    const QFileInfo file(path);
    if (!(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)))
        return true;
    error = CMqttOptions::tr("--mqtt-password-file: '%1' may be read by %2; make it readable by the server's user "
                             "alone (chmod 600 '%1')")
                .arg(path,
                    file.permissions() & QFileDevice::ReadOther ? CMqttOptions::tr("every user")
                                                                : CMqttOptions::tr("its group"));
    return false;
}

// By name only "localhost": any other name may lead anywhere, and is not
// looked up while the options are read.
bool IsLoopbackHost(const QString& host)
{
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
        || CPeerPolicy::IsLoopback(QHostAddress(host));
}

} // namespace

bool CMqttOptions::Check(MQTT_SETTINGS& settings, QString& error)
{
    const QString credential = CredentialPath();
    if (!credential.isEmpty())
        settings.passwordFile = credential;
    else if (!settings.passwordFile.isEmpty() && !IsPrivate(settings.passwordFile, error))
        return false;
    if (!SendsPasswordInClear(settings) || settings.allowPlain)
        return true;
    error = tr("--mqtt: the password would cross the network to %1 unencrypted; give --mqtt-ca-file to reach the "
               "broker over TLS, or --mqtt-allow-plain to send it all the same")
                .arg(settings.host);
    return false;
}

bool CMqttOptions::SendsPasswordInClear(const MQTT_SETTINGS& settings)
{
    return !settings.host.isEmpty() && !settings.user.isEmpty() && !settings.passwordFile.isEmpty()
        && settings.caFile.isEmpty() && !IsLoopbackHost(settings.host);
}

QList<SERVER_OPTION> CMqttOptions::Entries()
{
    const MQTT_SETTINGS defaults;
    return {
        { QStringLiteral("mqtt"), tr("host[:port]"),
            tr("Publish every detector's state, band levels and alarms to this MQTT broker (port %1 unless "
               "given). Default: no publishing.")
                .arg(MQTT_SETTINGS::DEFAULT_PORT),
            false, &ApplyBroker },
        { QStringLiteral("mqtt-device"), tr("names"),
            tr("Publish the detectors, in the order they are shared, under these names, separated by commas "
               "(topics ondrix/<name>/...). Default: the detector's id and this computer's name."),
            true, &ApplyDevices },
        { QStringLiteral("mqtt-band-rate"), tr("per-second"),
            tr("Publish each band's level this many times a second at most, 0 to %1; 0 publishes none. "
               "Default: %2.")
                .arg(MQTT_SETTINGS::MAX_BAND_RATE)
                .arg(defaults.bandRate),
            false, &ApplyBandRate },
        { QStringLiteral("mqtt-user"), tr("name"), tr("Log in to the broker as this user."), false, &ApplyUser },
        { QStringLiteral("mqtt-password-file"), tr("file"),
            tr("The broker password is the first line of this file, which only the server's user may read. "
               "Under the systemd unit, the password it is handed as the credential '%1' wins.")
                .arg(QLatin1String(MQTT_SETTINGS::PASSWORD_CREDENTIAL)),
            false, &ApplyPasswordFile },
        { QStringLiteral("mqtt-ca-file"), tr("file"),
            tr("Reach the broker over TLS, its certificate signed by the CA in this PEM file."), false, &ApplyCaFile },
        { QStringLiteral("mqtt-allow-plain"), QString(),
            tr("Send the password to a broker on another computer even without TLS, where anyone on the way can "
               "read it. Default: such a broker is refused."),
            false, &ApplyAllowPlain, true },
        { QStringLiteral("mqtt-queue"), tr("count"),
            tr("Keep at most this many alarms, 1 to %1, while the broker is away. Default: %2.")
                .arg(QUEUE_LIMIT)
                .arg(defaults.queueLimit),
            false, &ApplyQueue },
    };
}
