#include "CBenchRecords.h"

#include <QString>

QList<CRecord> CBenchRecords::Live(int count, double threshold)
{
    QList<CRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        CRecord record;
        record.band = i % 31;
        record.bandName = QStringLiteral("Band %1 name/").arg(record.band, 2, 10, QLatin1Char('0'));
        record.time = 1767225600u + quint64(i);
        record.duration = 1;
        record.values.append({ -60.0 - i % 40, threshold, 0, 0 });
        records.append(record);
    }
    return records;
}

CRecord CBenchRecords::Ring(int i)
{
    CRecord record;
    record.band = i % 31;
    record.time = 1700000000u + quint64(i);
    record.duration = i % 3;
    record.bandName = QStringLiteral("GSM 900/");
    record.values.append({ -102.0 + i % 90, -60.0, 0, 0 });
    return record;
}
