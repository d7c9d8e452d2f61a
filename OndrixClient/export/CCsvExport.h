#pragma once

#include "CRecord.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// Records as a CSV table (RFC 4180, UTF-8 without a byte order mark, CR LF
// after every row, "." as the decimal point whatever the locale): data
// files of the storage, the live session or the event list of a log. No
// widget and no device is needed: the client's menus and the command line
// program (ondrixctl export FILE... --csv OUT) use the same functions.
//
// The first row names the columns; they are the same in every export and
// never translated, so that programs can find them:
//
//   file            the data file's name (without its folder) the record
//                   comes from; empty for the live session
//   record          the record's number in its file or list, from 1
//   value           the value's number in its record, from 1; a record
//                   without values has one row with this and the three
//                   value columns empty
//   time_local      the record's time in ISO 8601, local time with its
//                   offset from UTC: 2026-03-01T14:05:09+03:00
//   time_utc        the same moment in UTC: 2026-03-01T11:05:09Z
//                   (both are empty for a time after the year 9999)
//   band            the band number, 0 to 30
//   band_name       the band's name as the record holds it
//   duration_s      the duration in seconds
//   level_dBm       the level in dBm, as the shortest decimal text that
//                   reads back as the same double (-61, -79.5)
//   threshold_dBm   the alarm threshold in dBm, written the same way
//   over_threshold  "true" when the level was at or over the threshold,
//                   as the detector raises an alarm, else "false"
//
// One row per value of every record, in record order. The file is written
// through QSaveFile: on any failure the target is left as it was.
class CCsvExport
{
    Q_DECLARE_TR_FUNCTIONS(CCsvExport)

public:
    static const QStringList& Columns();

    // The whole table for one file or list, header row first, in memory.
    static QByteArray Encode(const QString& source, const QList<CRecord>& records);

    // Writes the records to outPath, source filling the file column. False,
    // with a text for the user in error, when the file cannot be written.
    static bool WriteRecords(const QList<CRecord>& records, const QString& source, const QString& outPath,
        QString& error);

    // Writes the records of every data file (.rdf, .ldf) that holds data of
    // deviceType into one table at outPath, the files in the order given.
    // A file that cannot be read, is damaged or belongs to another device is
    // left out and named in error, one line each; the others are exported.
    // True only when every file went in. *written (when given) tells whether
    // outPath was written at all: it is not when no file could be read, or
    // when the target cannot be written (error says so).
    static bool WriteFiles(const QStringList& dataFiles, const QString& deviceType, const QString& outPath,
        QString& error, bool* written = nullptr);
    // The same, telling apart why not every file went in: inputs that are
    // no good, or a target that cannot be written.
    enum Outcome { Written, PartlyWritten, NothingReadable, NotWritten };
    static Outcome ExportFiles(const QStringList& dataFiles, const QString& deviceType, const QString& outPath,
        QString& error);

    // The two time columns of a time (seconds since 1970 UTC).
    static QString LocalTime(quint64 time);
    static QString UtcTime(quint64 time);
};
