// Live recording benchmarks (medians):
//  - the cost of one record on the GUI thread: encoding it into memory
//    (goal <= 2 us)
//  - the flush of one second at line rate (270 records and 40 sweeps)
//    written to the disk
// build/bin/bench_Recording [runs]
#include "CBenchStats.h"
#include "CLiveRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

// Microseconds per record of appending a second's worth, and milliseconds
// of the flush that writes it.
void OneSecond(CLiveRecorder& recorder, const QList<CRecord>& records, double& appendUs, double& flushMs)
{
    QElapsedTimer clock;
    clock.start();
    for (const CRecord& record : records)
        recorder.Append(record);
    appendUs = double(clock.nsecsElapsed()) / 1000.0 / records.size();
    for (int i = 0; i < SWEEPS_PER_SECOND; ++i)
        recorder.AppendSweep(Sweep(i));
    clock.restart();
    recorder.Flush();
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
    std::printf("Recording, one record on the GUI thread:  %7.3f us  (goal <= 2 us)\n", CBenchStats::Median(appends));
    std::printf("Recording, flush of one second:           %7.3f ms  (%d records, %d sweeps)\n",
        CBenchStats::Median(flushes), RECORDS_PER_SECOND, SWEEPS_PER_SECOND);
    recorder.Discard();
    return 0;
}
