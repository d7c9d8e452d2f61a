// Baseline benchmark (medians): a 24-hour recording at the line rate (280
// records a second, the automatic mode's 16 bands in turn: 24 million
// records), written by the live recorder's writer, compared with a
// baseline of its first hour, streamed as ondrixctl and the report do
// (goal <= 5 s). The peak resident memory of the comparisons is printed
// too: it must not grow with the recording's length.
// build/bin/bench_BaselineCompare [runs] [hours]
#include "CBenchStats.h"
#include "CProcessUsage.h"
#include "baseline/CBaselineComparator.h"
#include "baseline/CBaselineRecordings.h"
#include "baseline/CBaselineStats.h"
#include "files/CRecordingWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

const int RECORDS_PER_SECOND = 280;
const int BANDS = 16;
const quint64 START = 1767225600u;
const int SECONDS_PER_BATCH = 60;
// Band 5 rises by 25 dB for ten minutes in the middle of the day.
const int RISEN_BAND = 5;
const int RISEN_FROM = 12 * 3600;
const int RISEN_SECONDS = 600;

QList<CRecord> Second(int second)
{
    QList<CRecord> records;
    records.reserve(RECORDS_PER_SECOND);
    for (int i = 0; i < RECORDS_PER_SECOND; ++i) {
        CRecord record;
        record.band = i % BANDS;
        record.bandName = QStringLiteral("Band %1/").arg(record.band);
        record.time = START + quint64(second);
        record.duration = 1;
        const bool risen = record.band == RISEN_BAND && second >= RISEN_FROM && second < RISEN_FROM + RISEN_SECONDS;
        record.values.append({ -90.0 + (i * 7 + second) % 20 + (risen ? 25 : 0), -50.0, 0, 0 });
        records.append(record);
    }
    return records;
}

// Through the production writer, a minute a batch, as a live session's
// recorder hands it over.
bool WriteRecording(const QString& path, int hours)
{
    CRecordingWriter writer(0);
    CRecordingWriter::ITEM open;
    open.kind = CRecordingWriter::ITEM::Open;
    open.path = path;
    open.device = QStringLiteral("RZ450");
    qint64 batch = writer.Push({ open });
    for (int s = 0; s < hours * 3600; s += SECONDS_PER_BATCH) {
        QList<CRecordingWriter::ITEM> items;
        for (int second = s; second < std::min(s + SECONDS_PER_BATCH, hours * 3600); ++second) {
            CRecordingWriter::ITEM item;
            item.records = Second(second);
            items.append(item);
        }
        // A queue of one batch: the writer sets the pace.
        writer.Wait(batch);
        batch = writer.Push(items);
    }
    CRecordingWriter::ITEM close;
    close.kind = CRecordingWriter::ITEM::Close;
    writer.Wait(writer.Push({ close }));
    return writer.Status().failures == 0;
}

CBaseline FirstHour()
{
    CBaselineStats stats;
    for (int s = 0; s < 3600; ++s) {
        for (const CRecord& record : Second(s))
            stats.Add(record);
    }
    CBaseline baseline;
    QString error;
    stats.Result(QStringLiteral("Bench"), baseline, error);
    return baseline;
}

// VmHWM of this process, in MB, after the mark was reset.
double PeakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1.0;
}

void ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int hours = argc > 2 ? std::max(1, atoi(argv[2])) : 24;
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("day.orzrec"));
    QElapsedTimer written;
    written.start();
    if (!WriteRecording(path, hours)) {
        std::printf("the recording could not be written\n");
        return 1;
    }
    std::printf("%d-hour recording: %lld records, %lld MB, written in %.1f s\n", hours,
        qint64(hours) * 3600 * RECORDS_PER_SECOND, QFileInfo(path).size() >> 20, written.elapsed() / 1000.0);
    const CBaseline baseline = FirstHour();
    std::printf("resident before the comparisons: %.0f MB\n", CProcessUsage::ResidentMb());
    std::vector<double> seconds;
    std::vector<double> peaks;
    QList<BASELINE_FLAG> bands;
    for (int run = 0; run < runs; ++run) {
        ResetPeak();
        CBaselineComparator comparator(baseline);
        QString error;
        QElapsedTimer elapsed;
        elapsed.start();
        if (!CBaselineRecordings::Compare({ path }, QStringLiteral("RZ450"), comparator, error)) {
            std::printf("the comparison failed: %s\n", qPrintable(error));
            return 1;
        }
        seconds.push_back(elapsed.elapsed() / 1000.0);
        peaks.push_back(PeakMb());
        bands = comparator.Bands();
    }
    std::printf("compared with a baseline: median %.2f s over %d run(s) (goal <= 5 s), peak RSS %.0f MB\n",
        CBenchStats::Median(seconds), runs, CBenchStats::Median(peaks));
    std::printf("bands flagged: %lld (band %d expected), %lld interval(s)\n", qint64(bands.size()),
        bands.isEmpty() ? -1 : bands.first().band, bands.isEmpty() ? 0 : bands.first().nIntervals);
    return bands.size() == 1 && bands.first().band == RISEN_BAND ? 0 : 1;
}
