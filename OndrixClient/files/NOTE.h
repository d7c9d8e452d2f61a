#pragma once

#include <QString>
#include <QtGlobal>

// What an operator wrote down at a moment of a sweep ("north wall, behind
// the desk"), kept with the readings of that moment.
struct NOTE
{
    quint64 timeMs = 0; // milliseconds since 1970-01-01 UTC
    QString text;

    quint64 Seconds() const { return timeMs / 1000; }
    bool operator==(const NOTE& other) const { return timeMs == other.timeMs && text == other.text; }
};
