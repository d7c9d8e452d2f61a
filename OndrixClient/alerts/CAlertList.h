#pragma once

#include "alerts/ALERT.h"
#include "alerts/CAlertLogCodec.h"

#include <QList>

// The alerts as a person reads them: one row each, its start, end and
// acknowledgement entries folded together (an alert is known by its
// detector, band and start). Bounded: the oldest rows go past MAX_ALERTS,
// which the log file still holds.
class CAlertList
{
public:
    static constexpr int MAX_ALERTS = 10000;

    void Apply(const CAlertLogCodec::ENTRY& entry);
    // Oldest first.
    const QList<ALERT>& Alerts() const { return m_alerts; }
    // The entry that acknowledges the row; false for a row that is not there.
    bool Acknowledgement(int row, const QString& who, qint64 atMs, CAlertLogCodec::ENTRY& entry) const;
    int Unacknowledged() const;
    void Clear() { m_alerts.clear(); }

private:
    // The row of that alert, newest first as ends and acknowledgements come
    // soon after their starts; -1 when it is not kept.
    int Find(const ALERT& alert) const;

    QList<ALERT> m_alerts;
};
