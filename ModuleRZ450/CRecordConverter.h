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
    // Seconds since 1970 UTC, as the system clock tells them.
    using NowFn = qint64 (*)();

    // year: the PC's current year, which the detector does not report.
    explicit CRecordConverter(int year);

    // The PC's current year, one rule for every record getter. Cheap enough
    // for each record: it reads the system clock, and the calendar only once
    // the year it found last has ended.
    static int CurrentYear();
    // Tests stand in for the system clock; nullptr puts it back.
    static void SetClockSource(NowFn now);

    int Year() const { return m_nYear; }

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
