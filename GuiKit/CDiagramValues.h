#pragma once

#include "DATA_VALUE.h"
#include "GuiKitExport.h"

#include <QDateTime>
#include <QList>
#include <QVariant>

// Reading the numbers of diagram values and ranges, and finding times in a
// line sorted by time. The readers take the stored type's fast path: a
// drawing reads every visible value.
class GUIKIT_EXPORT CDiagramValues
{
public:
    // Seconds since 1970. A null value, a negative number or NaN reads as 0;
    // a double is rounded to the nearest second and saturates at the top.
    static quint64 Time(const QVariant& value)
    {
        if (value.typeId() == QMetaType::ULongLong)
            return *static_cast<const quint64*>(value.constData());
        return SlowTime(value);
    }

    static double Real(const QVariant& value)
    {
        if (value.typeId() == QMetaType::Double)
            return *static_cast<const double*>(value.constData());
        return value.toDouble();
    }

    static quint64 TimeFromDouble(double seconds);
    // Whole seconds of a computed time, cut toward zero and kept in range.
    static quint64 TruncatedTime(double seconds);
    // Local date and time of t; invalid beyond the year 9999.
    static QDateTime LocalDateTime(quint64 t);

    // The lookup of the status box: the index of a value at time t or of a
    // neighbour of it; -1 for t = 0, an empty list or t after the last value.
    static int FindTime(const QList<DATA_VALUE>& values, quint64 t);

    // The first index whose time is t or later (the count when none is).
    static int FirstAtOrAfter(const QList<DATA_VALUE>& values, quint64 t);
    // The first index whose time is later than t (the count when none is).
    static int FirstAfter(const QList<DATA_VALUE>& values, quint64 t);

private:
    static quint64 SlowTime(const QVariant& value);
};
