#pragma once

#include "CRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

// The binary form of the storage's data files, shared by saved live records
// (.rdf) and downloaded log banks (.ldf): the device type, the kind, the
// record count and the records, laid out as a version 4.8 QDataStream writes
// them (big-endian; strings as a 32-bit byte count and UTF-16, 0xFFFFFFFF for
// a null string). Files written by every earlier version of the program must
// keep loading, so the layout is fixed byte for byte.
//
// Files are untrusted: every count is checked against the bytes that are left
// before anything is read or allocated for it, and a file that ends inside a
// record is refused whole.
class CDataFile
{
public:
    enum Result { Ok, OpenFailed, WrongDevice, Corrupt };

    static QByteArray Encode(const QString& deviceType, qint32 kind, const QList<CRecord>& records);
    // On Ok fills records and kind. On WrongDevice (checked before any record
    // is read) only deviceType is set; on any other result nothing is.
    static Result Decode(const QByteArray& bytes, const QString& expectedDeviceType, QList<CRecord>& records,
        qint32& kind, QString* deviceType = nullptr);
    // The same from the device's current position to its end, read in
    // pieces.
    static Result Decode(QIODevice* device, const QString& expectedDeviceType, QList<CRecord>& records, qint32& kind,
        QString* deviceType = nullptr);

    // Written to a temporary file and renamed over the old one: a crash or a
    // full disk on the way leaves the old file as it was.
    static bool Save(const QString& path, const QString& deviceType, qint32 kind, const QList<CRecord>& records);
    static Result Load(const QString& path, const QString& expectedDeviceType, QList<CRecord>& records, qint32& kind,
        QString* deviceType = nullptr);
};
