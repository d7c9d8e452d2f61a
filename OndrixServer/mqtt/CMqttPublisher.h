#pragma once

#include "mqtt/CMqttAlarmTracker.h"
#include "mqtt/CMqttClient.h"
#include "mqtt/CMqttTopics.h"
#include "mqtt/MQTT_SETTINGS.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <array>

class IDevice;
class IRZ450Device;

// Publishes one detector under one device name: its state, its band levels
// and its alarms. It samples the driver's state on a short timer, as the
// client does, so it reads what the driver already holds and never talks
// to the detector; alarms raised while the broker is away wait in a
// bounded queue and go out in order once it is back.
class CMqttPublisher : public QObject
{
    Q_OBJECT

public:
    static constexpr int SAMPLE_MS = 5;
    static constexpr int STATE_MIN_INTERVAL_MS = 1000;

    CMqttPublisher(IDevice* device, const MQTT_SETTINGS& settings, const QString& name, QObject* parent = nullptr);
    ~CMqttPublisher() override;

    bool Start(QString& error);
    void Stop();

    QString Name() const { return m_strName; }
    const CMqttClient& Client() const { return m_client; }
    int QueuedAlarms() const { return int(m_queue.size()); }

private:
    struct BAND_TRACK
    {
        bool live = false;
        int peakDbm = 0;
        bool havePeak = false;
    };

    void OnSampleTimer();
    void OnClientConnected();
    MQTT_STATE ReadState() const;
    void PublishState(const MQTT_STATE& state, bool force);
    void TrackAlarms(const MQTT_STATE& state, const QDateTime& now);
    void TrackBands(const MQTT_STATE& state);
    void PublishBands(const QDateTime& now);
    void SendAlarm(const QByteArray& payload);
    void FlushAlarms();
    QString BandName(int band) const;

    IDevice* m_pDevice;
    IRZ450Device* m_pRZ450;
    MQTT_SETTINGS m_settings;
    QString m_strName;
    CMqttClient m_client;
    CMqttAlarmTracker m_alarms;
    std::array<BAND_TRACK, CMqttAlarmTracker::BANDS> m_bands {};
    QList<QByteArray> m_queue;
    QTimer m_sampleTimer;
    QElapsedTimer m_clock;
    MQTT_STATE m_lastState;
    bool m_bStatePublished = false;
    qint64 m_nStateAt = 0;
    qint64 m_nBandsDue = 0;
    qint64 m_nDropped = 0;
};
