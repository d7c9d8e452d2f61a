// Usage: bench_LogDownload
// The client's log download end to end against the simulated detector in a
// separate process, paced at the line rate: the read-log request, the
// progress dialog polling the device until it reports the end, and one log
// data file written per bank. Reported against the 2.9 s that 1000 blocks
// need on the wire (median of 3); the dialog's 200 ms poll adds up to one
// poll period on top.
#include "CBenchStats.h"
#include "CRZ450Device.h"
#include "CSimulatorProcess.h"
#include "app/CClientSession.h"
#include "files/CLogSaver.h"
#include "mainwindow/CProgressDialog.h"
#include "proxy/CMetaDevice.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool WaitOnline(IDevice& device)
{
    for (int i = 0; i < 100 && !device.IsOnline(); ++i)
        QThread::msleep(50);
    return device.IsOnline();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CSimulatorProcess sim({ QStringLiteral("--paced") });
    CRZ450Device driver(QStringLiteral("no-such-d2xx-library"));
    CMetaDevice device(&driver);
    device.Initialize();
    if (!sim.Ready() || !WaitOnline(device)) {
        std::printf("simulator not reachable\n");
        return 1;
    }
    CClientSession::SetCurrent(&device, nullptr);
    sim.Command("log 1000 4");
    QThread::msleep(300);

    std::vector<double> totals, reads, saves;
    int files = 0;
    for (int run = 0; run < 3; ++run) {
        QTemporaryDir folder;
        CProgressDialog dialog(QStringLiteral("Reading the log"), 100, 101);
        QElapsedTimer timer;
        timer.start();
        device.SetRequest(IDevice::ReadLog);
        if (dialog.exec() != QDialog::Accepted) {
            std::printf("download failed\n");
            return 1;
        }
        const double read = timer.nsecsElapsed() / 1e9;
        CLogSaver saver(&device);
        if (saver.Save(folder.path()) != CLogSaver::Saved) {
            std::printf("saving failed\n");
            return 1;
        }
        const double total = timer.nsecsElapsed() / 1e9;
        files = int(QDir(folder.path()).entryList(QDir::Files).size());
        totals.push_back(total);
        reads.push_back(read);
        saves.push_back(total - read);
    }
    const double wire = 1000.0 * 268 * 10 / 921600;
    std::printf("log download 1000 blocks, %d files: median %.3f s end to end = %.1f%% over the %.3f s on the wire\n",
        files, CBenchStats::Median(totals), (CBenchStats::Median(totals) / wire - 1) * 100, wire);
    std::printf("  of which: request until the dialog closed median %.3f s, saving the files median %.1f ms\n",
        CBenchStats::Median(reads), CBenchStats::Median(saves) * 1000);
    CClientSession::SetCurrent(nullptr, nullptr);
    device.Uninitialize();
    return 0;
}
