// Usage: bench_CtlDownload
// `ondrixctl download-log` end to end, as a script runs it, against the
// simulated detector in a process of its own, paced at the line rate with a
// full log of 1000 blocks: the program started, the driver loaded and
// online, the download, one log data file per bank, the program ended.
// Reported against the 2.9 s that 1000 blocks need on the wire (median of
// 3), with the part from the request to the end apart from the start-up.
#include "CBenchStats.h"
#include "CSimulatorProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

// CPU time of the children waited for so far.
double ChildrenCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    CSimulatorProcess sim({ QStringLiteral("--paced"), QStringLiteral("--log"), QStringLiteral("1000:4") });
    if (!sim.Ready()) {
        std::printf("simulator not reachable\n");
        return 1;
    }
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/ondrixctl");
    std::vector<double> totals, downloads, cpus;
    int files = 0;
    for (int run = 0; run < 3; ++run) {
        QTemporaryDir folder;
        QProcess ondrixctl;
        const double cpuBefore = ChildrenCpuSeconds();
        QElapsedTimer timer;
        timer.start();
        ondrixctl.setReadChannel(QProcess::StandardError);
        ondrixctl.start(program, { QStringLiteral("download-log"), folder.path() });
        // The note comes right before the request.
        QByteArray errors;
        qint64 requested = -1;
        while (ondrixctl.state() != QProcess::NotRunning) {
            ondrixctl.waitForReadyRead(5);
            errors += ondrixctl.readAllStandardError();
            if (requested < 0 && errors.contains("Downloading the event log"))
                requested = timer.nsecsElapsed();
        }
        const qint64 total = timer.nsecsElapsed();
        if (ondrixctl.exitCode() != 0 || requested < 0) {
            std::printf("download failed: %s\n", errors.constData());
            return 1;
        }
        files = int(QDir(folder.path()).entryList(QDir::Files).size());
        totals.push_back(total / 1e9);
        downloads.push_back((total - requested) / 1e9);
        cpus.push_back(ChildrenCpuSeconds() - cpuBefore);
    }
    const double wire = 1000.0 * 268 * 10 / 921600;
    const double download = CBenchStats::Median(downloads);
    std::printf("ondrixctl download-log 1000 blocks, %d files: median %.3f s from the request to the exit = %.1f%% "
                "over the %.3f s on the wire\n",
        files, download, (download / wire - 1) * 100, wire);
    std::printf("  the whole program, start-up and the detector coming online included: median %.3f s; its CPU "
                "time median %.3f s\n",
        CBenchStats::Median(totals), CBenchStats::Median(cpus));
    return 0;
}
