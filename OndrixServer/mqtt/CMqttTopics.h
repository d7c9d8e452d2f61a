#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Published state of one detector, as the state topic carries it.
struct MQTT_STATE
{
    bool online = false;
    bool serverRunning = true;
    int mode = 0;
    int band = -1; // none outside manual and search mode
    QString bandName;
    bool batteryOk = true;
    bool ramOk = true;
    bool flashOk = true;

    bool operator==(const MQTT_STATE& other) const;
    bool operator!=(const MQTT_STATE& other) const { return !(*this == other); }
};

// One band's level and threshold, with the highest level seen since the
// band was last published.
struct MQTT_BAND_SAMPLE
{
    int band = 0;
    int levelDbm = 0;
    int thresholdDbm = 0;
    int peakDbm = 0;
    QDateTime time;
};

// A band went over its threshold (start) or fell back (end).
struct MQTT_ALARM
{
    bool start = true;
    quint64 sequence = 0;
    int band = 0;
    QString bandName;
    int levelDbm = 0;
    int peakDbm = 0;
    int thresholdDbm = 0;
    QDateTime started;
    qint64 durationMs = 0; // end events only
};

// The topics and payloads of the MQTT publication: names in, bytes out.
namespace CMqttTopics {

constexpr char ROOT[] = "ondrix";
constexpr char STATE[] = "state";
constexpr char BAND[] = "band";
constexpr char ALARM[] = "alarm";
// Longer names are cut: a topic must stay far below the protocol's limit.
constexpr int MAX_DEVICE_BYTES = 128;

// A device name usable as one topic level: '/', '+', '#', control
// characters and NUL become '_'; an empty name stays empty (the caller
// picks another). `changed` tells whether the name had to be altered.
QString DeviceLevel(const QString& name, bool* changed = nullptr);
QString DefaultDevice(const QString& deviceId, const QString& hostName);

QByteArray StateTopic(const QString& device);
QByteArray BandTopic(const QString& device, int band);
QByteArray AlarmTopic(const QString& device);

QByteArray StatePayload(const MQTT_STATE& state);
// What the broker publishes for a server that is gone without a word.
QByteArray LostPayload();
QByteArray BandPayload(const MQTT_BAND_SAMPLE& sample);
QByteArray AlarmPayload(const MQTT_ALARM& alarm);

QString ModeName(int mode);

// "host", "host:port", "[v6]:port". False for an empty host or a port
// outside 1 to 65535.
bool ParseBroker(const QString& text, QString& host, int& port);

} // namespace CMqttTopics
