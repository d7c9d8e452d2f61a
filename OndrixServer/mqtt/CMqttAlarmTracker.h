#pragma once

#include "mqtt/CMqttTopics.h"

#include <QDateTime>
#include <QList>

#include <array>

// Turns a band's alarm condition, sampled again and again, into one start
// and one end event per alarm, with the peak level in between.
class CMqttAlarmTracker
{
public:
    static constexpr int BANDS = 31;

    struct SAMPLE
    {
        int band = 0;
        bool over = false;
        int levelDbm = 0;
        int thresholdDbm = 0;
    };

    void Update(const SAMPLE& sample, const QString& bandName, const QDateTime& now, QList<MQTT_ALARM>& events);
    // Every running alarm ends: the detector went away.
    void EndAll(const QDateTime& now, QList<MQTT_ALARM>& events);
    bool IsActive(int band) const { return band >= 0 && band < BANDS && m_alarms[size_t(band)].active; }

private:
    struct RUNNING
    {
        bool active = false;
        MQTT_ALARM alarm;
    };

    void End(RUNNING& running, const QDateTime& now, QList<MQTT_ALARM>& events);

    std::array<RUNNING, BANDS> m_alarms {};
    quint64 m_nSequence = 0;
};
