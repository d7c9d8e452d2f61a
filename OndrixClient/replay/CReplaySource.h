#pragma once

#include "CRecord.h"
#include "SPECTRUM_SWEEP.h"
#include "files/CRecordingCodec.h"
#include "replay/CReplaySchedule.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// A live recording or a realtime data file read for a replay: its records,
// the scan band's sweeps where it has them, and the mode its records were
// taken in. The file is untrusted; whatever cannot be replayed is refused
// with a text for the user, and a recording cut by a crash replays the part
// that was whole.
//
// A recording is read in pieces, so that a weekend's recording replays in
// the memory of one piece: loading checks the whole file once and keeps,
// per piece, where it starts in the file and on the replay's clock. A data
// file is one piece, read whole.
class CReplaySource
{
    Q_DECLARE_TR_FUNCTIONS(CReplaySource)

public:
    // About ten thousand records: decoded in a few milliseconds, and a
    // replay holds no more than one piece at a time.
    static constexpr qint64 PIECE_BYTES = 1 << 20;
    // A data file is read whole; a larger one is not read at all. Weeks of
    // the live session fit well below this.
    static constexpr qint64 MAX_DATA_FILE_BYTES = qint64(1) << 30;

    struct PIECE
    {
        qint64 offset = 0;             // in the file
        CReplaySchedule::STATE before; // the clock before its first entry
        qint64 firstAt = 0;            // its first entry on the replay's clock
        quint64 firstTime = 0;         // and on the records' clock
        qint64 firstEntry = 0;         // records and sweeps of the pieces before
    };

    explicit CReplaySource(qint64 pieceBytes = PIECE_BYTES);

    // For a device of this type; false, with the reason in error, when the
    // file cannot be replayed. Nothing of an earlier file is kept either way.
    bool Load(const QString& path, const QString& deviceType, QString& error);

    // Only pieces with something to replay are counted.
    const QList<PIECE>& Pieces() const { return m_pieces; }
    // The records and sweeps of a piece and their order; false when the
    // file no longer reads as it did when loaded.
    bool Read(int piece, CRecordingCodec::CONTENTS& contents) const;
    // Seconds of the replay's clock from the first entry to the last.
    qint64 Length() const { return m_nLength; }
    qint64 RecordCount() const { return m_nRecords; }
    bool HasSweeps() const { return m_nSweeps > 0; }
    // IDevice::MODE_MAN or IDevice::MODE_AUTO.
    int Mode() const { return m_nMode; }
    QString Name() const { return m_strName; }
    // What the user should know about a file that replays only in part;
    // empty when it replays whole.
    QString Note() const { return m_strNote; }
    // The operator's notes the file carries (a data file's beside it), in
    // time order.
    const QList<NOTE>& Notes() const { return m_notes; }

    // The mode a data file of this kind was saved in (0 manual, 1 automatic,
    // 2 a log, which holds every band).
    static int ModeOfKind(int kind);

private:
    bool LoadRecording(const QString& deviceType, QString& error);
    bool LoadDataFile(const QString& deviceType, QString& error);
    void AddPiece(qint64 offset, const QList<quint64>& records, const QList<quint64>& sweeps,
        const QList<qsizetype>& places);
    QString WrongDevice(const QString& type) const;

    qint64 m_nPieceBytes;
    QString m_strPath;
    bool m_bRecording = false;
    QList<PIECE> m_pieces;
    CReplaySchedule::STATE m_state; // after the last piece
    qint64 m_nLength = 0;
    qint64 m_nRecords = 0;
    qint64 m_nSweeps = 0;
    qint64 m_nEntries = 0;
    // A data file's records, its only piece.
    QList<CRecord> m_records;
    int m_nMode = 0;
    QString m_strName;
    QString m_strNote;
    QList<NOTE> m_notes;
};
