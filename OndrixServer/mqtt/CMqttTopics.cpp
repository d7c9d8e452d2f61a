#include "mqtt/CMqttTopics.h"

#include "IDevice.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace {

QByteArray Topic(const QString& device, const char* leaf)
{
    return QByteArray(CMqttTopics::ROOT) + '/' + device.toUtf8() + '/' + leaf;
}

QByteArray Json(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QString TimeText(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

bool IsForbidden(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('+') || c == QLatin1Char('#')
        || c.category() == QChar::Other_Control || c.isNonCharacter() || c.isSurrogate();
}

} // namespace

bool MQTT_STATE::operator==(const MQTT_STATE& other) const
{
    return online == other.online && serverRunning == other.serverRunning && mode == other.mode && band == other.band
        && bandName == other.bandName && batteryOk == other.batteryOk && ramOk == other.ramOk
        && flashOk == other.flashOk;
}

QString CMqttTopics::DeviceLevel(const QString& name, bool* changed)
{
    QString level;
    // Every character is at least one byte: what lies past the limit in
    // characters never stays, and a huge name costs no more than a short one.
    for (QChar c : name.left(MAX_DEVICE_BYTES))
        level.append(IsForbidden(c) ? QLatin1Char('_') : c);
    while (level.toUtf8().size() > MAX_DEVICE_BYTES)
        level.chop(1);
    if (changed)
        *changed = level != name;
    return level;
}

QString CMqttTopics::DefaultDevice(const QString& deviceId, const QString& hostName)
{
    return DeviceLevel(deviceId + QLatin1Char('-') + hostName);
}

QByteArray CMqttTopics::StateTopic(const QString& device)
{
    return Topic(device, STATE);
}

QByteArray CMqttTopics::BandTopic(const QString& device, int band)
{
    return Topic(device, BAND) + '/' + QByteArray::number(band);
}

QByteArray CMqttTopics::AlarmTopic(const QString& device)
{
    return Topic(device, ALARM);
}

QString CMqttTopics::ModeName(int mode)
{
    switch (mode) {
    case IDevice::MODE_MAN: return QStringLiteral("manual");
    case IDevice::MODE_SRCH: return QStringLiteral("search");
    case IDevice::MODE_AUTO: return QStringLiteral("auto");
    default: return QStringLiteral("unknown");
    }
}

QByteArray CMqttTopics::StatePayload(const MQTT_STATE& state)
{
    QJsonObject object {
        { QStringLiteral("online"), state.online },
        { QStringLiteral("server"), state.serverRunning },
    };
    if (state.online) {
        object.insert(QStringLiteral("mode"), ModeName(state.mode));
        object.insert(QStringLiteral("band"), state.band >= 0 ? QJsonValue(state.band) : QJsonValue());
        object.insert(QStringLiteral("bandName"), state.band >= 0 ? QJsonValue(state.bandName) : QJsonValue());
        object.insert(QStringLiteral("batteryOk"), state.batteryOk);
        object.insert(QStringLiteral("ramOk"), state.ramOk);
        object.insert(QStringLiteral("flashOk"), state.flashOk);
    }
    return Json(object);
}

QByteArray CMqttTopics::LostPayload()
{
    MQTT_STATE lost;
    lost.serverRunning = false;
    return StatePayload(lost);
}

QByteArray CMqttTopics::BandPayload(const MQTT_BAND_SAMPLE& sample)
{
    return Json({
        { QStringLiteral("level"), sample.levelDbm },
        { QStringLiteral("threshold"), sample.thresholdDbm },
        { QStringLiteral("peak"), sample.peakDbm },
        { QStringLiteral("time"), TimeText(sample.time) },
    });
}

QByteArray CMqttTopics::AlarmPayload(const MQTT_ALARM& alarm)
{
    QJsonObject object {
        { QStringLiteral("event"), alarm.start ? QStringLiteral("start") : QStringLiteral("end") },
        { QStringLiteral("seq"), qint64(alarm.sequence) },
        { QStringLiteral("band"), alarm.band },
        { QStringLiteral("bandName"), alarm.bandName },
        { QStringLiteral("level"), alarm.levelDbm },
        { QStringLiteral("peak"), alarm.peakDbm },
        { QStringLiteral("threshold"), alarm.thresholdDbm },
        { QStringLiteral("start"), TimeText(alarm.started) },
    };
    if (!alarm.start)
        object.insert(QStringLiteral("duration"), double(alarm.durationMs) / 1000.0);
    return Json(object);
}

bool CMqttTopics::ParseBroker(const QString& text, QString& host, int& port)
{
    QString rest = text.trimmed();
    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return false;
        host = rest.mid(1, close - 1);
        rest = rest.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return false;
        portText = rest.mid(1);
    } else {
        const qsizetype colon = rest.indexOf(QLatin1Char(':'));
        host = colon < 0 ? rest : rest.left(colon);
        if (colon >= 0)
            portText = rest.mid(colon + 1);
        if (portText.contains(QLatin1Char(':')))
            return false;
    }
    if (host.isEmpty() || host.contains(QLatin1Char(' ')))
        return false;
    if (rest.contains(QLatin1Char(':')) || !portText.isEmpty()) {
        bool ok = false;
        const int number = portText.toInt(&ok, 10);
        if (!ok || number < 1 || number > 65535)
            return false;
        port = number;
    }
    return true;
}
