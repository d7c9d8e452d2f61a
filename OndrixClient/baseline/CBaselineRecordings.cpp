#include "baseline/CBaselineRecordings.h"

#include "baseline/CBaselineComparator.h"
#include "baseline/CBaselineStats.h"
#include "files/CDataFile.h"
#include "files/CRecordingReader.h"
#include "files/CStoredRecords.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// As data files have it: a log's records are alarm events.
constexpr int KIND_LOG = 2;
// A recording's block of records decodes into some forty times its bytes:
// pieces of a quarter megabyte hold a comparison to some ten megabytes.
constexpr qint64 PIECE_BYTES = 256 << 10;

} // namespace

bool CBaselineRecordings::Compare(const QStringList& paths, const QString& deviceType, CBaselineComparator& comparator,
    QString& error)
{
    const Sink sink = [&comparator](const QList<CRecord>& records, int kind) {
        for (const CRecord& record : records) {
            if (kind == KIND_LOG)
                comparator.AddEvent(record);
            else
                comparator.Add(record);
        }
    };
    for (const QString& path : paths) {
        QString device;
        const bool read = Read(path, deviceType, sink, device, error);
        // A run never spans two files, nor goes on past a failure.
        comparator.Finish();
        if (!read)
            return false;
    }
    return true;
}

bool CBaselineRecordings::Capture(const QStringList& paths, const QString& deviceType, CBaselineStats& stats,
    QString& error)
{
    const Sink sink = [&stats](const QList<CRecord>& records, int kind) {
        if (kind == KIND_LOG)
            return;
        for (const CRecord& record : records)
            stats.Add(record);
    };
    for (const QString& path : paths) {
        QString device;
        if (!Read(path, deviceType, sink, device, error))
            return false;
        stats.SetDevice(device);
    }
    return true;
}

bool CBaselineRecordings::Read(const QString& path, const QString& deviceType, const Sink& sink, QString& device,
    QString& error)
{
    if (CStoredRecords::IsRecording(path))
        return ReadRecording(path, deviceType, sink, device, error);
    QList<CRecord> records;
    qint32 kind = 0;
    const CDataFile::Result result = CDataFile::Load(path, deviceType, records, kind, &device);
    const QString name = QFileInfo(path).fileName();
    if (result == CDataFile::WrongDevice)
        error = tr("%1 holds data of another device (%2).").arg(name, device.left(64));
    else if (result != CDataFile::Ok)
        error = tr("%1 cannot be read as a data file.").arg(name);
    else
        sink(InTimeOrder(std::move(records)), kind);
    return result == CDataFile::Ok;
}

bool CBaselineRecordings::ReadRecording(const QString& path, const QString& deviceType, const Sink& sink,
    QString& device, QString& error)
{
    const QString name = QFileInfo(path).fileName();
    CRecordingReader reader(PIECE_BYTES);
    if (!reader.Open(path)) {
        error = tr("%1 cannot be read as a recording.").arg(name);
        return false;
    }
    CRecordingCodec::CONTENTS piece;
    while (reader.Next(piece)) {
        // The device frame comes first: another device's recording is
        // refused before any of its records is taken.
        if (!deviceType.isEmpty() && !reader.Device().isEmpty() && reader.Device() != deviceType) {
            error = tr("%1 holds data of another device (%2).").arg(name, reader.Device().left(64));
            return false;
        }
        sink(piece.records, 0);
    }
    device = reader.Device();
    return true;
}

QList<CRecord> CBaselineRecordings::InTimeOrder(QList<CRecord> records)
{
    std::stable_sort(records.begin(), records.end(),
        [](const CRecord& a, const CRecord& b) { return a.time < b.time; });
    return records;
}
