// CSV export benchmarks (medians of the wall-clock time, with the CPU time of
// the thread beside it: on a busy machine the two part):
//  - 300000 live records, one value each, the bands taking turns as in the
//    automatic mode, one a second, written as CSV through QSaveFile
//    (goal <= 500 ms)
//  - the same records read from a realtime data file and exported
// build/bin/bench_CsvExport [runs]
#include "CBenchRecords.h"
#include "CBenchStats.h"
#include "CProcessUsage.h"
#include "export/CCsvExport.h"
#include "files/CDataFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString DEVICE = QStringLiteral("RZ450");

QList<CRecord> LiveRecords(int count)
{
    return CBenchRecords::Live(count, -50.5);
}

struct TIMES
{
    double wallMs;
    double cpuMs;
};

template <class Export>
TIMES Medians(int runs, Export run)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = CProcessUsage::ThreadCpuSeconds();
        timer.start();
        QString error;
        if (!run(error))
            std::printf("export failed: %s\n", qPrintable(error));
        wall.push_back(timer.nsecsElapsed() / 1e6);
        cpu.push_back((CProcessUsage::ThreadCpuSeconds() - cpuStart) * 1e3);
    }
    return { CBenchStats::Median(wall), CBenchStats::Median(cpu) };
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 7;
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    const QString data = dir.filePath(QStringLiteral("AUTO_rt_0101_0000.rdf"));
    const QList<CRecord> records = LiveRecords(300000);
    CDataFile::Save(data, DEVICE, 1, records);
    const TIMES fromRecords
        = Medians(runs, [&](QString& error) { return CCsvExport::WriteRecords(records, QString(), out, error); });
    const TIMES fromFile
        = Medians(runs, [&](QString& error) { return CCsvExport::WriteFiles({ data }, DEVICE, out, error); });
    std::printf("CSV export of 300000 records, %lld bytes: %.1f ms from memory (goal <= 500 ms; CPU %.1f ms), "
                "%.1f ms from a realtime data file of %lld bytes (CPU %.1f ms); median of %d runs\n",
        QFileInfo(out).size(), fromRecords.wallMs, fromRecords.cpuMs, fromFile.wallMs, QFileInfo(data).size(),
        fromFile.cpuMs, runs);
    return 0;
}
