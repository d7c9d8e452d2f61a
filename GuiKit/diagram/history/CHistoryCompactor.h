#pragma once

#include "GuiKitExport.h"
#include "diagram/DATA_VALUE.h"

#include <QHash>
#include <QList>

// Keeps the values of long-running time lines within a bound. A line that
// grows past its limits has its oldest part, beyond the most recent window,
// folded into time buckets; the bucket width doubles whenever the folded
// part grows too long, so a line stays bounded for any length of session.
// What is folded keeps the extent of every value:
//  - levels: each bucket keeps its lowest and its highest value, each at its
//    own time, in time order (the first of equal ones);
//  - bars: bars that touch or overlap, or start in one bucket, become one
//    bar from the first start to the last end with the highest level.
// The folded values are ordinary values at the front of the line, in time
// order, so that drawing and searching see nothing new. Folding depends on
// the values alone (never on when they were drawn): a replay of the same
// values gives the same line.
class GUIKIT_EXPORT CHistoryCompactor
{
public:
    enum Kind { LEVELS, BARS };

    struct LIMITS
    {
        // Lines with no more values at full resolution are left alone: a
        // log or a short recording keeps every value.
        qsizetype fullMin;
        // More than this at full resolution are folded down to half,
        // however recent they are.
        qsizetype fullMax;
        // A folded part longer than this doubles the bucket width until it
        // is no longer than half of it.
        qsizetype foldedMax;
        // Full resolution is kept for at least this many seconds before the
        // last value while fewer than fullMax / 2 values span them.
        quint64 keepSeconds;
    };

    // The limits for lines of this kind in the realtime diagram.
    static LIMITS DefaultLimits(Kind kind);

    explicit CHistoryCompactor(Kind kind);
    CHistoryCompactor(Kind kind, const LIMITS& limits);

    // After a value of time t was offered to the line, which held sizeBefore
    // values then. Folds when a limit is passed. Returns the first index
    // whose value is no longer what it was (a value went in before the last,
    // or a fold), -1 when at most one value was added at the end.
    qsizetype Offered(QList<DATA_VALUE>& values, qsizetype sizeBefore, quint64 t);

    // How many values at the front of the line are folded, and how wide
    // their buckets are in seconds.
    qsizetype FoldedCount(const QList<DATA_VALUE>& values) const;
    quint64 BucketSeconds(const QList<DATA_VALUE>& values) const;

private:
    struct LINE_HISTORY
    {
        qsizetype count = 0; // values after the last call, to notice changes made elsewhere
        qsizetype folded = 0;
        quint64 width = 1;
    };

    // Where a kept value went, or -1 when it was appended at the end.
    static qsizetype InsertedAt(const QList<DATA_VALUE>& values, quint64 t);
    // Folds a value that went into the folded part back into its bucket.
    qsizetype Refold(QList<DATA_VALUE>& values, LINE_HISTORY& line, qsizetype at) const;
    // The index before which values are due to be folded; folded when none are.
    qsizetype FoldEnd(const QList<DATA_VALUE>& values, const LINE_HISTORY& line) const;
    // Folds [from, to) in place; returns the first changed index.
    qsizetype Fold(QList<DATA_VALUE>& values, LINE_HISTORY& line, qsizetype to) const;
    qsizetype Widen(QList<DATA_VALUE>& values, LINE_HISTORY& line) const;
    // Reduces [from, to) into buckets of `width`, written from `from` on;
    // removes what is left over and returns the new end.
    qsizetype Reduce(QList<DATA_VALUE>& values, qsizetype from, qsizetype to, quint64 width) const;

    Kind m_eKind;
    LIMITS m_limits;
    QHash<const QList<DATA_VALUE>*, LINE_HISTORY> m_lines;
};
