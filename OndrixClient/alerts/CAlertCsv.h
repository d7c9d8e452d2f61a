#pragma once

#include "alerts/ALERT.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

// The alert list as a CSV table (CCsvTable's form), one row an alert:
// started, ended (ISO 8601 UTC; empty while it lasts), detector, band, band
// name, condition, level and peak (dBm), duration (s), acknowledged by and
// at. Headings in English, so that scripts read any user's export alike.
class CAlertCsv
{
    Q_DECLARE_TR_FUNCTIONS(CAlertCsv)

public:
    static QByteArray Table(const QList<ALERT>& alerts);
    // Whole or not at all.
    static bool Save(const QList<ALERT>& alerts, const QString& path, QString& error);
};
