#include "mqtt/CMqttAlarmTracker.h"

#include <algorithm>

void CMqttAlarmTracker::Update(const SAMPLE& sample, const QString& bandName, const QDateTime& now,
    QList<MQTT_ALARM>& events)
{
    if (sample.band < 0 || sample.band >= BANDS)
        return;
    RUNNING& running = m_alarms[size_t(sample.band)];
    if (!sample.over) {
        End(running, now, events);
        return;
    }
    if (running.active) {
        running.alarm.peakDbm = std::max(running.alarm.peakDbm, sample.levelDbm);
        running.alarm.levelDbm = sample.levelDbm;
        running.alarm.thresholdDbm = sample.thresholdDbm;
        return;
    }
    running.active = true;
    running.alarm = MQTT_ALARM {};
    running.alarm.start = true;
    running.alarm.sequence = ++m_nSequence;
    running.alarm.band = sample.band;
    running.alarm.bandName = bandName;
    running.alarm.levelDbm = sample.levelDbm;
    running.alarm.peakDbm = sample.levelDbm;
    running.alarm.thresholdDbm = sample.thresholdDbm;
    running.alarm.started = now;
    events.append(running.alarm);
}

void CMqttAlarmTracker::EndAll(const QDateTime& now, QList<MQTT_ALARM>& events)
{
    for (RUNNING& running : m_alarms)
        End(running, now, events);
}

void CMqttAlarmTracker::End(RUNNING& running, const QDateTime& now, QList<MQTT_ALARM>& events)
{
    if (!running.active)
        return;
    running.active = false;
    MQTT_ALARM end = running.alarm;
    end.start = false;
    end.sequence = ++m_nSequence;
    end.durationMs = std::max<qint64>(0, end.started.msecsTo(now));
    events.append(end);
}
