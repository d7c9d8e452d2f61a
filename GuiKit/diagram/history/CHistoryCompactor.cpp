#include "diagram/history/CHistoryCompactor.h"
#include "diagram/DiagramDefaults.h"

#include "diagram/CDiagramValues.h"
#include "diagram/history/CBarReach.h"
#include "diagram/history/CValueBuckets.h"

#include <algorithm>

namespace {

// Doubling stops here, long before the width could wrap.
const quint64 WIDEST_BUCKET = quint64(1) << 62;

quint64 BucketStart(quint64 t, quint64 width)
{
    return t - t % width;
}

// Whether t comes no more than width after reach.
bool WithinWidth(quint64 t, quint64 reach, quint64 width)
{
    return t <= reach || t - reach <= width;
}

} // namespace

CHistoryCompactor::LIMITS CHistoryCompactor::DefaultLimits(Kind kind)
{
    // A detector sends about 270 records a second. Levels: two lines, each
    // up to 37 MB at full resolution and 4.7 MB folded (a day in 8-second
    // buckets). Bars: up to 19 lines that share the records, so their full
    // parts add up to about what one line would hold; folded bars of a
    // band that comes and goes cost up to 2.4 MB a line.
    const quint64 window = DiagramDefaults::TIME_WINDOW_SECONDS;
    if (kind == LEVELS)
        return LIMITS { 16384, 524288, 65536, window };
    return LIMITS { 16384, 524288, 32768, window };
}

CHistoryCompactor::CHistoryCompactor(Kind kind)
    : CHistoryCompactor(kind, DefaultLimits(kind))
{
}

CHistoryCompactor::CHistoryCompactor(Kind kind, const LIMITS& limits)
    : m_eKind(kind)
    , m_limits(limits)
{
    m_limits.fullMax = std::max<qsizetype>(2, m_limits.fullMax);
    m_limits.foldedMax = std::max<qsizetype>(4, m_limits.foldedMax);
}

qsizetype CHistoryCompactor::Offered(QList<DATA_VALUE>& values, qsizetype sizeBefore, quint64 t)
{
    LINE_HISTORY& line = m_lines[&values];
    // Changed elsewhere (emptied, refilled): its values are taken as they are.
    if (line.count != sizeBefore || line.folded > sizeBefore)
        line = LINE_HISTORY();
    qsizetype changed = -1;
    if (values.size() > sizeBefore) {
        const qsizetype at = InsertedAt(values, t);
        if (at >= 0 && at < line.folded) {
            ++line.folded;
            changed = Refold(values, line, at);
        } else {
            changed = at;
        }
        const qsizetype end = FoldEnd(values, line);
        if (end > line.folded) {
            const qsizetype from = Fold(values, line, end);
            changed = changed < 0 ? from : std::min(changed, from);
        }
    }
    line.count = values.size();
    return changed;
}

qsizetype CHistoryCompactor::FoldedCount(const QList<DATA_VALUE>& values) const
{
    return m_lines.value(&values).folded;
}

quint64 CHistoryCompactor::BucketSeconds(const QList<DATA_VALUE>& values) const
{
    return m_lines.value(&values).width;
}

qsizetype CHistoryCompactor::InsertedAt(const QList<DATA_VALUE>& values, quint64 t)
{
    // A value no earlier than the last goes to the end.
    if (CDiagramValues::Time(values.last().x) <= t)
        return -1;
    return CDiagramValues::FirstAfter(values, t) - 1;
}

qsizetype CHistoryCompactor::Refold(QList<DATA_VALUE>& values, LINE_HISTORY& line, qsizetype at) const
{
    const quint64 t = CDiagramValues::Time(values.at(at).x);
    qsizetype from = 0;
    qsizetype to = 0;
    if (m_eKind == LEVELS) {
        const quint64 bucket = BucketStart(t, line.width);
        from = CDiagramValues::FirstAtOrAfter(values, bucket);
        to = bucket > ~line.width ? line.folded : CDiagramValues::FirstAtOrAfter(values, bucket + line.width);
    } else {
        // The bar may join the one before and any it reaches or shares a
        // bucket with; beyond those the folded bars stay as they are.
        from = std::max<qsizetype>(0, at - 1);
        quint64 reach = std::max(CBarReach::EndOf(values.at(from)), CBarReach::EndOf(values.at(at)));
        to = at + 1;
        for (; to < line.folded && WithinWidth(CDiagramValues::Time(values.at(to).x), reach, line.width); ++to)
            reach = std::max(reach, CBarReach::EndOf(values.at(to)));
    }
    to = std::min(to, line.folded);
    const qsizetype end = Reduce(values, from, to, line.width);
    line.folded -= to - end;
    return from;
}

qsizetype CHistoryCompactor::FoldEnd(const QList<DATA_VALUE>& values, const LINE_HISTORY& line) const
{
    const qsizetype full = values.size() - line.folded;
    if (full <= m_limits.fullMin)
        return line.folded;
    const quint64 last = CDiagramValues::Time(values.last().x);
    const quint64 cutoff = BucketStart(last - std::min(last, m_limits.keepSeconds), line.width);
    qsizetype end = line.folded;
    // Folding waits until it has a quarter of a window of values to take:
    // each value is then moved a few times at most, and what is drawn at
    // full resolution stays little more than the window.
    const quint64 slack = std::max<quint64>(1, m_limits.keepSeconds / 4);
    if (cutoff > slack && CDiagramValues::Time(values.at(line.folded).x) < cutoff - slack)
        end = std::max<qsizetype>(end, CDiagramValues::FirstAtOrAfter(values, cutoff));
    if (full > m_limits.fullMax)
        end = std::max(end, values.size() - m_limits.fullMax / 2);
    return end;
}

qsizetype CHistoryCompactor::Fold(QList<DATA_VALUE>& values, LINE_HISTORY& line, qsizetype to) const
{
    // The last folded bucket may go on in the values that follow it.
    qsizetype from = std::max<qsizetype>(0, line.folded - 1);
    if (m_eKind == LEVELS && from > 0
        && CDiagramValues::Time(values.at(from - 1).x) / line.width
            == CDiagramValues::Time(values.at(from).x) / line.width)
        --from;
    line.folded = Reduce(values, from, to, line.width);
    if (line.folded > m_limits.foldedMax)
        return Widen(values, line);
    return from;
}

qsizetype CHistoryCompactor::Widen(QList<DATA_VALUE>& values, LINE_HISTORY& line) const
{
    while (line.folded > m_limits.foldedMax / 2 && line.width < WIDEST_BUCKET) {
        line.width *= 2;
        line.folded = Reduce(values, 0, line.folded, line.width);
    }
    return 0;
}

qsizetype CHistoryCompactor::Reduce(QList<DATA_VALUE>& values, qsizetype from, qsizetype to, quint64 width) const
{
    const qsizetype end = m_eKind == LEVELS ? CValueBuckets::ReduceLevels(values, from, to, width)
                                            : CValueBuckets::ReduceBars(values, from, to, width);
    values.erase(values.begin() + end, values.begin() + to);
    return end;
}
