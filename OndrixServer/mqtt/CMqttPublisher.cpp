#include "mqtt/CMqttPublisher.h"

#include "CBandTable.h"
#include "IRZ450Device.h"
#include "RZ450Alarm.h"
#include "RZ450Layout.h"
#include "app/ServerLog.h"
#include "protocol/CBandName.h"

#include <algorithm>

namespace {

// The smallest rates the options take would make a period no qint64 holds;
// a year is as good as never and leaves room to add it up.
qint64 BandPeriodMs(double rate)
{
    constexpr double YEAR_MS = 365.0 * 24 * 3600 * 1000;
    return qint64(std::clamp(1000.0 / rate, 1.0, YEAR_MS));
}

} // namespace

CMqttPublisher::CMqttPublisher(IDevice* device, const MQTT_SETTINGS& settings, const QString& name, QObject* parent)
    : QObject(parent)
    , m_pDevice(device)
    , m_pRZ450(dynamic_cast<IRZ450Device*>(device))
    , m_settings(settings)
    , m_strName(name)
    , m_client(settings, name)
{
    m_sampleTimer.setInterval(SAMPLE_MS);
    m_sampleTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_sampleTimer, &QTimer::timeout, this, &CMqttPublisher::OnSampleTimer);
    connect(&m_client, &CMqttClient::connected, this, &CMqttPublisher::OnClientConnected);
}

CMqttPublisher::~CMqttPublisher()
{
    Stop();
}

bool CMqttPublisher::Start(QString& error)
{
    if (!m_client.Start(CMqttTopics::StateTopic(m_strName), CMqttTopics::LostPayload(), error))
        return false;
    m_clock.start();
    m_sampleTimer.start();
    return true;
}

void CMqttPublisher::Stop()
{
    if (!m_sampleTimer.isActive())
        return;
    m_sampleTimer.stop();
    MQTT_STATE stopped;
    stopped.serverRunning = false;
    m_client.Stop(CMqttTopics::StateTopic(m_strName), CMqttTopics::StatePayload(stopped));
}

void CMqttPublisher::OnSampleTimer()
{
    const MQTT_STATE state = ReadState();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // Alarms held back while the broker was slow go first, in order.
    if (!m_queue.isEmpty() && m_client.IsConnected())
        FlushAlarms();
    TrackAlarms(state, now);
    PublishState(state, false);
    if (m_settings.bandRate <= 0.0)
        return;
    TrackBands(state);
    const qint64 elapsed = m_clock.elapsed();
    if (elapsed < m_nBandsDue)
        return;
    const qint64 period = BandPeriodMs(m_settings.bandRate);
    // A server that fell behind catches up by one message, not a burst.
    m_nBandsDue = std::max(m_nBandsDue + period, elapsed + 1);
    PublishBands(now);
}

void CMqttPublisher::OnClientConnected()
{
    PublishState(ReadState(), true);
    FlushAlarms();
}

MQTT_STATE CMqttPublisher::ReadState() const
{
    MQTT_STATE state;
    state.online = m_pDevice->IsOnline();
    if (!state.online)
        return state;
    state.mode = m_pDevice->GetCurrentMode();
    if (state.mode != IDevice::MODE_AUTO) {
        state.band = m_pDevice->GetCurrentBand();
        state.bandName = BandName(state.band);
    }
    state.batteryOk = m_pDevice->IsBatteryOk();
    state.ramOk = m_pDevice->IsRamOk();
    state.flashOk = m_pDevice->IsFlashOk();
    return state;
}

// Every change, but no more than once a second: a detector that hops
// between bands must not flood the retained topic.
void CMqttPublisher::PublishState(const MQTT_STATE& state, bool force)
{
    const qint64 elapsed = m_clock.elapsed();
    if (!force && m_bStatePublished && (state == m_lastState || elapsed - m_nStateAt < STATE_MIN_INTERVAL_MS))
        return;
    if (!m_client.Publish(CMqttTopics::StateTopic(m_strName), CMqttTopics::StatePayload(state), 1, true))
        return;
    m_lastState = state;
    m_bStatePublished = true;
    m_nStateAt = elapsed;
}

