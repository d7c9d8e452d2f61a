#pragma once

#include "GuiKitExport.h"
#include "diagram/DATA_VALUE.h"

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
    // The type test compares the stored type's interface pointer inline:
    // QVariant::typeId() is a call into the library, which alone took more
    // time than the rest of a drawing.
    static quint64 Time(const QVariant& value)
    {
        const QVariant::Private& d = value.data_ptr();
        if (d.typeInterface() == QMetaType::fromType<quint64>().iface())
            return d.get<quint64>();
        return SlowTime(value);
    }

    static double Real(const QVariant& value)
    {
        const QVariant::Private& d = value.data_ptr();
        if (d.typeInterface() == QMetaType::fromType<double>().iface())
            return d.get<double>();
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
    // The first index from `from` on whose time is t or later, searched
    // outwards from `from`: cheap when it is near.
    static int NextAtOrAfter(const QList<DATA_VALUE>& values, int from, quint64 t);

private:
    static quint64 SlowTime(const QVariant& value);
    // The first index of [from, to) whose time is t or later; `to` when none.
    static int FirstNotEarlier(const QList<DATA_VALUE>& values, int from, int to, quint64 t);
};
