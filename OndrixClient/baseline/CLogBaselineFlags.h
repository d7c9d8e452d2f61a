#pragma once

#include "CRecord.h"
#include "baseline/BASELINE_FLAG.h"
#include "baseline/CBaseline.h"
#include "diagram/CBandFlagMarks.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class CQDiagramWidget;
class QTreeWidget;

// A file of the log area compared with the baseline in use: the times its
// bands stood over it are marked on its diagram (CBandFlagMarks) and added
// to its list as rows of the notes' look (CLogNotes), in time order among
// its events and notes, one a time a band stood over: band, start,
// duration, peak and by how much.
class CLogBaselineFlags
{
    Q_DECLARE_TR_FUNCTIONS(CLogBaselineFlags)

public:
    CLogBaselineFlags(CQDiagramWidget* diagram, QTreeWidget* list);

    // The file's flags among the rows the list holds of the file; listed:
    // it holds the records' rows, one each in their order. The number of
    // flags.
    qsizetype Show(const CBaseline& baseline, double marginDb, const QList<CRecord>& records, int kind, bool listed);
    // No comparison: the marks go.
    void Clear();
    CBandFlagMarks* Marks() const { return m_pMarks; }

    // A log's events (kind 2) each stand for their duration; other records
    // are levels in time order.
    static QList<BASELINE_FLAG> Compare(const CBaseline& baseline, double marginDb, const QList<CRecord>& records,
        int kind);
    // "Band X over baseline by N dB".
    static QString Text(const BASELINE_FLAG& flag);
    // The flags as spans of a diagram that draws the records at their times.
    static QList<CBandFlagMarks::SPAN> Spans(const QList<BASELINE_FLAG>& flags);
    // Each flag's row before the first row that is later than its start.
    static void AddRows(QTreeWidget* list, const QList<CRecord>& listed, const QList<BASELINE_FLAG>& flags);

private:
    // The diagram line the device GUI draws a band on in the automatic
    // mode; -1 when it does not say.
    static int LineOf(int band);

    CBandFlagMarks* m_pMarks;
    QTreeWidget* m_pList;
};
