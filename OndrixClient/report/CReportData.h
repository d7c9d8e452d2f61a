#pragma once

#include "CRecord.h"

#include <QList>
#include <QMap>
#include <QString>

// One alarm of a report: an event of the detector's log as it was stored,
// or a run of live measurements of one band at or over its threshold.
struct REPORT_EVENT
{
    int band = 0;
    QString bandName;
    quint64 time = 0;       // start, seconds since 1970-01-01 UTC
    qint64 duration = 0;    // seconds
    double peak = 0.0;      // dBm
    double threshold = 0.0; // dBm
};

// What a report says of one band.
struct REPORT_BAND
{
    int band = 0;
    QString name;
    int alarms = 0;
    double peak = 0.0;      // the highest level seen, dBm
    double threshold = 0.0; // the last threshold seen, dBm
    qint64 secondsOver = 0; // total time at or over the threshold
};

// The figures of a sweep report, from the records of data files or of the
// live session. Pure: no file, no device, no text for the user.
//
// A log's records (kind 2) are alarm events, each counted as stored: one
// alarm, its duration over the threshold, its level as the peak. Live
// records (kinds 0 and 1) are measurements: a band's run of records at or
// over their threshold, each less than MAX_GAP_SECONDS after the one
// before, is one alarm lasting from its first record's second to its
// last's (a single record lasts one second). Records without values, or
// whose level or threshold is no finite number, carry no level and are left
// out. A band's time over the threshold counts a second once, however many
// of its alarms overlap there.
class CReportData
{
public:
    static constexpr quint64 MAX_GAP_SECONDS = 30;
    static constexpr int KIND_LOG = 2;

    // One file's records, or the live session's: runs never span two calls.
    void Add(const QList<CRecord>& records, int kind);

    // In time order of their start, then by band; otherwise as added.
    const QList<REPORT_EVENT>& Events() const { return m_events; }
    // The bands that have records, by band number.
    QList<REPORT_BAND> Bands() const;
    qint64 RecordCount() const { return m_nRecords; }
    bool IsEmpty() const { return m_nRecords == 0; }
    // The first and the last second the records cover; 0 when empty.
    quint64 First() const { return m_nFirst; }
    quint64 Last() const { return m_nLast; }

private:
    void AddLog(const CRecord& record);
    void Cover(quint64 from, quint64 to);
    REPORT_BAND& Band(const CRecord& record);
    void Close(REPORT_EVENT& run);

    QList<REPORT_EVENT> m_events;
    QMap<int, REPORT_BAND> m_bands;
    qint64 m_nRecords = 0;
    quint64 m_nFirst = 0;
    quint64 m_nLast = 0;
};
