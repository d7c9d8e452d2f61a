#include "alerts/CAlertTracker.h"

#include "alerts/CAlertRules.h"

#include <QDateTime>

#include <algorithm>

CAlertTracker::CAlertTracker(const QString& detector, const QList<ALERT_RULE>& rules, const QTimeZone& zone)
    : m_strDetector(detector)
    , m_rules(rules)
    , m_zone(zone)
{
}

void CAlertTracker::Update(const SAMPLE& sample, qint64 nowMs, QList<ALERT>& events)
{
    if (sample.band < 0 || sample.band >= RZ450Layout::BAND_COUNT)
        return;
    BAND& band = m_bands[size_t(sample.band)];
    const bool troubled
        = band.since[ALERT_RULE::Alarm] != NOT_HOLDING || band.since[ALERT_RULE::OverBaseline] != NOT_HOLDING;
    Note(band.since[ALERT_RULE::Alarm], sample.alarm, nowMs);
    Note(band.since[ALERT_RULE::OverBaseline], sample.overBaseline, nowMs);
    band.peakDbm = troubled ? std::max(band.peakDbm, sample.levelDbm) : sample.levelDbm;
    if (band.alerting) {
        const bool holds = std::any_of(m_rules.cbegin(), m_rules.cend(),
            [&](const ALERT_RULE& rule) { return CAlertRules::Covers(rule, sample.band) && Holds(band, rule); });
        if (!holds) {
            End(band, nowMs, events);
            return;
        }
        band.alert.levelDbm = sample.levelDbm;
        band.alert.peakDbm = std::max(band.alert.peakDbm, sample.levelDbm);
        return;
    }
    const qint64 startedMs = Due(band, sample.band, nowMs);
    if (startedMs != NOT_HOLDING)
        Start(band, sample, startedMs, events);
}

void CAlertTracker::Note(qint64& since, bool holds, qint64 nowMs)
{
    if (!holds)
        since = NOT_HOLDING;
    else if (since == NOT_HOLDING)
        since = nowMs;
}

bool CAlertTracker::Holds(const BAND& band, const ALERT_RULE& rule)
{
    return band.since[rule.condition] != NOT_HOLDING;
}

qint64 CAlertTracker::Due(const BAND& band, int number, qint64 nowMs) const
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(nowMs, m_zone);
    for (const ALERT_RULE& rule : m_rules) {
        const qint64 since = band.since[rule.condition];
        if (since != NOT_HOLDING && nowMs - since >= qint64(rule.seconds) * 1000 && CAlertRules::Covers(rule, number)
            && CAlertRules::InSchedule(rule, local))
            return since;
    }
    return NOT_HOLDING;
}

void CAlertTracker::Start(BAND& band, const SAMPLE& sample, qint64 startedMs, QList<ALERT>& events)
{
    band.alerting = true;
    band.alert = ALERT {};
    band.alert.sequence = ++m_nSequence;
    band.alert.detector = m_strDetector;
    band.alert.band = sample.band;
    band.alert.bandName = sample.name;
    band.alert.startedMs = startedMs;
    band.alert.levelDbm = sample.levelDbm;
    band.alert.peakDbm = band.peakDbm;
    band.alert.overBaseline = band.since[ALERT_RULE::Alarm] == NOT_HOLDING;
    events.append(band.alert);
}

void CAlertTracker::End(BAND& band, qint64 nowMs, QList<ALERT>& events)
{
    if (!band.alerting)
        return;
    band.alerting = false;
    ALERT end = band.alert;
    end.start = false;
    end.sequence = ++m_nSequence;
    end.endedMs = std::max(nowMs, end.startedMs);
    events.append(end);
}

void CAlertTracker::EndAll(qint64 nowMs, QList<ALERT>& events)
{
    for (BAND& band : m_bands) {
        End(band, nowMs, events);
        band.since = { NOT_HOLDING, NOT_HOLDING };
    }
}

bool CAlertTracker::IsAlerting(int band) const
{
    return band >= 0 && band < RZ450Layout::BAND_COUNT && m_bands[size_t(band)].alerting;
}

QList<ALERT> CAlertTracker::Running() const
{
    QList<ALERT> running;
    for (const BAND& band : m_bands) {
        if (band.alerting)
            running.append(band.alert);
    }
    return running;
}
