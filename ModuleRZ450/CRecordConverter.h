#pragma once

#include "CRecord.h"
#include "RAW_RECORD_SLOT.h"

#include <QHash>

// Turns raw slots into CRecord. The local-time conversion is the costly part,
// so the epoch of the last local hour is cached: consecutive records almost
// always share it. One converter per thread.
class CRecordConverter
{
public:
    // year: the PC's current year, which the detector does not report.
    explicit CRecordConverter(int year);

    CRecord Convert(const RAW_RECORD_SLOT& slot);
    // Seconds since 1970 UTC of a local date and time of day, 0 if invalid.
    quint64 LocalSeconds(int month, int day, int secondsOfDay);

private:
    QList<RECORD_VALUE> Values(quint8 level, quint8 threshold);

    QHash<int, QList<RECORD_VALUE>> m_values;
    int m_nYear;
    int m_nCachedKey = -1;
    qint64 m_nCachedHourStart = 0;
};
