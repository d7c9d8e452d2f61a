// The server on loopback while peers try to hold it up:
//  - another client's "IsOnline" round trip (goal: median <= 20 ms,
//    maximum <= 250 ms) and how far the process grows (goal: within 256 MB)
//    while one address opens connections that pipeline every large request
//    and read nothing, anew every second; while one address opens 1000
//    connections; while 10000 garbage requests come, each on a connection
//    of its own. The server runs in a thread of this process, its detector a
//    full ring of live records that keeps growing.
// bench_Server measures the clients that behave, plain and over TLS.
//
// build/bin/bench_ServerFlood [seconds per phase]
#include "CBenchRecords.h"
#include "CBenchStats.h"
#include "CFakeDeviceBase.h"
#include "CLoopbackDeviceServer.h"
#include "CProcessUsage.h"
#include "CServerThread.h"
#include "app/ServerLog.h"
#include "proxy/CMetaDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMutex>
#include <QSemaphore>
#include <QTcpSocket>
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
const char* const FLOOD_REQUESTS = "GetRealtimeRecordsGetLogRecordsGetRecords:0:1000GetMenuData";

// A full ring whose count keeps growing, so that the ring's answer goes
// stale as fast as a busy detector makes it.
class CGrowingRing : public CFakeDeviceBase
{
public:
    CGrowingRing() { m_clock.start(); }
    int GetCurrentRecordIndex() override { return RING_RECORDS + int(m_clock.elapsed() / RECORD_EVERY_MS); }
    CRecord GetRecord(int index) override { return CBenchRecords::Ring(index); }
    QList<CRecord> GetRealtimeRecords() override
    {
        QList<CRecord> records;
        records.reserve(RING_RECORDS);
        for (int i = 0; i < RING_RECORDS; ++i)
            records.append(CBenchRecords::Ring(i));
        return records;
    }
    QList<CLogRecord> GetLogRecords() override
    {
        QList<CLogRecord> banks;
        for (int bank = 0; bank < LOG_BANKS; ++bank) {
            CLogRecord log;
            log.name = QStringLiteral("Bank %1").arg(bank);
            for (int i = 0; i < LOG_BANK_RECORDS; ++i)
                log.records.append(CBenchRecords::Ring(i));
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    ServerLog::SetQuiet(true);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    Floods(seconds);
    return 0;
}
