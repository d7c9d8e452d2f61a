// The server on loopback while peers try to hold it up:
//  - another client's "IsOnline" round trip (goal: median <= 20 ms,
//    maximum <= 250 ms) and how far the process grows (goal: within 256 MB)
//    while one address opens connections that pipeline every large request
//    and read nothing, anew every second; while one address opens 1000
//    connections; while 10000 garbage requests come, each on a connection
//    of its own. The server runs in a thread of this process, its detector a
//    full ring of live records that keeps growing.
//  - 16 clients following the detector as the client does (records and
//    state in one write every 25 ms) through the server program: its CPU
//    above its idle driver (goal: <= 10% of one core), on the plain port and
//    over TLS
//  - over TLS: one "IsOnline" round trip after the handshake (goal: at most
//    twice the plain one), and the connection itself (handshake, greeting
//    and access key)
//
// build/bin/bench_ServerFlood [seconds per phase]
#include "CBenchStats.h"
#include "CFakeDeviceBase.h"
#include "CLoopbackDeviceServer.h"
#include "CMetaDevice.h"
#include "CProcessUsage.h"
#include "CRecordCursor.h"
#include "CServerThread.h"
#include "CSimulatorProcess.h"
#include "ServerLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QSemaphore>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int RING_RECORDS = 300000;
const int LOG_BANKS = 16;
const int LOG_BANK_RECORDS = 4000;
const int RECORD_EVERY_MS = 20;
const int PROBE_EVERY_MS = 5;
const int FLOOD_CONNECTIONS = 16;
const int FLOOD_REPEATS = 5;
const int MANY_CONNECTIONS = 1000;
const int GARBAGE_REQUESTS = 10000;
const int GARBAGE_BATCH = 50;
const int CLIENTS = 16;
const int POLL_MS = 25;
const int CONNECTS = 20;
const int ROUND_TRIPS = 2000;
const char* const FLOOD_REQUESTS = "GetRealtimeRecordsGetLogRecordsGetRecords:0:1000GetMenuData";

// What a client needs for the encrypted port; empty for the plain one.
struct IDENTITY
{
    QString fingerprint;
    QString key;
};

CRecord Record(int i)
{
    CRecord record;
    record.band = i % 31;
    record.time = 1700000000u + quint64(i);
    record.duration = i % 3;
    record.bandName = QStringLiteral("GSM 900/");
    record.values.append({ -102.0 + i % 90, -60.0, 0, 0 });
    return record;
}

// A full ring whose count keeps growing, so that the ring's answer goes
// stale as fast as a busy detector makes it.
class CGrowingRing : public CFakeDeviceBase
{
public:
    CGrowingRing() { m_clock.start(); }
    int GetCurrentRecordIndex() override { return RING_RECORDS + int(m_clock.elapsed() / RECORD_EVERY_MS); }
    CRecord GetRecord(int index) override { return Record(index); }
    QList<CRecord> GetRealtimeRecords() override
    {
        QList<CRecord> records;
        records.reserve(RING_RECORDS);
        for (int i = 0; i < RING_RECORDS; ++i)
            records.append(Record(i));
        return records;
    }
    QList<CLogRecord> GetLogRecords() override
    {
        QList<CLogRecord> banks;
        for (int bank = 0; bank < LOG_BANKS; ++bank) {
            CLogRecord log;
            log.name = QStringLiteral("Bank %1").arg(bank);
            for (int i = 0; i < LOG_BANK_RECORDS; ++i)
                log.records.append(Record(i));
            banks.append(log);
        }
        return banks;
    }
    int GetLogLoadProgress() override { return 100; }

private:
    QElapsedTimer m_clock;
};

bool ReadAnswer(QTcpSocket& socket, QByteArray& received)
{
    while (!received.endsWith("</D>")) {
        if (!socket.waitForReadyRead(5000))
            return false;
        received += socket.readAll();
    }
    return true;
}

// A client asking "IsOnline" all along, from its own thread, and the
// process's memory at each answer.
class CProbe : public QThread
{
public:
    explicit CProbe(const QString& address)
        : m_strAddress(address)
    {
    }
    std::atomic<bool> stop { false };

    // The round trips since the last call, in ms, and the largest resident
    // size meanwhile.
    std::vector<double> Take(double& peakMb)
    {
        const QMutexLocker lock(&m_mutex);
        peakMb = m_peakMb;
        m_peakMb = 0.0;
        std::vector<double> taken;
        taken.swap(m_roundTrips);
        return taken;
    }

protected:
    void run() override
    {
        QTcpSocket socket;
        socket.connectToHost(m_strAddress, CMetaDevice::SERVER_PORT);
        QByteArray received;
        if (!socket.waitForConnected(5000) || !socket.waitForReadyRead(5000))
            return;
        socket.readAll();
        while (!stop) {
            QElapsedTimer timer;
            timer.start();
            socket.write("IsOnline");
            received.clear();
            if (!ReadAnswer(socket, received))
                std::printf("the probe got no answer\n");
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            const double rss = CProcessUsage::ResidentMb();
            {
                const QMutexLocker lock(&m_mutex);
                m_roundTrips.push_back(ms);
                m_peakMb = std::max(m_peakMb, rss);
            }
            QThread::msleep(PROBE_EVERY_MS);
        }
    }

private:
    QString m_strAddress;
    QMutex m_mutex;
    std::vector<double> m_roundTrips;
    double m_peakMb = 0.0;
};

