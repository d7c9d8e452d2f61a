#pragma once

#include <QVariant>

// One value of a data line. x is a time (quint64 seconds since 1970) for the
// time diagrams and a double or an int index for the others.
struct DATA_VALUE
{
    QVariant x;
    QVariant y;
    int extra = 0; // meaning belongs to the diagram kind (a duration for bars)
};

// Lines of a million values reallocate by moving bytes instead of copying.
Q_DECLARE_TYPEINFO(DATA_VALUE, Q_RELOCATABLE_TYPE);
