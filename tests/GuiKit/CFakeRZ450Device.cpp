#include "CFakeRZ450Device.h"

QList<CRecord> CFakeRZ450Device::Records()
{
    CRecord first;
    first.band = 4;
    first.bandName = QStringLiteral("GSM 1800/");
    first.time = 100;
    first.values.append({ -50.5, -60.0, 0, 0 });
    CRecord second;
    second.band = 5;
    second.time = 105;
    second.duration = 1;
    return { first, second };
}

QList<CLogRecord> CFakeRZ450Device::Banks()
{
    CLogRecord bank;
    bank.name = QStringLiteral("log_0102_0304.ldf");
    bank.type = 2;
    bank.records = Records();
    return { bank };
}

QDateTime CFakeRZ450Device::Time()
{
    return QDateTime::fromSecsSinceEpoch(1700000000);
}
