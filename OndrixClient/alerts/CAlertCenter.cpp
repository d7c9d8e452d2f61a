#include "alerts/CAlertCenter.h"

#include "alerts/CAlertLogFile.h"
#include "alerts/CAlertRules.h"
#include "alerts/CAlertTracker.h"
#include "alerts/CLookJudge.h"
#include "app/ClientLog.h"
#include "baseline/CBaselineComparator.h"
#include "baseline/CBaselineFile.h"

#include <QDir>

#include <algorithm>

struct CAlertCenter::DETECTOR
{
    explicit DETECTOR(const QString& name)
        : tracker(name, CAlertRules::Default())
    {
    }

    CAlertTracker tracker;
    QString site;
    std::unique_ptr<CBaselineComparator> comparator;
    bool online = false;
    bool alarm = false;
};

CAlertCenter::CAlertCenter(QObject* parent)
    : QObject(parent)
    , m_dMarginDb(CBaselineComparator::DEFAULT_MARGIN_DB)
{
}

CAlertCenter::~CAlertCenter() = default;

void CAlertCenter::SetStoragePath(const QString& storage)
{
    if (storage == m_strStorage)
        return;
    m_strStorage = storage;
    m_strLogPath = storage.isEmpty() ? QString() : CAlertLogFile::PathIn(storage);
    m_list.Clear();
    QString error;
    if (!m_strLogPath.isEmpty() && !CAlertLogFile::Load(m_strLogPath, m_list, error))
        Q_EMIT logProblem(error);
    for (const std::shared_ptr<DETECTOR>& detector : std::as_const(m_detectors))
        LoadBaseline(*detector);
    CountUnacknowledged();
    UpdateLevel();
    Q_EMIT alertsChanged();
}

void CAlertCenter::Configure(const QString& detector, const QList<ALERT_RULE>& rules, const QString& site)
{
    DETECTOR& kept = Detector(detector);
    kept.tracker.SetRules(rules);
    kept.site = site;
    LoadBaseline(kept);
}

void CAlertCenter::LoadBaseline(DETECTOR& detector)
{
    detector.comparator.reset();
    const QList<ALERT_RULE>& rules = detector.tracker.Rules();
    const bool compares = std::any_of(rules.cbegin(), rules.cend(),
        [](const ALERT_RULE& rule) { return rule.condition == ALERT_RULE::OverBaseline; });
    if (!compares || detector.site.isEmpty() || m_strStorage.isEmpty())
        return;
    CBaseline baseline;
    QString error;
    if (!CBaselineFile::Latest(m_strStorage, detector.site, baseline, error)) {
        qCWarning(lcClient) << "alerts: no baseline to compare with:" << error;
        return;
    }
    detector.comparator = std::make_unique<CBaselineComparator>(baseline, m_dMarginDb);
}

CAlertCenter::DETECTOR& CAlertCenter::Detector(const QString& name)
{
    std::shared_ptr<DETECTOR>& detector = m_detectors[name];
    if (!detector)
        detector = std::make_shared<DETECTOR>(name);
    return *detector;
}

void CAlertCenter::Take(const QString& detector, const RZ450_LOOK& look, qint64 nowMs)
{
    DETECTOR& kept = Detector(detector);
    const QList<ALERT> events = CLookJudge::Judge(look, look.bandNames, kept.tracker, kept.comparator.get(), nowMs);
    kept.online = look.online;
    kept.alarm = CLookJudge::AnyAlarm(look);
    Tell(events);
    UpdateLevel();
}

void CAlertCenter::Forget(const QString& detector, qint64 nowMs)
{
    const auto found = m_detectors.constFind(detector);
    if (found == m_detectors.cend())
        return;
    QList<ALERT> events;
    (*found)->tracker.EndAll(nowMs, events);
    m_detectors.erase(found);
    Tell(events);
    UpdateLevel();
}

void CAlertCenter::Tell(const QList<ALERT>& events)
{
    if (events.isEmpty())
        return;
    for (const ALERT& alert : events) {
        Record({ alert.start ? CAlertLogCodec::Started : CAlertLogCodec::Ended, alert });
        if (alert.start)
            Q_EMIT alertStarted(alert);
    }
    CountUnacknowledged();
    Q_EMIT alertsChanged();
}

// To the disk first: what the window shows is never more than the log holds,
// unless the log cannot be written at all, and then the user hears of it.
void CAlertCenter::Record(const CAlertLogCodec::ENTRY& entry)
{
    QString error;
    if (!m_strLogPath.isEmpty() && !CAlertLogFile::Append(m_strLogPath, entry, error) && error != m_strLastProblem) {
        m_strLastProblem = error;
        qCWarning(lcClient) << "alerts: the log cannot be written:" << error;
        Q_EMIT logProblem(error);
    }
    m_list.Apply(entry);
}

void CAlertCenter::Acknowledge(const QList<int>& rows, const QString& who, qint64 nowMs)
{
    bool changed = false;
    for (const int row : rows) {
        CAlertLogCodec::ENTRY entry;
        if (row < 0 || row >= m_list.Alerts().size() || m_list.Alerts().at(row).acknowledgedMs != 0)
            continue;
        if (m_list.Acknowledgement(row, who, nowMs, entry)) {
            Record(entry);
            changed = true;
        }
    }
    if (!changed)
        return;
    CountUnacknowledged();
    UpdateLevel();
    Q_EMIT alertsChanged();
}

void CAlertCenter::AcknowledgeAll(const QString& who, qint64 nowMs)
{
    QList<int> rows;
    const QList<ALERT>& alerts = m_list.Alerts();
    for (int row = 0; row < alerts.size(); ++row) {
        if (alerts.at(row).acknowledgedMs == 0)
            rows.append(row);
    }
    Acknowledge(rows, who, nowMs);
}

void CAlertCenter::CountUnacknowledged()
{
    m_unacknowledged.clear();
    for (const ALERT& alert : m_list.Alerts()) {
        if (alert.acknowledgedMs == 0)
            m_unacknowledged.insert(alert.detector);
    }
}

CAlertCenter::Level CAlertCenter::LevelOf(const QString& detector) const
{
    if (m_unacknowledged.contains(detector))
        return Alerting;
    const auto found = m_detectors.constFind(detector);
    if (found == m_detectors.cend())
        return Quiet;
    if ((*found)->alarm)
        return Alarm;
    return (*found)->online ? Quiet : Offline;
}

CAlertCenter::Level CAlertCenter::Worst() const
{
    Level worst = m_unacknowledged.isEmpty() ? Quiet : Alerting;
    for (auto it = m_detectors.cbegin(); it != m_detectors.cend() && worst != Alerting; ++it)
        worst = std::max(worst, LevelOf(it.key()));
    return worst;
}

void CAlertCenter::UpdateLevel()
{
    const Level worst = Worst();
    if (worst == m_eWorst)
        return;
    m_eWorst = worst;
    Q_EMIT levelChanged(worst);
}

QString CAlertCenter::UserName()
{
    for (const char* name : { "USER", "LOGNAME" }) {
        QString user = qEnvironmentVariable(name);
        if (!user.isEmpty())
            return user;
    }
    return QDir::home().dirName();
}
