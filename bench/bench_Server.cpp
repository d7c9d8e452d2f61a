// The server on loopback, on its plain port and over TLS:
//  - one query's round trip through the real server program and driver
//    (goal: median <= 150 us plain; over TLS at most twice the plain one),
//    and the connection itself (over TLS: handshake, greeting and key)
//  - 16 clients following the detector as the client does (records and
//    state in one write every 25 ms): the server's CPU above its idle
//    driver (goal: <= 10% of one core) and each client's tick (goal: within
//    2x a single client's)
//  - "GetRealtimeRecords" of 300000 records through the server (goal <= 1 s)
//
// build/bin/bench_Server [poll seconds]
#include "CBenchRecords.h"
#include "CBenchStats.h"
#include "CFakeDeviceBase.h"
#include "CLoopbackDeviceServer.h"
#include "CProcessUsage.h"
#include "CServerThread.h"
#include "CSimulatorProcess.h"
#include "app/ServerLog.h"
#include "protocol/ServerProtocol.h"
#include "proxy/CMetaDevice.h"
#include "proxy/CRecordCursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int ROUND_TRIPS = 5000;
const int CONNECTS = 20;
const int CLIENTS = 16;
const int POLL_MS = 25;
const int SINGLE_SECONDS = 3;
const int RING_RECORDS = 300000;
const int LIST_RUNS = 5;

// Where a client reaches the server, and what the encrypted port asks of it.
struct LINK
{
    QString url;
    QString fingerprint;
    QString key;
};

bool Connect(CMetaDevice& device, const LINK& link)
{
    device.SetCredentials(link.fingerprint, link.key);
    return device.Initialize();
}

double MicrosecondsOf(CMetaDevice& device)
{
    QElapsedTimer timer;
    timer.start();
    device.IsOnline();
    return double(timer.nsecsElapsed()) / 1000.0;
}

// One client's main loop as the live feed makes it; each tick is timed.
class CFollowingClient : public QThread
{
public:
    CFollowingClient(const LINK& link, int seconds)
        : m_link(link)
        , m_nSeconds(seconds)
    {
    }
    std::vector<double> ticks;
    qint64 records = 0;

protected:
    void run() override
    {
        CMetaDevice device(m_link.url);
        if (!Connect(device, m_link))
            return;
        device.FollowLive();
        CRecordCursor cursor;
        cursor.StartAt(device.GetCurrentRecordIndex());
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < m_nSeconds * 1000) {
            QElapsedTimer tick;
            tick.start();
            device.ExpectRecordsFrom(cursor.ReadFirst());
            if (device.IsOnline() && device.GetCurrentMode() > 0)
                records += cursor.Take(&device, device.GetCurrentRecordIndex(), int(ServerProtocol::RECORD_BATCH))
                               .records.size();
            ticks.push_back(double(tick.nsecsElapsed()) / 1000.0);
            QThread::msleep(POLL_MS);
        }
        device.Uninitialize();
    }

private:
    LINK m_link;
    int m_nSeconds;
};

