#include "CRecordConverter.h"

#include "CBandTable.h"
#include "RZ450Layout.h"

#include <QDateTime>

#include <atomic>

namespace {

std::atomic<CRecordConverter::NowFn> s_pfnNow { nullptr };

qint64 YearStart(int year)
{
    return QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::LocalTime).toSecsSinceEpoch();
}

} // namespace

CRecordConverter::CRecordConverter(int year)
    : m_nYear(year)
{
}

int CRecordConverter::CurrentYear()
{
    // The local year's bounds in UTC seconds: within them the year is known
    // without the local date, which costs more than a whole conversion.
    thread_local int year = 0;
    thread_local qint64 start = 0;
    thread_local qint64 end = 0;
    const NowFn now = s_pfnNow.load(std::memory_order_relaxed);
    const qint64 seconds = now ? now() : QDateTime::currentSecsSinceEpoch();
    if (seconds < start || seconds >= end) {
        year = QDateTime::fromSecsSinceEpoch(seconds, Qt::LocalTime).date().year();
        start = YearStart(year);
        end = YearStart(year + 1);
    }
    return year;
}

void CRecordConverter::SetClockSource(NowFn now)
{
    s_pfnNow.store(now);
}

quint64 CRecordConverter::LocalSeconds(int month, int day, int secondsOfDay)
{
    const int hour = (secondsOfDay / 3600) % 24;
    const int key = (month * 32 + day) * 24 + hour;
    if (key != m_nCachedKey) {
        const QDate date(m_nYear, month, day);
        if (!date.isValid())
            return 0;
        // Daylight-saving changes fall on hour boundaries, so caching the
        // start of the local hour keeps every second exact.
        m_nCachedHourStart = QDateTime(date, QTime(hour, 0), Qt::LocalTime).toSecsSinceEpoch();
        m_nCachedKey = key;
    }
    const qint64 seconds = m_nCachedHourStart + (secondsOfDay / 60) % 60 * 60 + secondsOfDay % 60;
    return seconds > 0 ? static_cast<quint64>(seconds) : 0;
}

CRecord CRecordConverter::Convert(const RAW_RECORD_SLOT& slot)
{
    CRecord record;
    record.band = slot.band;
    record.bandName = CBandTable::EnglishName(slot.band);
    const int stamp = ((slot.stamp % 86400) + 86400) % 86400;
    record.time = LocalSeconds(slot.month, slot.day, stamp);
    record.duration = slot.duration;
    record.values = Values(slot.level, slot.threshold);
    return record;
}

QList<RECORD_VALUE> CRecordConverter::Values(quint8 level, quint8 threshold)
{
    // Records share one implicitly shared list per level and threshold pair
    // instead of allocating a list each: a full ring is RECORD_RING records.
    QList<RECORD_VALUE>& values = m_values[(level << 8) | threshold];
    if (values.isEmpty()) {
        RECORD_VALUE value;
        value.level = level - RZ450Layout::DBM_OFFSET;
        value.threshold = threshold - RZ450Layout::DBM_OFFSET;
        values.append(value);
    }
    return values;
}
