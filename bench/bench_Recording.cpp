// Live recording benchmarks (medians):
//  - the cost of one record on the GUI thread: keeping it for the writer,
//    and the once-a-second hand-over (goal <= 2 us)
//  - the writer's flush of one second at line rate (270 records and 40
//    sweeps): encoded, written and handed to the disk (fdatasync)
//  - the bytes on disk per record at line rate, in blocks of a second, in
//    the manual mode (one band) and the automatic one (16 bands in turn)
//    (goal <= 10 bytes), and the cost of encoding a block per record
// build/bin/bench_Recording [runs]
#include "CBandTable.h"
#include "CBenchStats.h"
#include "files/CRecordingCodec.h"
#include "live/CLiveRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

const int RECORDS_PER_SECOND = 270;
const int SWEEPS_PER_SECOND = 40;

CRecord LiveRecord(int i)
{
    CRecord record;
    record.band = 18;
    record.bandName = QStringLiteral("Scan range");
    record.time = 1767225600u + quint64(i / RECORDS_PER_SECOND);
    record.duration = 1;
    record.values.append({ -60.0 - i % 40, -50.0, 0, 0 });
    return record;
}

SPECTRUM_SWEEP Sweep(int i)
{
    SPECTRUM_SWEEP sweep;
    sweep.time = 1767225600u + quint64(i);
    sweep.points = QByteArray(160, char(i % 60));
    sweep.rangeStartMhz = 100;
    sweep.rangeEndMhz = 2400;
    return sweep;
}

// The detector's rate on the wire, and an hour of it.
const int LINE_RATE = 280;
const int DISK_SECONDS = 3600;
const int AUTOMATIC_BANDS = 16;

// As the detector makes them: whole dBm levels anywhere in its range, one
// threshold; automatic cycles through the bands with a duration of 1.
QList<CRecord> LineRateSecond(int second, bool automatic, QRandomGenerator& random)
{
    QList<CRecord> records;
    records.reserve(LINE_RATE);
    for (int i = 0; i < LINE_RATE; ++i) {
        CRecord record;
        record.band = automatic ? (second * LINE_RATE + i) % AUTOMATIC_BANDS : 18;
        record.bandName = CBandTable::EnglishName(record.band);
        record.time = 1767225600u + quint64(second);
        record.duration = automatic ? 1 : 0;
        record.values.append({ double(-102 + int(random.bounded(256))), -60.0, 0, 0 });
        records.append(record);
    }
    return records;
}

// Bytes per record of an hour in blocks of a second, and microseconds per
// record of encoding them.
void OnDisk(bool automatic, double& bytesPerRecord, double& encodeUs)
{
    QRandomGenerator random(20260101);
    qint64 bytes = CRecordingCodec::Header().size() + CRecordingCodec::DeviceFrame(QStringLiteral("RZ450")).size();
    qint64 nsecs = 0;
    for (int second = 0; second < DISK_SECONDS; ++second) {
        const QList<CRecord> records = LineRateSecond(second, automatic, random);
        QElapsedTimer clock;
        clock.start();
        bytes += CRecordingCodec::RecordBlockFrames(records).size();
        nsecs += clock.nsecsElapsed();
    }
    const double count = double(DISK_SECONDS) * LINE_RATE;
    bytesPerRecord = double(bytes) / count;
    encodeUs = double(nsecs) / 1000.0 / count;
}

// Microseconds per record on the GUI thread of a second's worth (the
// appends and the once-a-second hand-over to the writer), and milliseconds
// of the writer's flush: encoding, writing and fdatasync.
void OneSecond(CLiveRecorder& recorder, const QList<CRecord>& records, double& guiUs, double& flushMs)
{
    QElapsedTimer clock;
    clock.start();
    for (const CRecord& record : records)
        recorder.Append(record);
    for (int i = 0; i < SWEEPS_PER_SECOND; ++i)
        recorder.AppendSweep(Sweep(i));
    recorder.Flush();
    guiUs = double(clock.nsecsElapsed()) / 1000.0 / records.size();
    clock.restart();
    recorder.Drain();
    flushMs = double(clock.nsecsElapsed()) / 1.0e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    QTemporaryDir folder;
    CLiveRecorder recorder;
    QString error;
    if (!recorder.Start(folder.path(), QStringLiteral("RZ450"), error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QList<CRecord> records;
    for (int i = 0; i < RECORDS_PER_SECOND; ++i)
        records.append(LiveRecord(i));
    std::vector<double> appends;
    std::vector<double> flushes;
    for (int run = 0; run < runs; ++run) {
        double appendUs = 0.0;
        double flushMs = 0.0;
        OneSecond(recorder, records, appendUs, flushMs);
        appends.push_back(appendUs);
        flushes.push_back(flushMs);
    }
    std::printf("Recording, one record on the GUI thread:  %7.3f us  (goal <= 2 us, amortised with the hand-over)\n",
        CBenchStats::Median(appends));
    std::printf("Recording, the writer's flush of a second: %7.3f ms  (%d records, %d sweeps, with fdatasync)\n",
        CBenchStats::Median(flushes), RECORDS_PER_SECOND, SWEEPS_PER_SECOND);
    recorder.Close();
    for (const bool automatic : { false, true }) {
        double bytesPerRecord = 0.0;
        double encodeUs = 0.0;
        OnDisk(automatic, bytesPerRecord, encodeUs);
        std::printf("Recording, on disk at line rate, %-9s  %7.2f bytes/record  (goal <= 10; %.1f MB a day; "
                    "block encoding %.3f us/record)\n",
            automatic ? "automatic" : "manual", bytesPerRecord, bytesPerRecord * LINE_RATE * 86400 / 1.0e6, encodeUs);
    }
    return 0;
}
