#pragma once

#include "CRecord.h"
#include "report/REPORT_BASELINE.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class IDevice;

// The report's comparison with a site's newest baseline (CBaselineFile::
// Latest in the storage given), at the margin given: from data files and
// recordings (streamed, CBaselineRecordings), or from the records of the
// live session. False, with error for the user, when the baseline or a
// file cannot be read; section is then left as it was.
class CReportBaseline
{
    Q_DECLARE_TR_FUNCTIONS(CReportBaseline)

public:
    static bool FromFiles(const QString& storage, const QString& site, const QStringList& paths,
        const QString& deviceType, double marginDb, REPORT_BASELINE& section, QString& error);
    static bool FromRecords(const QString& storage, const QString& site, const QList<CRecord>& records, double marginDb,
        REPORT_BASELINE& section, QString& error);
    // The live session's records, asked of the device.
    static bool FromDevice(const QString& storage, const QString& site, IDevice* device, double marginDb,
        REPORT_BASELINE& section, QString& error);
};
