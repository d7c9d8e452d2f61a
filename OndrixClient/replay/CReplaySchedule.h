#pragma once

#include <QList>
#include <QtGlobal>

#include <algorithm>
#include <climits>

// When each record and sweep of a replay is due on the replay's clock, in
// the order the live feed recorded them. The clock counts seconds from the
// first record; a step back of the detector's clock costs no time, so that
// the clock only runs forward. A file is scheduled piece by piece: the
// state carried from one piece to the next gives the same clock as the
// whole file at once.
class CReplaySchedule
{
public:
    struct STATE
    {
        qint64 at = 0;    // seconds of the replay's clock
        quint64 last = 0; // the records' clock at the last entry
    };

    // Calls take(at, time, index, sweep) for every entry of a piece in the
    // order it was taken: places tells, per sweep, how many of the piece's
    // records came before it. index counts records and sweeps apart.
    template <typename Take>
    static void Merge(STATE& state, const QList<quint64>& records, const QList<quint64>& sweeps,
        const QList<qsizetype>& places, Take take)
    {
        const auto add = [&state, &take](quint64 time, qsizetype index, bool sweep) {
            // A record without a time (only a data file saved from the
            // device's own buffer has one) stays beside the one before it.
            if (time == 0)
                time = state.last;
            if (state.last != 0 && time > state.last)
                state.at += qint64(std::min<quint64>(time - state.last, quint64(INT_MAX) - quint64(state.at)));
            state.last = time;
            take(state.at, time, int(index), sweep);
        };
        qsizetype next = 0;
        const qsizetype placed = std::min(sweeps.size(), places.size());
        for (qsizetype i = 0; i < records.size(); ++i) {
            for (; next < placed && places.at(next) <= i; ++next)
                add(sweeps.at(next), next, true);
            add(records.at(i), i, false);
        }
        for (; next < sweeps.size(); ++next)
            add(sweeps.at(next), next, true);
    }
};
