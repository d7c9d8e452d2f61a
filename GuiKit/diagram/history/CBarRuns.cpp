#include "diagram/history/CBarRuns.h"

#include "diagram/CDiagramValues.h"
#include "diagram/history/CBarReach.h"

#include <algorithm>

void CBarRuns::Changed(const QList<DATA_VALUE>& values, qsizetype from)
{
    LINE_RUNS& line = m_lines[&values];
    if (from >= 0 && from < line.covered) {
        // The run that held the first changed value is summed up again.
        QVector<RUN>& runs = line.runs;
        const auto kept
            = std::partition_point(runs.begin(), runs.end(), [from](const RUN& run) { return run.last < from; });
        runs.erase(kept, runs.end());
        line.covered = runs.isEmpty() ? 0 : runs.last().last + 1;
    }
    Extend(values, line);
}

const QVector<CBarRuns::RUN>& CBarRuns::Runs(const QList<DATA_VALUE>& values)
{
    LINE_RUNS& line = m_lines[&values];
    Extend(values, line);
    return line.runs;
}

void CBarRuns::Extend(const QList<DATA_VALUE>& values, LINE_RUNS& line)
{
    // Fewer values than summed up: the line was emptied or replaced.
    if (line.covered > values.size()) {
        line.runs.clear();
        line.covered = 0;
    }
    for (qsizetype i = line.covered; i < values.size(); ++i) {
        const DATA_VALUE& value = values.at(i);
        const quint64 start = CDiagramValues::Time(value.x);
        const quint64 end = CBarReach::EndOf(value);
        if (!line.runs.isEmpty() && start <= line.runs.last().end) {
            RUN& run = line.runs.last();
            run.end = std::max(run.end, end);
            run.last = int(i);
            continue;
        }
        line.runs.append(RUN { start, end, int(i), int(i) });
    }
    line.covered = values.size();
}

int CBarRuns::FirstShown(const QVector<RUN>& runs, quint64 t)
{
    const auto it
        = std::partition_point(runs.begin(), runs.end(), [t](const RUN& run) { return run.end <= t && run.start < t; });
    return int(it - runs.begin());
}

int CBarRuns::FirstStartingAt(const QVector<RUN>& runs, int from, quint64 t)
{
    const auto it
        = std::partition_point(runs.begin() + from, runs.end(), [t](const RUN& run) { return run.start < t; });
    return int(it - runs.begin());
}

int CBarRuns::RunOfValue(const QVector<RUN>& runs, int index)
{
    const auto it
        = std::partition_point(runs.begin(), runs.end(), [index](const RUN& run) { return run.last < index; });
    if (it == runs.end() || it->first > index)
        return -1;
    return int(it - runs.begin());
}
