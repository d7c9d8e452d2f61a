#pragma once

#include "files/CDataFile.h"

#include <QList>
#include <QString>

// Records kept on disk, whatever holds them: a data file (.rdf, .ldf) or a
// live recording (.orzrec). The log area, the report, CSV export and
// ondrixctl load through here, so that a recording goes wherever a data
// file goes. A recording reads past damage; one too long to hold in memory
// whole is refused (a replay reads it a piece at a time).
class CStoredRecords
{
public:
    // Records a recording may hold to be loaded whole: a rolled-over
    // recording holds fewer; only an old, unrolled one can hold more.
    static constexpr qint64 MAX_RECORDING_RECORDS = 6000000;

    static bool IsRecording(const QString& path);
    // As CDataFile::Load. A recording's kind is 1 when its records come from
    // the automatic mode (several bands), else 0.
    static CDataFile::Result Load(const QString& path, const QString& expectedDeviceType, QList<CRecord>& records,
        qint32& kind, QString* deviceType = nullptr);

private:
    static CDataFile::Result LoadRecording(const QString& path, const QString& expectedDeviceType,
        QList<CRecord>& records, qint32& kind, QString* deviceType);
};
