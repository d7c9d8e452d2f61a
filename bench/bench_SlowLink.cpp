// Usage: bench_SlowLink [seconds] [--per-call]
// The client over a slow link: OndrixServer with the simulated detector at
// line rate, reached through a loopback relay that delays every byte by
// 2.5 ms each way, and a client loop doing what the main window's tick does
// every 25 ms (IsOnline, then the live feed: mode, record count, the new
// records through the record cursor, the band for the spectrum sample).
// The loop drives the proxy and CRecordCursor directly, without a window,
// so that the figures are the link's and not the drawing's.
//  - share of records kept: records taken vs records the detector produced
//    over the run (goal >= 99%)
//  - the tick's median and 90th percentile (goal: median <= 10 ms)
// --per-call: the proxy as before FollowLive, one exchange per question.
#include "CBenchStats.h"
#include "CLatencyRelay.h"
#include "CLoopbackDeviceServer.h"
#include "CSimulatorProcess.h"
#include "proxy/CMetaDevice.h"
#include "proxy/CRecordCursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <algorithm>

#include <cstdio>
#include <vector>

namespace {

const int POLL_MS = 25;
const int DELAY_US = 2500;
const int DEFAULT_SECONDS = 20;

struct RUN
{
    std::vector<double> tickMs;
    qint64 taken = 0;
    qint64 missed = 0;
    int firstCount = -1;
    int lastCount = 0;
};

// One tick as CMainWindow::OnTimer and the live feed make it.
void Tick(CMetaDevice& device, CRecordCursor& cursor, RUN& run)
{
    if (!device.IsOnline()) {
        device.IsError();
        return;
    }
    const int mode = device.GetCurrentMode();
    const int count = device.GetCurrentRecordIndex();
    if (run.firstCount < 0) {
        run.firstCount = count;
        cursor.StartAt(count);
        device.ExpectRecordsFrom(cursor.ReadFirst());
    }
    run.lastCount = count;
    if (mode <= 0)
        return;
    const CRecordCursor::TAKEN taken = cursor.Take(&device, count, int(ServerProtocol::RECORD_BATCH));
    run.taken += taken.records.size();
    run.missed += std::max<qint64>(0, taken.missed);
    device.ExpectRecordsFrom(cursor.ReadFirst());
    if (!taken.records.isEmpty())
        device.GetCurrentBand();
}

bool WaitOnline(CMetaDevice& device)
{
    for (int i = 0; i < 400; ++i) {
        if (device.IsOnline())
            return true;
        QThread::msleep(25);
    }
    return false;
}

void Measure(const QString& relayAddress, int seconds, bool perCall)
{
    CMetaDevice device(relayAddress);
    if (!device.Initialize() || !device.SelectServerDevice(QStringLiteral("RZ450"))) {
        std::printf("no server through the relay\n");
        return;
    }
    device.FollowLive(!perCall);
    if (!WaitOnline(device)) {
        std::printf("the detector did not come online\n");
        return;
    }
    CRecordCursor cursor;
    RUN run;
    QElapsedTimer clock;
    clock.start();
    qint64 nextMs = 0;
    while (clock.elapsed() < seconds * 1000) {
        QElapsedTimer tick;
        tick.start();
        Tick(device, cursor, run);
        run.tickMs.push_back(double(tick.nsecsElapsed()) / 1e6);
        nextMs += POLL_MS;
        const qint64 rest = nextMs - clock.elapsed();
        if (rest > 0)
            QThread::msleep(quint64(rest));
        else
            nextMs = clock.elapsed(); // late: the window's timer does not catch up either
    }
    const qint64 produced = (run.lastCount - run.firstCount + RZ450Layout::RECORD_RING) % RZ450Layout::RECORD_RING;
    std::printf("%s: %zu ticks in %d s; records kept %lld of %lld produced = %.2f%% (goal >= 99%%), %lld known lost\n",
        perCall ? "one exchange per question" : "combined state", run.tickMs.size(), seconds,
        static_cast<long long>(run.taken), static_cast<long long>(produced),
        produced > 0 ? 100.0 * double(run.taken) / double(produced) : 100.0, static_cast<long long>(run.missed));
    std::printf("  tick: median %.2f ms, 90%% %.2f ms, max %.2f ms (goal: median <= 10 ms)\n",
        CBenchStats::Median(run.tickMs), CBenchStats::Percentile(run.tickMs, 0.9),
        *std::max_element(run.tickMs.begin(), run.tickMs.end()));
    device.Uninitialize();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const bool perCall = args.contains(QStringLiteral("--per-call"));
    int seconds = DEFAULT_SECONDS;
    for (const QString& arg : args) {
        if (arg.toInt() > 0)
            seconds = arg.toInt();
    }
    CSimulatorProcess simulator({ QStringLiteral("--paced") });
    if (!simulator.Ready()) {
        std::printf("the simulator did not start\n");
        return 1;
    }
    const QString serverAddress = CLoopbackDeviceServer::RandomAddress();
    const QString relayAddress = CLoopbackDeviceServer::RandomAddress();
    QProcess server;
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/OndrixServer"),
        { QStringLiteral("--listen"), serverAddress });
    CLatencyRelay relay(relayAddress, serverAddress, DELAY_US);
    if (!relay.Start()) {
        std::printf("the relay could not listen on %s\n", qPrintable(relayAddress));
        return 1;
    }
    // The server is up once it answers directly.
    CMetaDevice direct(serverAddress);
    bool up = false;
    for (int i = 0; i < 100 && !up; ++i) {
        up = direct.Initialize();
        if (!up)
            QThread::msleep(50);
    }
    if (!up) {
        std::printf("the server did not start\n");
        return 1;
    }
    direct.Uninitialize();
    std::printf("== the main window's tick over a link of %.1f ms each way, %d s\n", DELAY_US / 1000.0, seconds);
    Measure(relayAddress, seconds, perCall);
    relay.Stop();
    server.terminate();
    server.waitForFinished(5000);
    return 0;
}
