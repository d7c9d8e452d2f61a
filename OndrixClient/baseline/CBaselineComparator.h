#pragma once

#include "CRecord.h"
#include "baseline/BASELINE_FLAG.h"
#include "baseline/CBaseline.h"

#include <QHash>
#include <QList>

#include <vector>

// Compares records with a baseline as they come: a band is flagged while
// its level is over its baseline's 95th percentile by more than the margin.
// A band's run of such records, each less than MAX_GAP_SECONDS after the
// one before, is one interval; a record at or under ends it. Records of
// bands the baseline never saw, or without a finite level, are not
// compared.
//
// Memory stays bounded over any length of data: at most MAX_FLAGS
// intervals are kept (the first ones; the rest are counted, and still
// summed up per band). Plain C++ without signals, so that the client, the
// report and ondrixctl compare alike; one thread at a time.
class CBaselineComparator
{
public:
    static constexpr double DEFAULT_MARGIN_DB = 6.0;
    static constexpr int MAX_FLAGS = 10000;
    // A band not heard of for longer has left the run it was in.
    static constexpr quint64 MAX_GAP_SECONDS = 30;

    explicit CBaselineComparator(const CBaseline& baseline, double marginDb = DEFAULT_MARGIN_DB);

    // A live measurement, in time order within its band.
    void Add(const CRecord& record);
    // An event of the detector's log: an interval of its own, over its
    // stored duration, when its level is over.
    void AddEvent(const CRecord& record);
    // Ends the running intervals: what comes next is other data.
    void Finish();

    bool IsFlagged(int band) const;
    // The level a band's records must pass to be flagged; NaN for a band
    // the baseline lacks.
    double Limit(int band) const;
    // The intervals kept, the running ones too, by start and then band.
    QList<BASELINE_FLAG> Flags() const;
    // One entry per flagged band, by band: all its intervals summed up.
    QList<BASELINE_FLAG> Bands() const;
    qint64 Dropped() const { return m_nDropped; }
    qint64 Compared() const { return m_nCompared; }
    const CBaseline& Baseline() const { return m_baseline; }
    double Margin() const { return m_dMargin; }

private:
    struct STATE
    {
        int band = 0;
        QString name;
        double dP95 = 0.0;
        double dLimit = 0.0;
        bool bOpen = false;
        BASELINE_FLAG run;
        BASELINE_FLAG total; // nIntervals 0 until the first interval ends
    };

    STATE* State(int band);
    const STATE* State(int band) const;
    void Open(STATE& state, quint64 time);
    void Extend(STATE& state, quint64 to, double level);
    void Close(STATE& state);
    static void Merge(BASELINE_FLAG& total, const BASELINE_FLAG& interval);

    CBaseline m_baseline;
    double m_dMargin;
    std::vector<STATE> m_states;
    QHash<int, int> m_index; // band number to its place in m_states
    QList<BASELINE_FLAG> m_flags;
    qint64 m_nDropped = 0;
    qint64 m_nCompared = 0;
};
