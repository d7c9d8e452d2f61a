#pragma once

#include "RZ450_LOOK.h"
#include "alerts/ALERT.h"
#include "alerts/ALERT_RULE.h"
#include "alerts/CAlertList.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class CAlertTracker;
class CBaselineComparator;

// Where every watched detector's looks become alerts: each detector is
// judged by its own rules (and its site's baseline, where a rule asks),
// each alert's start, end and acknowledgement goes to the alert log beside
// the recordings before the window hears of it, and the list a person
// reads is folded from the same entries. It tells, and does no telling of
// its own: the notification, the sound and the tray follow its signals.
class CAlertCenter : public QObject
{
    Q_OBJECT

public:
    // Worst last: the tray shows the worst of all detectors.
    enum Level { Quiet, Offline, Alarm, Alerting };

    explicit CAlertCenter(QObject* parent = nullptr);
    ~CAlertCenter() override;

    // The log of that storage folder is read into the list; empty keeps the
    // alerts in memory only.
    void SetStoragePath(const QString& storage);
    // A detector's rules, and the site whose newest baseline its "baseline"
    // rules compare with (empty: none). Running alerts go on, judged anew.
    void Configure(const QString& detector, const QList<ALERT_RULE>& rules, const QString& site);
    void SetMarginDb(double marginDb) { m_dMarginDb = marginDb; }

    // One look at a watched detector, named as its alerts will name it.
    void Take(const QString& detector, const RZ450_LOOK& look, qint64 nowMs);
    // No longer watched: its running alerts end now.
    void Forget(const QString& detector, qint64 nowMs);

    Level LevelOf(const QString& detector) const;
    Level Worst() const;
    const CAlertList& List() const { return m_list; }
    // By rows of List(); rows already acknowledged are left as they were.
    void Acknowledge(const QList<int>& rows, const QString& who, qint64 nowMs);
    void AcknowledgeAll(const QString& who, qint64 nowMs);

    // Who a person at this computer is, for an acknowledgement.
    static QString UserName();

Q_SIGNALS:
    void alertStarted(const ALERT& alert);
    void alertsChanged();
    void levelChanged(CAlertCenter::Level worst);
    // The log could not be read or written: what was lost, for the user.
    void logProblem(const QString& text);

private:
    struct DETECTOR;

    DETECTOR& Detector(const QString& name);
    void Record(const CAlertLogCodec::ENTRY& entry);
    void Tell(const QList<ALERT>& events);
    void UpdateLevel();
    void CountUnacknowledged();
    void LoadBaseline(DETECTOR& detector);

    QHash<QString, std::shared_ptr<DETECTOR>> m_detectors;
    CAlertList m_list;
    QSet<QString> m_unacknowledged; // detectors with alerts a person has not heard of
    QString m_strStorage;
    QString m_strLogPath;
    double m_dMarginDb;
    Level m_eWorst = Quiet;
    QString m_strLastProblem;
};
