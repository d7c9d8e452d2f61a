#pragma once

#include "RZ450Layout.h"
#include "alerts/ALERT.h"
#include "alerts/ALERT_RULE.h"

#include <QList>
#include <QString>
#include <QTimeZone>

#include <array>

// Turns one detector's bands, looked at again and again, into alerts by
// its rules: a band alerts once one of its rules' conditions has held for
// the rule's seconds while the rule's schedule holds, and stops when none
// of its rules' conditions holds any more. One alert a band at a time, so
// two rules over the same trouble tell a person once. Plain C++ and time
// passed in, so that the client, ondrixctl and the tests judge alike;
// bounded by the detector's bands.
class CAlertTracker
{
public:
    struct SAMPLE
    {
        int band = 0;
        QString name;
        bool alarm = false;
        bool overBaseline = false;
        int levelDbm = 0;
    };

    CAlertTracker(const QString& detector, const QList<ALERT_RULE>& rules,
        const QTimeZone& zone = QTimeZone::systemTimeZone());

    // Rules changed: running alerts go on, and are judged by the new ones.
    void SetRules(const QList<ALERT_RULE>& rules) { m_rules = rules; }
    const QList<ALERT_RULE>& Rules() const { return m_rules; }
    // One look at a band; events gain the alerts that start or end.
    void Update(const SAMPLE& sample, qint64 nowMs, QList<ALERT>& events);
    // Every alert ends: the detector went away.
    void EndAll(qint64 nowMs, QList<ALERT>& events);
    bool IsAlerting(int band) const;
    // The running alerts, by band.
    QList<ALERT> Running() const;

private:
    static constexpr qint64 NOT_HOLDING = -1;

    struct BAND
    {
        // Per condition: since when it holds, or NOT_HOLDING.
        std::array<qint64, 2> since { NOT_HOLDING, NOT_HOLDING };
        bool alerting = false;
        ALERT alert;
        int peakDbm = 0; // since the trouble began
    };

    static bool Holds(const BAND& band, const ALERT_RULE& rule);
    static void Note(qint64& since, bool holds, qint64 nowMs);
    // The moment the band's trouble began, for the first rule that alerts
    // now; NOT_HOLDING for none.
    qint64 Due(const BAND& band, int number, qint64 nowMs) const;
    void Start(BAND& band, const SAMPLE& sample, qint64 startedMs, QList<ALERT>& events);
    void End(BAND& band, qint64 nowMs, QList<ALERT>& events);

    QString m_strDetector;
    QList<ALERT_RULE> m_rules;
    QTimeZone m_zone;
    std::array<BAND, RZ450Layout::BAND_COUNT> m_bands {};
    quint64 m_nSequence = 0;
};
