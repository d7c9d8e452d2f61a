#pragma once

#include "alerts/ALERT.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The alerts a report shows: those of the alert log beside the recordings
// that overlap the report's time range (the whole log when it has none),
// oldest first, at most MAX_ALERTS of them.
class CReportAlerts
{
public:
    static constexpr int MAX_ALERTS = 1000;

    // No log is no alerts and no error. A damaged log gives what could be
    // read, and error for the user.
    static bool Load(const QString& storage, const QDateTime& from, const QDateTime& to, QList<ALERT>& alerts,
        QString& error);
    static bool Overlaps(const ALERT& alert, const QDateTime& from, const QDateTime& to);
};
