#include "CRZ450Clock.h"

#include "CRecordConverter.h"

#include <algorithm>

CRZ450Clock::FIELDS CRZ450Clock::FromDateTime(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    FIELDS fields;
    fields.month = local.date().month();
    fields.day = local.date().day();
    fields.hour = local.time().hour();
    fields.minute = local.time().minute();
    fields.second = local.time().second();
    return fields;
}

CRZ450Clock::BYTES CRZ450Clock::Encode(const FIELDS& fields)
{
    return { static_cast<char>(std::max(0, fields.month - 1)), static_cast<char>(std::max(0, fields.day - 1)),
        static_cast<char>(fields.hour), static_cast<char>(fields.minute), static_cast<char>(fields.second) };
}

QDateTime CRZ450Clock::ToDateTime(const FIELDS& fields, int year)
{
    return QDateTime(QDate(year, fields.month, fields.day), QTime(fields.hour, fields.minute, fields.second),
        Qt::LocalTime);
}

QDateTime CRZ450Clock::ToDateTimeNearNow(const FIELDS& fields)
{
    const int secondsOfDay = (fields.hour * 60 + fields.minute) * 60 + fields.second;
    const quint64 seconds
        = CRecordConverter::Near(CRecordConverter::Clock()).LocalSeconds(fields.month, fields.day, secondsOfDay);
    if (!seconds)
        return QDateTime();
    return ToDateTime(fields, QDateTime::fromSecsSinceEpoch(qint64(seconds), Qt::LocalTime).date().year());
}

bool CRZ450Clock::Holds(qint64 seconds)
{
    const qint64 now = CRecordConverter::Clock();
    return seconds > 0 && seconds >= now - REACH_SECONDS && seconds <= now + REACH_SECONDS;
}
