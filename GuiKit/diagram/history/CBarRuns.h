#pragma once

#include "GuiKitExport.h"
#include "diagram/DATA_VALUE.h"

#include <QHash>
#include <QList>
#include <QVector>

// Bars of a line that touch or overlap one another, one entry per run, kept
// up to date as values come in. A drawing or a tooltip then costs the runs
// in view instead of every one-second bar: a band that stays busy for hours
// is one run. Runs do not overlap, so both their starts and their ends
// rise: either can be searched by bisection.
class GUIKIT_EXPORT CBarRuns
{
public:
    struct RUN
    {
        quint64 start = 0;
        quint64 end = 0;
        int first = 0; // index of the first value of the run
        int last = 0;  // and of the last
    };

    // After values changed: from `from` on when from >= 0, otherwise at most
    // by one value at the end.
    void Changed(const QList<DATA_VALUE>& values, qsizetype from);

    // The runs of all values of the line.
    const QVector<RUN>& Runs(const QList<DATA_VALUE>& values);

    // The first run shown in a window from t: one that ends after t or
    // starts at t or later (a bar without duration at t shows).
    static int FirstShown(const QVector<RUN>& runs, quint64 t);
    // The first run from `from` on that starts at t or later.
    static int FirstStartingAt(const QVector<RUN>& runs, int from, quint64 t);
    // The run that holds value `index`; -1 when none does.
    static int RunOfValue(const QVector<RUN>& runs, int index);

private:
    struct LINE_RUNS
    {
        QVector<RUN> runs;
        qsizetype covered = 0; // values [0, covered) are summed up in runs
    };

    static void Extend(const QList<DATA_VALUE>& values, LINE_RUNS& line);

    QHash<const QList<DATA_VALUE>*, LINE_RUNS> m_lines;
};