void CMqttPublisher::TrackAlarms(const MQTT_STATE& state, const QDateTime& now)
{
    if (!m_pRZ450)
        return;
    QList<MQTT_ALARM> events;
    if (!state.online) {
        m_alarms.EndAll(now, events);
    } else {
        for (int band = 0; band < CMqttAlarmTracker::BANDS; ++band) {
            if (!RZ450Alarm::HasFlag(band) && band != state.band && !m_alarms.IsActive(band))
                continue;
            const RZ450Alarm::LOOK look = RZ450Alarm::Look(*m_pRZ450, band, state.band);
            m_alarms.Update({ band, look.alarm, look.levelDbm, look.thresholdDbm }, BandName(band), now, events);
        }
    }
    for (const MQTT_ALARM& alarm : events)
        SendAlarm(CMqttTopics::AlarmPayload(alarm));
}

void CMqttPublisher::TrackBands(const MQTT_STATE& state)
{
    if (!m_pRZ450)
        return;
    for (int band = 0; band < CMqttAlarmTracker::BANDS; ++band) {
        BAND_TRACK& track = m_bands[size_t(band)];
        const int raw = m_pRZ450->GetLevelDbm(band);
        track.live = state.online
            && RZ450Alarm::IsMeasured(state.mode, band, state.band, raw,
                state.mode == IDevice::MODE_AUTO ? m_pRZ450->GetThreshold(band) : 0);
        if (!track.live)
            continue;
        track.peakDbm = track.havePeak ? std::max(track.peakDbm, RZ450Alarm::Dbm(raw)) : RZ450Alarm::Dbm(raw);
        track.havePeak = true;
    }
}

void CMqttPublisher::PublishBands(const QDateTime& now)
{
    if (!m_pRZ450 || !m_client.IsConnected())
        return;
    for (int band = 0; band < CMqttAlarmTracker::BANDS; ++band) {
        BAND_TRACK& track = m_bands[size_t(band)];
        if (!track.live)
            continue;
        MQTT_BAND_SAMPLE sample;
        sample.band = band;
        sample.levelDbm = RZ450Alarm::Dbm(m_pRZ450->GetLevelDbm(band));
        sample.thresholdDbm = RZ450Alarm::Dbm(m_pRZ450->GetThreshold(band));
        sample.peakDbm = track.havePeak ? std::max(track.peakDbm, sample.levelDbm) : sample.levelDbm;
        sample.time = now;
        track.havePeak = false;
        m_client.Publish(CMqttTopics::BandTopic(m_strName, band), CMqttTopics::BandPayload(sample), 0, false);
    }
}

// Behind a queue nothing overtakes it, so alarms reach the broker in the
// order they happened.
void CMqttPublisher::SendAlarm(const QByteArray& payload)
{
    if (m_queue.isEmpty() && m_client.Publish(CMqttTopics::AlarmTopic(m_strName), payload, 1, false))
        return;
    if (m_queue.size() >= m_settings.queueLimit) {
        m_queue.removeFirst();
        if (m_nDropped++ == 0)
            ServerLog::Line(m_strName
                + QStringLiteral(": MQTT alarm queue full (%1), dropping the oldest alarms")
                      .arg(m_settings.queueLimit));
    }
    m_queue.append(payload);
}

void CMqttPublisher::FlushAlarms()
{
    while (!m_queue.isEmpty()) {
        if (!m_client.Publish(CMqttTopics::AlarmTopic(m_strName), m_queue.constFirst(), 1, false))
            return;
        m_queue.removeFirst();
    }
    if (m_nDropped > 0)
        ServerLog::Line(
            m_strName + QStringLiteral(": %1 alarms were dropped while the MQTT broker was away").arg(m_nDropped));
    m_nDropped = 0;
}

QString CMqttPublisher::BandName(int band) const
{
    return CBandName::Plain(CBandTable::EnglishName(band));
}
