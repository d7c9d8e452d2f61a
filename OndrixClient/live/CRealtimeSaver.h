#pragma once

#include "files/NOTE.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CMetaDevice;
struct CRecord;

// Stores what the device collected live as realtime data files, named after
// the band group watched and the time of the first record. The live session
// is its recordings: all of it is saved, a data file for every PIECE_RECORDS
// records, and an existing file is never replaced.
class CRealtimeSaver
{
public:
    enum Result { Saved, NothingToSave, Failed };
    // Records one data file holds at most, as a recovered recording's.
    static constexpr int PIECE_RECORDS = 500000;
    // Told the records saved so far; false stops the save.
    using Progress = std::function<bool(qint64 saved)>;

    explicit CRealtimeSaver(CMetaDevice* device);

    // The session's recordings in the folder, or the device's live buffer
    // when there are none (recording switched off); named by the device's
    // current mode and band. The first name used (without extension) is in
    // Name().
    Result Save(const QString& folder, const QStringList& recordings = {}, const Progress& progress = {});
    // The device's live buffer, with the automatic flag and the name prefix
    // given.
    bool Save(const QString& folder, bool automatic, const QString& prefix);
    // The recordings' records as data files of at most pieceRecords each,
    // for the device the recordings name; with a progress, written on a
    // thread of their own while the progress is told on this one. A save that fails part-way takes
    // back the files it wrote: the recordings stay, and saving again later
    // must not give a record twice.
    bool SaveRecordings(const QString& folder, const QStringList& recordings, bool automatic, const QString& prefix,
        const Progress& progress = {}, int pieceRecords = PIECE_RECORDS);
    // The notes a save of the live buffer keeps (a recording brings its
    // own). Each data file gets, beside it, the notes up to its last record;
    // the last file the rest.
    void SetNotes(const QList<NOTE>& notes) { m_notes = notes; }
    QString Name() const;
    QStringList Files() const { return m_files; }

private:
    static constexpr int PROGRESS_MS = 40;
    static bool Aside(const Progress& progress, const std::function<bool(const Progress&)>& work);
    bool SaveEach(const QString& folder, const QStringList& recordings, bool automatic, const QString& prefix,
        const Progress& progress, int pieceRecords);
    bool SavePiece(const QString& folder, bool automatic, const QString& prefix, const QList<CRecord>& records,
        bool last = true);
    bool SaveNotes(const QString& dataFile, const QList<CRecord>& records, bool last);

    CMetaDevice* m_pDevice;
    QString m_strName;
    QString m_strDevice;
    QStringList m_files;
    QList<NOTE> m_notes;
};
