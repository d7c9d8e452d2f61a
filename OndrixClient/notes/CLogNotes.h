#pragma once

#include "CRecord.h"
#include "report/CNoteReadings.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class CQDiagramWidget;
class CTimeMarks;
class QTreeWidget;

// The notes of a file the log area shows: marked on its diagram, and as
// rows of their own look in its list, in time order among the events (a
// realtime file, which has no events listed, lists its notes alone), each
// with the band and level of the record nearest to it.
class CLogNotes
{
    Q_DECLARE_TR_FUNCTIONS(CLogNotes)

public:
    // A row added among the records' rows (a note's, a baseline flag's)
    // holds its time, in seconds, under this role of its first column.
    static constexpr int TIME_ROLE = Qt::UserRole + 1;

    CLogNotes(CQDiagramWidget* diagram, QTreeWidget* list);

    // The file's notes shown over its records; listed: the list holds the
    // records' rows, one each in their order. False when it has none; error
    // tells of notes that could not be read.
    bool Show(const QString& path, const QList<CRecord>& records, bool listed, QString& error);
    // The note rows put among the rows of listed.
    static void AddRows(QTreeWidget* list, const QList<CRecord>& listed, const QList<NOTE_READING>& notes);
    CTimeMarks* Marks() const { return m_pMarks; }

private:
    CTimeMarks* m_pMarks;
    QTreeWidget* m_pList;
};
