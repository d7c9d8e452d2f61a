#include "CRecordConverter.h"

#include "CBandTable.h"
#include "RZ450Layout.h"

#include <QDateTime>

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace {

std::atomic<CRecordConverter::NowFn> s_pfnNow { nullptr };

qint64 YearStart(int year)
{
    return QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::LocalTime).toSecsSinceEpoch();
}

// Every day of the year but one is less than this from now in one of the
// three years around it; beyond it the three are compared.
constexpr qint64 SURELY_NEAREST = 180 * 86400;
constexpr qint64 HALF_YEAR = 183 * 86400;

// Cheap enough for each record: the calendar is asked only once the year it
// found last has ended.
int YearOf(qint64 seconds)
{
    // The local year's bounds in UTC seconds: within them the year is known
    // without the local date, which costs more than a whole conversion.
    thread_local int year = 0;
    thread_local qint64 start = 0;
    thread_local qint64 end = 0;
    if (seconds < start || seconds >= end) {
        year = QDateTime::fromSecsSinceEpoch(seconds, Qt::LocalTime).date().year();
        start = YearStart(year);
        end = YearStart(year + 1);
    }
    return year;
}

} // namespace

CRecordConverter::CRecordConverter(int year)
    : m_nYear(year)
    , m_nNow(0)
{
}

CRecordConverter CRecordConverter::Near(qint64 now)
{
    return CRecordConverter(0, std::max<qint64>(0, now));
}

CRecordConverter CRecordConverter::Live()
{
    return CRecordConverter(0, CLOCK_NOW);
}

qint64 CRecordConverter::Clock()
{
    const NowFn now = s_pfnNow.load(std::memory_order_relaxed);
    return now ? now() : QDateTime::currentSecsSinceEpoch();
}

void CRecordConverter::SetClockSource(NowFn now)
{
    s_pfnNow.store(now);
}

quint64 CRecordConverter::LocalSeconds(int month, int day, int secondsOfDay)
{
    return m_nYear ? YearSeconds(m_nYear, month, day, secondsOfDay) : NearestSeconds(month, day, secondsOfDay);
}

quint64 CRecordConverter::NearestSeconds(int month, int day, int secondsOfDay)
{
    const qint64 now = m_nNow == CLOCK_NOW ? Clock() : m_nNow;
    const int year = YearOf(now);
    const quint64 plain = YearSeconds(year, month, day, secondsOfDay);
    // Live records are seconds old: the PC's own year, straight from the
    // hour cache, unless the date stands near the other end of it.
    if (plain && std::abs(qint64(plain) - now) <= SURELY_NEAREST)
        return plain;
    quint64 best = 0;
    qint64 bestDistance = HALF_YEAR + 1;
    for (const int candidate : { year, year - 1, year + 1 }) {
        const quint64 seconds = candidate == year ? plain : YearSeconds(candidate, month, day, secondsOfDay);
        const qint64 distance = std::abs(qint64(seconds) - now);
        if (seconds && distance < bestDistance) {
            best = seconds;
            bestDistance = distance;
        }
    }
    return best;
}

quint64 CRecordConverter::YearSeconds(int year, int month, int day, int secondsOfDay)
{
    const int hour = (secondsOfDay / 3600) % 24;
    const qint64 key = ((qint64(year) * 13 + month) * 32 + day) * 24 + hour;
    if (key != m_nCachedKey) {
        const QDate date(year, month, day);
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