using SOCKETS = std::vector<std::unique_ptr<QTcpSocket>>;

std::unique_ptr<QTcpSocket> Open(const QString& from, const QString& address)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->bind(QHostAddress(from));
    socket->setReadBufferSize(1);
    socket->connectToHost(address, CMetaDevice::SERVER_PORT);
    socket->waitForConnected(2000);
    return socket;
}

// Connections that ask for every large answer, several times over, and
// read none; new ones every second.
void Flood(const QString& address, int seconds)
{
    QByteArray requests;
    for (int i = 0; i < FLOOD_REPEATS; ++i)
        requests += FLOOD_REQUESTS;
    for (int second = 0; second < seconds; ++second) {
        SOCKETS flood;
        for (int i = 0; i < FLOOD_CONNECTIONS; ++i) {
            flood.push_back(Open(QStringLiteral("127.0.0.2"), address));
            flood.back()->write(requests);
            flood.back()->waitForBytesWritten(100);
        }
        QThread::msleep(1000);
    }
}

void Many(const QString& address, int seconds)
{
    SOCKETS many;
    for (int i = 0; i < MANY_CONNECTIONS; ++i)
        many.push_back(Open(QStringLiteral("127.0.0.3"), address));
    QThread::sleep(seconds);
}

void Garbage(const QString& address, int)
{
    for (int sent = 0; sent < GARBAGE_REQUESTS; sent += GARBAGE_BATCH) {
        SOCKETS batch;
        for (int i = 0; i < GARBAGE_BATCH; ++i) {
            batch.push_back(Open(QStringLiteral("127.0.0.4"), address));
            batch.back()->write("POST / HTTP/1.1\r\nHost: 127.0.0.1:7777\r\n\r\nKeyPressed:5SetRequest:4");
            batch.back()->waitForBytesWritten(100);
        }
    }
}

void Report(const char* what, CProbe& probe, double restMb)
{
    double peakMb = 0.0;
    const std::vector<double> trips = probe.Take(peakMb);
    if (trips.empty()) {
        std::printf("%s: no round trip measured\n", what);
        return;
    }
    std::printf("%s: IsOnline median %.2f ms, max %.1f ms (goal: <= 20 ms, <= 250 ms), %zu round trips; "
                "process %.0f MB at most, %.0f MB above rest (goal: <= 256 MB)\n",
        what, CBenchStats::Median(trips), *std::max_element(trips.begin(), trips.end()), trips.size(), peakMb,
        peakMb - restMb);
}

void Floods(int seconds)
{
    CGrowingRing ring;
    const QString address = CLoopbackDeviceServer::RandomAddress();
    CServerThread server(address, &ring);
    if (!server.Started()) {
        std::printf("the server did not start\n");
        return;
    }
    CProbe probe(address);
    probe.start();
    QThread::sleep(2);
    Report("no flood", probe, 0.0);
    double restMb = CProcessUsage::ResidentMb();
    using PHASE = void (*)(const QString&, int);
    const std::pair<const char*, PHASE> phases[] = {
        { "large requests pipelined, never read, 16 connections a second from one address", &Flood },
        { "1000 connections from one address", &Many },
        { "10000 garbage requests, a connection each", &Garbage },
    };
    for (const auto& [what, phase] : phases) {
        probe.Take(restMb);
        restMb = CProcessUsage::ResidentMb();
        phase(address, seconds);
        Report(what, probe, restMb);
    }
    probe.stop = true;
    probe.wait();
}

// One client's main loop through the proxy, as the live feed makes it.
class CFollowingClient : public QThread
{
public:
    CFollowingClient(const QString& address, const IDENTITY& identity, int seconds)
        : m_strAddress(address)
        , m_identity(identity)
        , m_nSeconds(seconds)
    {
    }
    qint64 records = 0;

protected:
    void run() override
    {
        CMetaDevice device(m_strAddress);
        device.SetCredentials(m_identity.fingerprint, m_identity.key);
        if (!device.Initialize())
            return;
        device.FollowLive();
        CRecordCursor cursor;
        cursor.StartAt(device.GetCurrentRecordIndex());
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < m_nSeconds * 1000) {
            device.ExpectRecordsFrom(cursor.ReadFirst());
            if (device.IsOnline() && device.GetCurrentMode() > 0)
                records += cursor.Take(&device, device.GetCurrentRecordIndex(), int(ServerProtocol::RECORD_BATCH)).records.size();
            QThread::msleep(POLL_MS);
        }
        device.Uninitialize();
    }

