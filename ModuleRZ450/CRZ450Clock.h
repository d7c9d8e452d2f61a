#pragma once

#include "RZ450Layout.h"

#include <QDateTime>

#include <array>

// The detector's clock. The driver counts month and day from 1, as QDate
// does; the detector counts them from 0 on the wire. Both ways the clock
// reaches the detector (the answer to its time request and the settings
// write) go through Encode, so the two can never disagree.
class CRZ450Clock
{
public:
    struct FIELDS
    {
        int month = 0, day = 0, hour = 0, minute = 0, second = 0;
    };
    using BYTES = std::array<char, RZ450Layout::CLOCK_SIZE>;

    // The local time of time.
    static FIELDS FromDateTime(const QDateTime& time);
    static FIELDS Now() { return FromDateTime(QDateTime::currentDateTime()); }
    // Month, day, hour, minute, second as the detector takes them. A clock
    // not yet reported (month and day 0) goes as the first of January.
    static BYTES Encode(const FIELDS& fields);
    // In the given year, local time; invalid while no clock is known.
    static QDateTime ToDateTime(const FIELDS& fields, int year);
    // In the year a record stamped now would take (CRecordConverter::Near).
    static QDateTime ToDateTimeNearNow(const FIELDS& fields);
    // Whether the clock can hold a time, in seconds since 1970 UTC: it
    // keeps no year, and a time is read back in the year nearest now
    // (CRecordConverter::Clock), so only one less than half a year away
    // comes back as itself.
    static bool Holds(qint64 seconds);

    // Less than half of the shortest year, to the day.
    static constexpr qint64 REACH_SECONDS = 182 * 86400;
};
