#pragma once

#include "CRecordingCodec.h"

#include <QCoreApplication>
#include <QString>

class CRecordingReader;

class QWidget;

// At start: the live recordings a crash or a power cut left in the storage
// folder. Each is offered to the user, to keep as ordinary realtime data
// files or to discard; one that cannot be read is left where it is. A
// recording is read a piece at a time, so that one of days fits in memory.
class CRecordingRecovery
{
    Q_DECLARE_TR_FUNCTIONS(CRecordingRecovery)

public:
    // Records a data file holds at most: a longer recording is kept as
    // several, each named after its first record.
    static constexpr int PIECE_RECORDS = 500000;

    // What a recording holds, from its closing summary when it has one
    // (nothing else is read then but its first frames, for the device),
    // else from reading it through.
    struct RECORDING
    {
        CRecordingCodec::Status status = CRecordingCodec::NotARecording;
        QString device;
        CRecordingCodec::SUMMARY summary;
    };

    static void Offer(QWidget* parent, const QString& folder);
    static RECORDING Summarize(const QString& recording);
    // Saves the recording's records as data files beside it and removes it;
    // savedAs names the first of them.
    static bool Keep(const QString& recording, QString& savedAs, QString& error, int pieceRecords = PIECE_RECORDS);

private:
    static bool ReadTrailer(const QString& recording, RECORDING& recorded);
    static void Scan(CRecordingReader& reader, RECORDING& recorded);
    static bool Keep(const QString& recording, const RECORDING& recorded, QString& savedAs, QString& error, int pieceRecords);
    static bool SavePiece(const QString& recording, const RECORDING& recorded, const QList<CRecord>& records,
        QString& savedAs, QString& error);
};