private:
    QString m_strAddress;
    IDENTITY m_identity;
    int m_nSeconds;
};

// Connections made and "IsOnline" asked, each timed, in ms.
void RoundTrips(const QString& url, const IDENTITY& identity, std::vector<double>& connects, std::vector<double>& trips)
{
    for (int i = 0; i < CONNECTS; ++i) {
        CMetaDevice device(url);
        device.SetCredentials(identity.fingerprint, identity.key);
        QElapsedTimer timer;
        timer.start();
        if (!device.Initialize())
            return;
        connects.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (i > 0)
            continue;
        for (int j = 0; j < ROUND_TRIPS; ++j) {
            timer.restart();
            device.IsOnline();
            trips.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
}

void CompareRoundTrips(const QString& address, const IDENTITY& identity)
{
    std::vector<double> plainConnects, plainTrips, tlsConnects, tlsTrips;
    RoundTrips(address, IDENTITY(), plainConnects, plainTrips);
    RoundTrips(QStringLiteral("ondrixs://") + address, identity, tlsConnects, tlsTrips);
    std::printf("IsOnline round trip: plain %.3f ms, TLS %.3f ms, %.2fx (goal: <= 2x); connecting: plain %.2f ms, "
                "TLS %.2f ms (handshake, greeting and key)\n",
        CBenchStats::Median(plainTrips), CBenchStats::Median(tlsTrips), CBenchStats::Median(tlsTrips) / std::max(1e-9, CBenchStats::Median(plainTrips)),
        CBenchStats::Median(plainConnects), CBenchStats::Median(tlsConnects));
}

QString ServerOutput(const QStringList& arguments)
{
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/OndrixServer"), arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

void Following(int seconds, bool tls)
{
    CSimulatorProcess simulator({ QStringLiteral("--paced") });
    if (!simulator.Ready()) {
        std::printf("the simulator did not start\n");
        return;
    }
    const QString address = CLoopbackDeviceServer::RandomAddress();
    QProcess server;
    server.setStandardErrorFile(QProcess::nullDevice());
    QTemporaryDir state;
    const QStringList stateDir { QStringLiteral("--state-dir"), state.path() };
    // All clients come from 127.0.0.1.
    QStringList arguments { QStringLiteral("--listen"), address, QStringLiteral("--max-per-address"), QString::number(CLIENTS) };
    IDENTITY identity;
    QString url = address;
    if (tls) {
        arguments += QStringList { QStringLiteral("--tls-listen"), address } + stateDir;
        identity.fingerprint = ServerOutput(stateDir + QStringList { QStringLiteral("--fingerprint") });
        identity.key = ServerOutput(stateDir + QStringList { QStringLiteral("--show-keys") }).section(QLatin1Char('\n'), 0, 0).section(QLatin1Char(' '), 1);
        url = QStringLiteral("ondrixs://") + address;
    }
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/OndrixServer"), arguments);
    CMetaDevice device(url);
    device.SetCredentials(identity.fingerprint, identity.key);
    for (int i = 0; i < 100 && !device.Initialize(); ++i)
        QThread::msleep(50);
    for (int i = 0; i < 200 && !device.IsOnline(); ++i)
        QThread::msleep(25);
    device.Uninitialize();
    if (tls)
        CompareRoundTrips(address, identity);
    const double idleBefore = CProcessUsage::CpuSecondsOf(server.processId());
    QThread::sleep(5);
    const double idle = (CProcessUsage::CpuSecondsOf(server.processId()) - idleBefore) / 5.0;
    std::vector<std::unique_ptr<CFollowingClient>> clients;
    for (int i = 0; i < CLIENTS; ++i)
        clients.push_back(std::make_unique<CFollowingClient>(url, identity, seconds));
    const double cpuBefore = CProcessUsage::CpuSecondsOf(server.processId());
    QElapsedTimer wall;
    wall.start();
    for (auto& client : clients)
        client->start();
    qint64 records = 0;
    for (auto& client : clients) {
        client->wait();
        records += client->records;
    }
    const double cpu = (CProcessUsage::CpuSecondsOf(server.processId()) - cpuBefore) / (double(wall.elapsed()) / 1000.0);
    std::printf("%d clients following every %d ms for %d s%s: server CPU %.1f%% of one core, %.1f%% above its idle "
                "driver's %.1f%% (goal <= 10%%), %lld records fetched\n",
        CLIENTS, POLL_MS, seconds, tls ? " over TLS" : "", cpu * 100.0, (cpu - idle) * 100.0, idle * 100.0, static_cast<long long>(records));
    server.terminate();
    server.waitForFinished(15000);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    ServerLog::SetQuiet(true);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    Floods(seconds);
    Following(seconds * 2, false);
    Following(seconds * 2, true);
    return 0;
}
