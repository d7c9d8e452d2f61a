// Replay benchmark: loading a recording of some hours at line rate (270
// records a second and 10 sweeps a second) for a replay, the time it takes
// and the resident memory it adds. A replay holds its file's records in
// memory, so this is what bounds the length of a recording it can take.
// build/bin/bench_Replay [hours]
#include "CProcessUsage.h"
#include "CRecordingCodec.h"
#include "CReplaySource.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const int RECORDS_PER_SECOND = 270;
const int SWEEPS_PER_SECOND = 10;
const quint64 START_TIME = 1767225600;

// The recording a live session of this many hours leaves.
bool WriteRecording(const QString& path, int hours)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("RZ450")));
    CRecord record;
    record.band = 18;
    record.bandName = QStringLiteral("Scan range");
    record.duration = 1;
    record.values.append({ -60.0, -50.0, 0, 0 });
    SPECTRUM_SWEEP sweep;
    sweep.points = QByteArray(160, '\x20');
    sweep.rangeStartMhz = 100;
    sweep.rangeEndMhz = 2400;
    for (quint64 second = 0; second < quint64(hours) * 3600; ++second) {
        QByteArray bytes;
        record.time = START_TIME + second;
        for (int r = 0; r < RECORDS_PER_SECOND; ++r) {
            record.values[0].level = -90.0 + (second * 7 + quint64(r)) % 50;
            bytes += CRecordingCodec::RecordFrame(record);
        }
        sweep.time = record.time;
        for (int s = 0; s < SWEEPS_PER_SECOND; ++s)
            bytes += CRecordingCodec::SweepFrame(sweep);
        if (file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int hours = argc > 1 ? std::max(1, atoi(argv[1])) : 1;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("hour.orzrec"));
    if (!WriteRecording(path, hours)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const double before = CProcessUsage::ResidentMb();
    QElapsedTimer clock;
    clock.start();
    CReplaySource source;
    QString error;
    if (!source.Load(path, QStringLiteral("RZ450"), error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double loadMs = double(clock.nsecsElapsed()) / 1e6;
    std::printf("Replay of %d h (%lld records, %lld sweeps, %.0f MB on disk):\n", hours,
        qlonglong(source.Records().size()), qlonglong(source.Sweeps().size()), double(QFile(path).size()) / 1048576.0);
    std::printf("  load:             %8.0f ms\n", loadMs);
    std::printf("  resident memory:  %8.1f MB added (%.0f bytes a record)\n", CProcessUsage::ResidentMb() - before,
        (CProcessUsage::ResidentMb() - before) * 1048576.0 / double(source.Records().size()));
    return 0;
}
