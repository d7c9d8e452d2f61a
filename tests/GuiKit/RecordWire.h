#pragma once

#include "CLogRecord.h"

#include <QByteArray>
#include <QList>

// Records in the server's text form: what a server would send, and a full
// description to compare parsed records by.
inline QByteArray RecordWire(const CRecord& record)
{
    QByteArray wire = QByteArray::number(record.value, 'g', 17) + ':' + QByteArray::number(record.band) + ':'
        + QByteArray::number(record.duration) + ':' + QByteArray::number(record.time) + ':' + record.bandName.toLatin1()
        + ':' + QByteArray::number(record.values.size());
    for (const RECORD_VALUE& value : record.values) {
        wire += ':' + QByteArray::number(value.level, 'g', 17) + ':' + QByteArray::number(value.threshold, 'g', 17)
            + ':' + QByteArray::number(value.param1) + ':' + QByteArray::number(value.param2);
    }
    return wire;
}

inline QByteArray RecordListWire(const QList<CRecord>& records)
{
    QByteArray wire = QByteArray::number(records.size());
    for (const CRecord& record : records)
        wire += ':' + RecordWire(record);
    return wire;
}

inline QByteArray LogListWire(const QList<CLogRecord>& banks)
{
    QByteArray wire = QByteArray::number(banks.size());
    for (const CLogRecord& bank : banks) {
        wire += ':' + bank.name.toLatin1() + ':' + QByteArray::number(bank.type) + ':'
            + QByteArray::number(bank.records.size());
        for (const CRecord& record : bank.records)
            wire += ':' + RecordWire(record);
    }
    return wire;
}
