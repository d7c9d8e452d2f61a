// The server on loopback:
//  - one query's round trip through the real server program and driver
//    (goal: median <= 150 us)
//  - 16 clients polling as the client's main loop does, every 25 ms: the
//    server's CPU (goal: <= 10% of one core) and each client's round trip
//    (goal: within 2x the single client's)
//  - "GetRealtimeRecords" of 300000 records through the server (goal <= 1 s)
//
// build/bin/bench_Server [poll seconds]
#include "CBenchStats.h"
#include "CFakeDeviceBase.h"
#include "CLoopbackDeviceServer.h"
#include "CMetaDevice.h"
#include "CProcessUsage.h"
#include "CServerThread.h"
#include "CSimulatorProcess.h"
#include "ServerLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSemaphore>
#include <QThread>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int ROUND_TRIPS = 5000;
const int CLIENTS = 16;
const int POLL_MS = 25;
const int RING_RECORDS = 300000;
const int LIST_RUNS = 5;

double MicrosecondsOf(CMetaDevice& device)
{
    QElapsedTimer timer;
    timer.start();
    device.IsOnline();
    return double(timer.nsecsElapsed()) / 1000.0;
}

// One client's main loop while the detector is online: its state, then
// the new records.
class CPollingClient : public QThread
{
public:
    CPollingClient(const QString& address, int seconds)
        : m_strAddress(address)
        , m_nSeconds(seconds)
    {
    }
    std::vector<double> roundTrips;
    qint64 records = 0;

protected:
    void run() override
    {
        CMetaDevice device(m_strAddress);
        if (!device.Initialize())
            return;
        int last = device.GetCurrentRecordIndex();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < m_nSeconds * 1000) {
            roundTrips.push_back(MicrosecondsOf(device));
            device.GetCurrentMode();
            const int count = device.GetCurrentRecordIndex();
            for (int first = std::max(0, last); first < count;) {
                const qsizetype fetched = device.GetRecords(first, count - first).size();
                if (fetched == 0)
                    break;
                first += int(fetched);
                records += fetched;
            }
            last = count;
            QThread::msleep(POLL_MS);
        }
        device.Uninitialize();
    }

private:
    QString m_strAddress;
    int m_nSeconds;
};

void RealServer(int seconds)
{
    CSimulatorProcess simulator({ QStringLiteral("--paced") });
    if (!simulator.Ready()) {
        std::printf("the simulator did not start\n");
        return;
    }
    const QString address = CLoopbackDeviceServer::RandomAddress();
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    server.setStandardErrorFile(QProcess::nullDevice());
    // All clients come from 127.0.0.1.
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/OndrixServer"),
        { QStringLiteral("--listen"), address, QStringLiteral("--max-per-address"), QString::number(CLIENTS) });
    CMetaDevice device(address);
    for (int i = 0; i < 100 && !device.Initialize(); ++i)
        QThread::msleep(50);
    for (int i = 0; i < 200 && !device.IsOnline(); ++i)
        QThread::msleep(25);
    std::vector<double> single;
    for (int i = 0; i < ROUND_TRIPS; ++i)
        single.push_back(MicrosecondsOf(device));
    const double singleMedian = CBenchStats::Median(single);
    std::printf("round trip, one client: median %.1f us, 90%% %.1f us (goal: median <= 150 us)\n", singleMedian,
        CBenchStats::Percentile(single, 0.9));

    // What the driver alone costs, polling the detector at line rate.
    const double idleBefore = CProcessUsage::CpuSecondsOf(server.processId());
    QThread::sleep(5);
    const double idle = (CProcessUsage::CpuSecondsOf(server.processId()) - idleBefore) / 5.0;
    std::printf("server with no client (its driver alone): %.1f%% of one core\n", idle * 100.0);

    std::vector<std::unique_ptr<CPollingClient>> clients;
    for (int i = 0; i < CLIENTS; ++i)
        clients.push_back(std::make_unique<CPollingClient>(address, seconds));
    const double cpuBefore = CProcessUsage::CpuSecondsOf(server.processId());
    QElapsedTimer wall;
    wall.start();
    for (auto& client : clients)
        client->start();
    double worst = 0.0;
    qint64 records = 0;
    for (auto& client : clients) {
        client->wait();
        worst = std::max(worst, CBenchStats::Median(client->roundTrips));
        records += client->records;
    }
    const double cpu = (CProcessUsage::CpuSecondsOf(server.processId()) - cpuBefore) / (double(wall.elapsed()) / 1000.0);
    std::printf("%d clients polling every %d ms for %d s: server CPU %.1f%% of one core (goal <= 10%%), %.1f%% above the driver's, "
                "slowest client's median round trip %.1f us = %.2fx the single client's (goal <= 2x), %lld records fetched\n",
        CLIENTS, POLL_MS, seconds, cpu * 100.0, (cpu - idle) * 100.0, worst, worst / singleMedian, static_cast<long long>(records));
    device.Uninitialize();
    server.terminate();
    server.waitForFinished(15000);
}

class CFullRing : public CFakeDeviceBase
{
public:
    QList<CRecord> GetRealtimeRecords() override
    {
        QList<CRecord> records;
        records.reserve(RING_RECORDS);
        for (int i = 0; i < RING_RECORDS; ++i) {
            CRecord record;
            record.band = i % 31;
            record.time = 1700000000u + quint64(i);
            record.duration = i % 3;
            record.bandName = QStringLiteral("GSM 900/");
            record.values.append({ -102.0 + i % 90, -60.0, 0, 0 });
            records.append(record);
        }
        return records;
    }
};

void FullRing()
{
    CFullRing ring;
    const QString address = CLoopbackDeviceServer::RandomAddress();
    CServerThread thread(address, &ring);
    const bool started = thread.Started();
    CMetaDevice device(address);
    std::vector<double> runs;
    if (started && device.Initialize()) {
        for (int run = 0; run < LIST_RUNS; ++run) {
            QElapsedTimer timer;
            timer.start();
            const qsizetype count = device.GetRealtimeRecords().size();
            runs.push_back(double(timer.elapsed()));
            if (count != RING_RECORDS)
                std::printf("got %lld records\n", static_cast<long long>(count));
        }
        device.Uninitialize();
    }
    std::printf("GetRealtimeRecords of %d records through the server: median %.0f ms (goal <= 1000 ms)\n", RING_RECORDS,
        CBenchStats::Median(runs));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    ServerLog::SetQuiet(true);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    RealServer(seconds);
    FullRing();
    return 0;
}
