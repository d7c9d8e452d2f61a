#pragma once

// A weekly span when alert rules apply, in the computer's local time. A
// span whose end is not after its start runs past midnight into the next
// day, as "22:00 to 06:00" does.
struct ALERT_WINDOW
{
    static constexpr int MINUTES_A_DAY = 24 * 60;

    int day = 1;        // 1 Monday .. 7 Sunday, as Qt counts
    int fromMinute = 0; // 0 .. 1439
    int toMinute = 0;   // 0 .. 1440

    bool operator==(const ALERT_WINDOW& other) const
    {
        return day == other.day && fromMinute == other.fromMinute && toMinute == other.toMinute;
    }
};
