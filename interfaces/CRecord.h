#pragma once

#include "RECORD_VALUE.h"

#include <QList>
#include <QString>
#include <QtGlobal>

// One measurement of one band, live or from the event log.
class CRecord
{
public:
    int band = 0;
    QString bandName;
    quint64 time = 0; // seconds since 1970-01-01 UTC
    int duration = 0; // seconds
    QList<RECORD_VALUE> values;
    double value = 0.0;
};
