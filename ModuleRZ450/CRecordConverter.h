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

    // Every record in year (the log's events).
    explicit CRecordConverter(int year);
    // The detector keeps no year, and its clock may stand on the other side
    // of New Year from the PC's: each record takes the year that puts it
    // nearest now, and no year when none within half a year has its day
    // (29 February). Near(Clock()) fixes now for a batch; Live() reads the
    // clock for each record, for a converter that lives long.
    static CRecordConverter Near(qint64 now);
    static CRecordConverter Live();

    // Seconds since 1970 UTC, from the clock source.
    static qint64 Clock();
    // Tests stand in for the system clock; nullptr puts it back.
    static void SetClockSource(NowFn now);

    CRecord Convert(const RAW_RECORD_SLOT& slot);
    // Seconds since 1970 UTC of a local date and time of day, 0 if invalid.
    quint64 LocalSeconds(int month, int day, int secondsOfDay);

private:
    static constexpr qint64 CLOCK_NOW = -1;

    CRecordConverter(int year, qint64 now)
        : m_nYear(year)
        , m_nNow(now)
    {
    }
    quint64 NearestSeconds(int month, int day, int secondsOfDay);
    quint64 YearSeconds(int year, int month, int day, int secondsOfDay);
    QList<RECORD_VALUE> Values(quint8 level, quint8 threshold);

    QHash<int, QList<RECORD_VALUE>> m_values;
    int m_nYear;   // 0: the year nearest now
    qint64 m_nNow; // CLOCK_NOW: read for each record
    qint64 m_nCachedKey = -1;
    qint64 m_nCachedHourStart = 0;
};
