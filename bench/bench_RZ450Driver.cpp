// Usage: bench_RZ450Driver [seconds per run] [paced|unpaced|records|log]
// Driver benchmarks against the simulated detector in a separate process, so
// that this process's CPU time is the driver's own:
//  - exchanges per second over a pty paced at 921600 baud (goal >= 95% of ~305/s)
//  - CPU time per exchange with the simulator unpaced (goal <= 20 us)
//  - GetRealtimeRecords on a full ring (goal <= 150 ms), GetRecord (goal <= 1 us)
//  - a paced 1000-block log download (goal: within 10% of its 2.9 s on the
//    wire) and GetLogRecords on its 8000 events (goal <= 5 ms)
#include "CBenchStats.h"
#include "CProcessUsage.h"
#include "CRZ450Device.h"
#include "CSimulatorProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool WaitOnline(CRZ450Device& device)
{
    for (int i = 0; i < 100 && !device.IsOnline(); ++i)
        QThread::msleep(50);
    return device.IsOnline();
}

// Exchanges in manual mode: one record each, so the record count is the
// exchange count (until the ring wraps, far beyond these runs).
void MeasureExchanges(const QStringList& simOptions, double seconds, double& rate, double& cpuPerExchangeUs)
{
    CSimulatorProcess sim(simOptions);
    CRZ450Device device(QStringLiteral("no-such-d2xx-library"));
    device.Initialize();
    if (!sim.Ready() || !WaitOnline(device)) {
        std::printf("simulator not reachable\n");
        return;
    }
    QThread::msleep(300);
    const int before = device.GetCurrentRecordIndex();
    const double cpuBefore = CProcessUsage::CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    QThread::msleep(static_cast<unsigned long>(seconds * 1000));
    const int exchanges = device.GetCurrentRecordIndex() - before;
    const double elapsed = timer.nsecsElapsed() / 1e9;
    const double cpu = CProcessUsage::CpuSeconds() - cpuBefore;
    device.Uninitialize();
    rate = exchanges / elapsed;
    cpuPerExchangeUs = exchanges > 0 ? cpu / exchanges * 1e6 : 0;
}

void MeasureRecordReads()
{
    // Automatic mode: a record per alarmed band and exchange fills the ring
    // quickly with realistic slots.
    CSimulatorProcess sim({ QStringLiteral("--mode"), QStringLiteral("auto") });
    CRZ450Device device(QStringLiteral("no-such-d2xx-library"));
    device.Initialize();
    if (!sim.Ready() || !WaitOnline(device)) {
        std::printf("simulator not reachable\n");
        return;
    }
    QElapsedTimer fill;
    fill.start();
    int last = 0;
    // Stop just before the ring wraps.
    while (fill.elapsed() < 120000) {
        const int count = device.GetCurrentRecordIndex();
        if (count < last || count > 299000)
            break;
        last = count;
        QThread::msleep(5);
    }
    device.Uninitialize();
    const int count = device.GetCurrentRecordIndex();

    std::vector<double> times;
    qsizetype size = 0;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        size = device.GetRealtimeRecords().size();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("GetRealtimeRecords      %lld records   median %.1f ms   (goal <= 150 ms)\n",
        static_cast<long long>(size), CBenchStats::Median(times));

    std::vector<double> perCall;
    volatile int sink = 0;
    for (int run = 0; run < 5; ++run) {
        const int calls = 1000000;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < calls; ++i)
            sink = sink + device.GetRecord(1 + i % (count - 1)).band;
        perCall.push_back(timer.nsecsElapsed() / double(calls) / 1000.0);
    }
    std::printf("GetRecord               one slot         median %.3f us   (goal <= 1 us)\n",
        CBenchStats::Median(perCall));
}

// A full 1000-block download on the paced line (about 2.9 s of bytes),
// then the parse of the 8000 events it brought.
void MeasureLog()
{
    CSimulatorProcess sim({ QStringLiteral("--paced") });
    CRZ450Device device(QStringLiteral("no-such-d2xx-library"));
    device.Initialize();
    if (!sim.Ready() || !WaitOnline(device)) {
        std::printf("simulator not reachable\n");
        return;
    }
    sim.Command("log 1000 4");
    QThread::msleep(300);
    std::vector<double> downloads;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        device.SetRequest(IDevice::ReadLog);
        while (device.GetLogLoadProgress() < 100 && timer.elapsed() < 60000)
            QThread::usleep(500);
        downloads.push_back(timer.nsecsElapsed() / 1e9);
        if (device.GetLogLoadProgress() != 100)
            std::printf("download failed\n");
    }
    const double wire = 1000.0 * 268 * 10 / 921600;
    std::printf("log download 1000 blocks median %.3f s = %.1f%% over the %.3f s on the wire   (goal <= 10%%)\n",
        CBenchStats::Median(downloads), (CBenchStats::Median(downloads) / wire - 1) * 100, wire);
    device.Uninitialize();

    std::vector<double> parses;
    int events = 0;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QList<CLogRecord> banks = device.GetLogRecords();
        parses.push_back(timer.nsecsElapsed() / 1e6);
        events = 0;
        for (const CLogRecord& bank : banks)
            events += int(bank.records.size());
    }
    std::printf("GetLogRecords           %d events  median %.2f ms   (goal <= 5 ms)\n", events,
        CBenchStats::Median(parses));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? QString::fromLatin1(argv[1]).toDouble() : 5.0;
    const QString only = argc > 2 ? QString::fromLatin1(argv[2]) : QString();
    auto wanted = [&only](const char* part) { return only.isEmpty() || only == QLatin1String(part); };

    double rate = 0, cpu = 0;
    if (wanted("paced")) {
        std::vector<double> rates;
        for (int run = 0; run < 3; ++run) {
            MeasureExchanges({ QStringLiteral("--paced") }, seconds, rate, cpu);
            rates.push_back(rate);
        }
        const double lineLimit = 921600.0 / 10 / 302;
        std::printf("paced exchange rate     median %.1f /s = %.1f%% of the line's %.1f /s   (goal >= 95%%)\n",
            CBenchStats::Median(rates), CBenchStats::Median(rates) / lineLimit * 100, lineLimit);
    }
    if (wanted("unpaced")) {
        std::vector<double> cpus;
        for (int run = 0; run < 3; ++run) {
            MeasureExchanges({}, seconds, rate, cpu);
            cpus.push_back(cpu);
            std::printf("unpaced run %d           %.0f exchanges/s, %.2f us CPU per exchange\n", run + 1, rate, cpu);
        }
        std::printf("driver CPU per exchange median %.2f us   (goal <= 20 us)\n", CBenchStats::Median(cpus));
    }
    if (wanted("records"))
        MeasureRecordReads();
    if (wanted("log"))
        MeasureLog();
    return 0;
}
