#pragma once

#include "CRecord.h"
#include "files/NOTE.h"
#include "report/CNoteReadings.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The notes a report shows, with the readings of their moments, from the
// file the records come from: a recording carries its notes, a data file
// has them beside it (CNotesFile).
class CReportNotes
{
    Q_DECLARE_TR_FUNCTIONS(CReportNotes)

public:
    // The notes of a data file or recording; false, with error for the
    // user, when some could not be read (notes holds the others).
    static bool Load(const QString& path, QList<NOTE>& notes, QString& error);
    // The file's notes, with readings from its records, added in time order
    // to those of the files before. Notes that cannot be read are told in
    // the log and left out; the report goes on.
    static void Add(const QString& path, const QList<CRecord>& records, QList<NOTE_READING>& notes);
};
