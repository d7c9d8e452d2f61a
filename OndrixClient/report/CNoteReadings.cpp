#include "report/CNoteReadings.h"

#include <algorithm>
#include <cmath>

namespace {

// The records with a level, by time: what a note's moment is looked up in.
QList<std::pair<quint64, qsizetype>> ByTime(const QList<CRecord>& records)
{
    QList<std::pair<quint64, qsizetype>> times;
    times.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (!records.at(i).values.isEmpty() && std::isfinite(records.at(i).values.first().level))
            times.append({ records.at(i).time, i });
    }
    std::stable_sort(times.begin(), times.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return times;
}

quint64 Distance(quint64 a, quint64 b)
{
    return a > b ? a - b : b - a;
}

} // namespace

QList<NOTE_READING> CNoteReadings::For(QList<NOTE> notes, const QList<CRecord>& records)
{
    std::stable_sort(notes.begin(), notes.end(), [](const NOTE& a, const NOTE& b) { return a.timeMs < b.timeMs; });
    const QList<std::pair<quint64, qsizetype>> times = ByTime(records);
    QList<NOTE_READING> readings;
    readings.reserve(notes.size());
    for (const NOTE& note : std::as_const(notes)) {
        NOTE_READING reading;
        reading.note = note;
        const quint64 at = note.Seconds();
        auto after = std::lower_bound(times.cbegin(), times.cend(), at,
            [](const std::pair<quint64, qsizetype>& entry, quint64 t) { return entry.first < t; });
        auto nearest = after;
        if (after != times.cbegin()) {
            // The last record before the note's second, the first of its time.
            auto before = std::prev(after);
            before = std::lower_bound(times.cbegin(), std::next(before), before->first,
                [](const std::pair<quint64, qsizetype>& entry, quint64 t) { return entry.first < t; });
            if (after == times.cend() || Distance(before->first, at) <= Distance(after->first, at))
                nearest = before;
        }
        if (nearest != times.cend() && Distance(nearest->first, at) <= MAX_SECONDS) {
            const CRecord& record = records.at(nearest->second);
            reading.found = true;
            reading.band = record.band;
            reading.bandName = record.bandName;
            reading.level = record.values.first().level;
            reading.recordTime = record.time;
        }
        readings.append(reading);
    }
    return readings;
}
