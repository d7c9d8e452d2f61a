#pragma once

#include "CRecord.h"

#include <QList>
#include <QString>

// One bank of the detector's event log.
class CLogRecord
{
public:
    QString name;
    int type = 0;
    QList<CRecord> records;
};
