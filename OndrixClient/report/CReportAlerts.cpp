#include "report/CReportAlerts.h"

#include "alerts/CAlertList.h"
#include "alerts/CAlertLogFile.h"

#include <algorithm>

bool CReportAlerts::Load(const QString& storage, const QDateTime& from, const QDateTime& to, QList<ALERT>& alerts,
    QString& error)
{
    CAlertList list;
    const bool whole = CAlertLogFile::Load(CAlertLogFile::PathIn(storage), list, error);
    alerts.clear();
    for (const ALERT& alert : list.Alerts()) {
        if (Overlaps(alert, from, to))
            alerts.append(alert);
    }
    // The latest: a report is read for what happened last.
    alerts = alerts.mid(std::max<qsizetype>(0, alerts.size() - MAX_ALERTS));
    return whole;
}

bool CReportAlerts::Overlaps(const ALERT& alert, const QDateTime& from, const QDateTime& to)
{
    const qint64 end = alert.endedMs == 0 ? alert.startedMs : alert.endedMs;
    return (!to.isValid() || alert.startedMs <= to.toMSecsSinceEpoch())
        && (!from.isValid() || end >= from.toMSecsSinceEpoch());
}
