// The live session's recordings in the storage folder (medians):
//  - filling the storage tree with 30 days of recordings, one an hour
//    (goal <= 200 ms)
//  - Save Data of a session of HOURS hours at the line rate (280 records a
//    second, the automatic mode's 16 bands in turn), as data files of
//    500,000 records: the time it takes (reported, shown with progress)
// build/bin/bench_Recordings [runs] [hours]
#include "CBenchStats.h"
#include "files/CRecordingCodec.h"
#include "live/CLiveRecorder.h"
#include "live/CRealtimeSaver.h"
#include "storage/CStorageTree.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>
#include <vector>

namespace {

const int RECORDS_PER_SECOND = 280;
const quint64 START = 1767225600u;

QList<CRecord> Second(quint64 second)
{
    QList<CRecord> records;
    records.reserve(RECORDS_PER_SECOND);
    for (int i = 0; i < RECORDS_PER_SECOND; ++i) {
        CRecord record;
        record.band = i % 16;
        record.bandName = QStringLiteral("Band %1/").arg(record.band);
        record.time = START + second;
        record.duration = 1;
        record.values.append({ -90.0 + (i * 7 + int(second)) % 40, -50.0, 0, 0 });
        records.append(record);
    }
    return records;
}

// A closed recording of `seconds` seconds from `from` on, as the recorder
// writes one: a block a second, its summary last.
QString WriteRecording(const QString& folder, int index, quint64 from, int seconds)
{
    const QString path = QDir(folder).filePath(QStringLiteral("live-%1.orzrec").arg(index, 6, 10, QLatin1Char('0')));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("RZ450")));
    CRecordingCodec::SUMMARY summary;
    summary.first = START + from;
    summary.automatic = true;
    for (int s = 0; s < seconds; ++s) {
        const QList<CRecord> records = Second(from + quint64(s));
        file.write(CRecordingCodec::RecordBlockFrames(records));
        summary.records += records.size();
        summary.last = records.last().time;
    }
    file.write(CRecordingCodec::SummaryFrame(summary));
    return path;
}

void TreeOfAMonth(int runs)
{
    QTemporaryDir storage;
    const QString folder = CLiveRecorder::Folder(storage.path());
    QDir().mkpath(folder);
    // The tree reads a recording's last bytes only: a second of records
    // each stands for an hour.
    for (int hour = 0; hour < 30 * 24; ++hour)
        WriteRecording(folder, hour, quint64(hour) * 3600, 1);
    QTreeWidget tree;
    CStorageTree storageTree(&tree);
    std::vector<double> fills;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        storageTree.Rebuild(QStringLiteral("Default Storage"), storage.path());
        fills.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("storage tree with 30 days of recordings (720): %.1f ms (goal <= 200 ms)\n",
        CBenchStats::Median(fills));
}

void SaveSession(int hours)
{
    QTemporaryDir storage;
    const QString folder = CLiveRecorder::Folder(storage.path());
    QDir().mkpath(folder);
    QStringList session;
    // Rolled over as the recorder does, at about 32 MiB.
    const int secondsPerFile = 3 * 3600;
    for (int s = 0, index = 0; s < hours * 3600; s += secondsPerFile, ++index)
        session.append(WriteRecording(folder, index, quint64(s), std::min(secondsPerFile, hours * 3600 - s)));
    qint64 onDisk = 0;
    for (const QString& path : session)
        onDisk += QFileInfo(path).size();
    CRealtimeSaver saver(nullptr);
    QElapsedTimer timer;
    timer.start();
    int progressCalls = 0;
    qint64 longestGapMs = 0;
    QElapsedTimer sinceLast;
    sinceLast.start();
    const bool saved = saver.SaveRecordings(storage.path(), session, true, QStringLiteral("AUTO_"), [&](qint64) {
        ++progressCalls;
        longestGapMs = std::max(longestGapMs, sinceLast.restart());
        return true;
    });
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("Save Data of a %d-hour session (%lld records, recorded in %lld MB): %s in %.1f s, %lld data files, "
                "progress told %d times, at most %lld ms apart\n",
        hours, qint64(hours) * 3600 * RECORDS_PER_SECOND, onDisk >> 20, saved ? "saved" : "FAILED", seconds,
        qint64(saver.Files().size()), progressCalls, longestGapMs);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 11;
    const int hours = argc > 2 ? std::max(1, atoi(argv[2])) : 24;
    TreeOfAMonth(runs);
    SaveSession(hours);
    return 0;
}
