#include "report/CReportNotes.h"

#include "app/ClientLog.h"
#include "files/CNotesFile.h"
#include "files/CRecordingReader.h"
#include "files/CStoredRecords.h"

#include <QFileInfo>

#include <algorithm>

bool CReportNotes::Load(const QString& path, QList<NOTE>& notes, QString& error)
{
    notes.clear();
    if (!CStoredRecords::IsRecording(path))
        return CNotesFile::Load(path, notes, error);
    CRecordingReader reader;
    if (!reader.Open(path)) {
        error = tr("%1 cannot be read.").arg(QFileInfo(path).fileName());
        return false;
    }
    CRecordingCodec::TIMES piece;
    while (reader.Next(piece))
        notes += piece.notes;
    return true;
}

void CReportNotes::Add(const QString& path, const QList<CRecord>& records, QList<NOTE_READING>& notes)
{
    QList<NOTE> loaded;
    QString error;
    if (!Load(path, loaded, error))
        qCWarning(lcStorage) << error;
    notes += CNoteReadings::For(loaded, records);
    std::stable_sort(notes.begin(), notes.end(),
        [](const NOTE_READING& a, const NOTE_READING& b) { return a.note.timeMs < b.note.timeMs; });
}
