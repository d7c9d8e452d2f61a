#pragma once

#include <QByteArray>
#include <QString>

// A menu file (*.mnu): the detector's settings block exactly as the device
// hands it out, with no header, trailer or checksum, so that files from
// every version of the program load. The settings dialog and ondrixctl
// read and write them here alone.
class CRZ450MenuFile
{
public:
    enum Result { Ok, OpenFailed, WrongSize };

    // On Ok the block holds the file's bytes; otherwise it is untouched.
    static Result Read(const QString& path, QByteArray& block);
    // Through QSaveFile: a failure on the way leaves the old file as it was.
    // False also for a block of the wrong size.
    static bool Write(const QString& path, const QByteArray& block);
};
