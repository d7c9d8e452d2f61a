#pragma once

#include "CRecord.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CBaselineComparator;
class CBaselineStats;

// Data files (.rdf, .ldf) and recordings (.orzrec) fed to a baseline, one
// file after the other: a comparison (CBaselineComparator) for the report
// and ondrixctl, or a capture (CBaselineStats) made from recorded data.
// A recording is read a piece at a time (CRecordingReader), so a
// day-long one costs no more memory than an hour; it is read past damage,
// as everywhere. A data file's records are taken in time order (a wrapped
// ring did not keep it).
class CBaselineRecordings
{
    Q_DECLARE_TR_FUNCTIONS(CBaselineRecordings)

public:
    // Files of deviceType, or of any device when it is empty. False, with
    // error naming the file, when one cannot be read; the files before it
    // were compared.
    static bool Compare(const QStringList& paths, const QString& deviceType, CBaselineComparator& comparator,
        QString& error);
    // Their live records (a log's alarm events are no sample of a site's
    // levels and are left out); stats learns the device.
    static bool Capture(const QStringList& paths, const QString& deviceType, CBaselineStats& stats, QString& error);

private:
    // A piece of a file's records in time order; kind as data files have it.
    using Sink = std::function<void(const QList<CRecord>& records, int kind)>;

    static bool Read(const QString& path, const QString& deviceType, const Sink& sink, QString& device, QString& error);
    static bool ReadRecording(const QString& path, const QString& deviceType, const Sink& sink, QString& device,
        QString& error);
    static QList<CRecord> InTimeOrder(QList<CRecord> records);
};
