#include "report/CReportData.h"

#include "protocol/CBandName.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

// A file may hold anything where a level belongs.
bool HasLevel(const CRecord& record)
{
    return !record.values.isEmpty() && std::isfinite(record.values.at(0).level)
        && std::isfinite(record.values.at(0).threshold);
}

} // namespace

void CReportData::Cover(quint64 from, quint64 to)
{
    if (m_nRecords == 0 || from < m_nFirst)
        m_nFirst = from;
    m_nLast = std::max(m_nLast, to);
}

REPORT_BAND& CReportData::Band(const CRecord& record)
{
    auto it = m_bands.find(record.band);
    if (it == m_bands.end()) {
        it = m_bands.insert(record.band, REPORT_BAND {});
        it->band = record.band;
        it->name = CBandName::Plain(record.bandName);
        it->peak = record.values.at(0).level;
    }
    if (it->name.isEmpty())
        it->name = CBandName::Plain(record.bandName);
    it->peak = std::max(it->peak, record.values.at(0).level);
    it->threshold = record.values.at(0).threshold;
    return *it;
}

void CReportData::Close(REPORT_EVENT& run)
{
    ++m_bands[run.band].alarms;
    m_events.append(run);
}

QList<REPORT_BAND> CReportData::Bands() const
{
    // Events by start: a band's seconds up to its end so far are counted.
    QMap<int, REPORT_BAND> bands = m_bands;
    QHash<int, quint64> counted;
    for (const REPORT_EVENT& event : m_events) {
        const quint64 end = event.time + quint64(event.duration);
        auto it = counted.find(event.band);
        if (it == counted.end())
            it = counted.insert(event.band, event.time);
        const quint64 from = std::max(event.time, *it);
        if (end > from) {
            bands[event.band].secondsOver += qint64(end - from);
            *it = end;
        }
    }
    return bands.values();
}

void CReportData::AddLog(const CRecord& record)
{
    REPORT_EVENT event;
    event.band = record.band;
    event.bandName = CBandName::Plain(record.bandName);
    event.time = record.time;
    event.duration = std::max(0, record.duration);
    event.peak = record.values.at(0).level;
    event.threshold = record.values.at(0).threshold;
    Band(record);
    Cover(record.time, record.time + quint64(event.duration));
    Close(event);
}

void CReportData::Add(const QList<CRecord>& records, int kind)
{
    const qsizetype before = m_events.size();
    // Live records in time order; a ring that wrapped is not.
    std::vector<qsizetype> order(size_t(records.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
        [&records](qsizetype a, qsizetype b) { return records.at(a).time < records.at(b).time; });
    QHash<int, REPORT_EVENT> runs; // the open run of each band
    for (const qsizetype index : order) {
        const CRecord& record = records.at(index);
        if (!HasLevel(record))
            continue;
        if (kind == KIND_LOG) {
            AddLog(record);
            ++m_nRecords;
            continue;
        }
        Band(record);
        Cover(record.time, record.time);
        ++m_nRecords;
        const double level = record.values.at(0).level;
        const double threshold = record.values.at(0).threshold;
        auto run = runs.find(record.band);
        const bool over = level >= threshold;
        const bool goesOn
            = run != runs.end() && record.time - (run->time + quint64(run->duration) - 1) < MAX_GAP_SECONDS;
        if (run != runs.end() && (!over || !goesOn)) {
            Close(*run);
            runs.erase(run);
            run = runs.end();
        }
        if (!over)
            continue;
        if (run == runs.end()) {
            REPORT_EVENT started;
            started.band = record.band;
            started.bandName = CBandName::Plain(record.bandName);
            started.time = record.time;
            started.duration = 1;
            started.peak = level;
            started.threshold = threshold;
            runs.insert(record.band, started);
        } else {
            run->duration = qint64(record.time - run->time) + 1;
            run->peak = std::max(run->peak, level);
        }
    }
    for (REPORT_EVENT& run : runs)
        Close(run);
    // This call's events in time order, then merged with the earlier ones.
    const auto earlier = [](const REPORT_EVENT& a, const REPORT_EVENT& b) {
        return a.time < b.time || (a.time == b.time && a.band < b.band);
    };
    std::stable_sort(m_events.begin() + before, m_events.end(), earlier);
    std::inplace_merge(m_events.begin(), m_events.begin() + before, m_events.end(), earlier);
}
