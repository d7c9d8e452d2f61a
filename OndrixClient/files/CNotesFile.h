#pragma once

#include "files/NOTE.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QList>
#include <QString>

// The notes of a data file, in a file of their own beside it (its name and
// ".notes"), so that the data file keeps its bytes. Little-endian:
//   header: "ORZNOT" (6 bytes), format version (u16)
//   then one frame per note, framed and checked as a recording's frames are
//   (CRecordingFrames), of the recording's note kind (CNoteCodec's bytes)
// A damaged frame loses that note only: the others are read on past it.
class CNotesFile
{
    Q_DECLARE_TR_FUNCTIONS(CNotesFile)

public:
    static constexpr quint16 VERSION = 1;

    struct CONTENTS
    {
        bool ok = false; // a notes file of this version, whatever its damage
        QList<NOTE> notes;
        int damagedPlaces = 0;
        bool cut = false;
    };

    static QString PathFor(const QString& dataFile);
    static QByteArray Encode(const QList<NOTE>& notes);
    static CONTENTS Decode(QByteArrayView bytes);
    // The notes beside dataFile; none there is no error. False, with error
    // for the user, when the file is not whole: notes holds what was read.
    static bool Load(const QString& dataFile, QList<NOTE>& notes, QString& error);
    // Writes the notes beside dataFile whole or not at all; no notes, no file.
    static bool Save(const QString& dataFile, const QList<NOTE>& notes, QString& error);
    // The notes follow their data file when the user renames it (never
    // over other notes) and go with it when the user deletes it.
    static bool Move(const QString& dataFile, const QString& renamedTo);
    static bool Remove(const QString& dataFile);
};
