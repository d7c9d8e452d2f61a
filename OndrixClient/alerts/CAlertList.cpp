#include "alerts/CAlertList.h"

#include <algorithm>

void CAlertList::Apply(const CAlertLogCodec::ENTRY& entry)
{
    const int row = Find(entry.alert);
    if (row < 0) {
        m_alerts.append(entry.alert);
        if (m_alerts.size() > MAX_ALERTS)
            m_alerts.removeFirst();
        return;
    }
    ALERT& alert = m_alerts[row];
    switch (entry.entry) {
    case CAlertLogCodec::Started: break;
    case CAlertLogCodec::Ended:
        alert.start = false;
        alert.endedMs = entry.alert.endedMs;
        alert.levelDbm = entry.alert.levelDbm;
        alert.peakDbm = std::max(alert.peakDbm, entry.alert.peakDbm);
        break;
    case CAlertLogCodec::Acknowledged:
        alert.acknowledgedBy = entry.alert.acknowledgedBy;
        alert.acknowledgedMs = entry.alert.acknowledgedMs;
        break;
    }
}

bool CAlertList::Acknowledgement(int row, const QString& who, qint64 atMs, CAlertLogCodec::ENTRY& entry) const
{
    if (row < 0 || row >= m_alerts.size())
        return false;
    entry.entry = CAlertLogCodec::Acknowledged;
    entry.alert = m_alerts.at(row);
    entry.alert.acknowledgedBy = who;
    entry.alert.acknowledgedMs = atMs;
    return true;
}

int CAlertList::Unacknowledged() const
{
    return int(std::count_if(m_alerts.cbegin(), m_alerts.cend(),
        [](const ALERT& alert) { return alert.acknowledgedMs == 0; }));
}

int CAlertList::Find(const ALERT& alert) const
{
    for (qsizetype row = m_alerts.size() - 1; row >= 0; --row) {
        const ALERT& kept = m_alerts.at(row);
        if (kept.startedMs == alert.startedMs && kept.band == alert.band && kept.detector == alert.detector)
            return int(row);
    }
    return -1;
}