QString ServerOutput(const QStringList& arguments)
{
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/OndrixServer"), arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The arguments that open the encrypted port too, and the link to it.
QStringList Encrypted(const QString& address, const QString& state, LINK& link)
{
    const QStringList stateDir { QStringLiteral("--state-dir"), state };
    link.fingerprint = ServerOutput(stateDir + QStringList { QStringLiteral("--fingerprint") });
    link.key = ServerOutput(stateDir + QStringList { QStringLiteral("--show-keys") })
                   .section(QLatin1Char('\n'), 0, 0)
                   .section(QLatin1Char(' '), 1);
    link.url = QStringLiteral("ondrixs://") + address;
    return QStringList { QStringLiteral("--tls-listen"), address } + stateDir;
}

// Connections made, each timed, in ms.
double ConnectMs(const LINK& link)
{
    std::vector<double> connects;
    for (int i = 0; i < CONNECTS; ++i) {
        CMetaDevice device(link.url);
        QElapsedTimer timer;
        timer.start();
        if (Connect(device, link))
            connects.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return CBenchStats::Median(connects);
}

double TickMedian(const LINK& link, int clients, int seconds, double& worst, qint64& records)
{
    std::vector<std::unique_ptr<CFollowingClient>> following;
    for (int i = 0; i < clients; ++i)
        following.push_back(std::make_unique<CFollowingClient>(link, seconds));
    for (auto& client : following)
        client->start();
    std::vector<double> all;
    for (auto& client : following) {
        client->wait();
        worst = std::max(worst, CBenchStats::Median(client->ticks));
        records += client->records;
        all.insert(all.end(), client->ticks.begin(), client->ticks.end());
    }
    return CBenchStats::Median(all);
}

// The single client's median round trip, in us.
double RealServer(int seconds, bool tls)
{
    CSimulatorProcess simulator({ QStringLiteral("--paced") });
    if (!simulator.Ready()) {
        std::printf("the simulator did not start\n");
        return 0.0;
    }
    const QString address = CLoopbackDeviceServer::RandomAddress();
    QTemporaryDir state;
    LINK link { address, QString(), QString() };
    // All clients come from 127.0.0.1.
    QStringList arguments { QStringLiteral("--listen"), address, QStringLiteral("--max-per-address"),
        QString::number(CLIENTS) };
    if (tls)
        arguments += Encrypted(address, state.path(), link);
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/OndrixServer"), arguments);
    const char* const port = tls ? "TLS" : "plain";
    CMetaDevice device(link.url);
    for (int i = 0; i < 100 && !Connect(device, link); ++i)
        QThread::msleep(50);
    for (int i = 0; i < 200 && !device.IsOnline(); ++i)
        QThread::msleep(25);
    std::vector<double> single;
    for (int i = 0; i < ROUND_TRIPS; ++i)
        single.push_back(MicrosecondsOf(device));
    const double singleMedian = CBenchStats::Median(single);
    device.Uninitialize();
    std::printf("%s: round trip, one client: median %.1f us, 90%% %.1f us; connecting %.2f ms\n", port, singleMedian,
        CBenchStats::Percentile(single, 0.9), ConnectMs(link));

    // What the driver alone costs, polling the detector at line rate.
    const double idleBefore = CProcessUsage::CpuSecondsOf(server.processId());
    QThread::sleep(5);
    const double idle = (CProcessUsage::CpuSecondsOf(server.processId()) - idleBefore) / 5.0;
    double worst = 0.0;
    qint64 records = 0;
    const double singleTick = TickMedian(link, 1, SINGLE_SECONDS, worst, records);
    worst = 0.0;
    records = 0;
    const double cpuBefore = CProcessUsage::CpuSecondsOf(server.processId());
    QElapsedTimer wall;
    wall.start();
    TickMedian(link, CLIENTS, seconds, worst, records);
    const double cpu
        = (CProcessUsage::CpuSecondsOf(server.processId()) - cpuBefore) / (double(wall.elapsed()) / 1000.0);
    std::printf(
        "%s: %d clients following every %d ms for %d s: server CPU %.1f%% of one core, %.1f%% above its idle driver's "
        "%.1f%% (goal <= 10%%); slowest client's median tick %.1f us = %.2fx a single client's (goal <= 2x), "
        "%lld records fetched\n",
        port, CLIENTS, POLL_MS, seconds, cpu * 100.0, (cpu - idle) * 100.0, idle * 100.0, worst, worst / singleTick,
        static_cast<long long>(records));
    server.terminate();
    server.waitForFinished(15000);
    return singleMedian;
}

class CFullRing : public CFakeDeviceBase
{
public:
    QList<CRecord> GetRealtimeRecords() override
    {
        QList<CRecord> records;
        records.reserve(RING_RECORDS);
        for (int i = 0; i < RING_RECORDS; ++i)
            records.append(CBenchRecords::Ring(i));
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
    const double plain = RealServer(seconds, false);
    const double tls = RealServer(seconds, true);
    std::printf("round trip over TLS: %.2fx the plain one (goal: <= 2x)\n", tls / std::max(1e-9, plain));
    FullRing();
    return 0;
}
