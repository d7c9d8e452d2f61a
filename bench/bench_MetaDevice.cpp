// Device proxy benchmarks against a server thread on loopback that answers
// at once:
//  - round trip of one query (goal: median <= 100 us)
//  - parsing a "GetRealtimeRecords" answer of 100000 records (goal <= 200 ms)
#include "CBenchStats.h"
#include "CLoopbackDeviceServer.h"
#include "protocol/CAnswerParser.h"
#include "proxy/CMetaDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

const int ROUND_TRIPS = 5000;
const int RECORDS = 100000;
const int PARSE_RUNS = 5;

QByteArray RecordListAnswer(int count)
{
    QByteArray answer = QByteArray::number(count);
    for (int i = 0; i < count; ++i) {
        answer += ":0:" + QByteArray::number(i % 31) + ":" + QByteArray::number(i % 2) + ":"
            + QByteArray::number(1700000000 + i) + ":GSM 900/:1:" + QByteArray::number(-102 + i % 90) + ".5:-60:0:0";
    }
    return answer;
}

// Answers every request with "1", except the record list, which gets the
// full answer.
class CEchoServer : public CLoopbackDeviceServer
{
public:
    explicit CEchoServer(const QByteArray& records)
        : m_records(records)
    {
    }

protected:
    QByteArray Answer(const QByteArray& request) override
    {
        return request == "GetRealtimeRecords" ? m_records : QByteArray("1");
    }

private:
    QByteArray m_records;
};

bool BenchRoundTrip(CMetaDevice& device)
{
    for (int i = 0; i < 200; ++i)
        device.IsOnline();
    std::vector<double> micros;
    micros.reserve(ROUND_TRIPS);
    QElapsedTimer clock;
    for (int i = 0; i < ROUND_TRIPS; ++i) {
        clock.start();
        if (!device.IsOnline())
            return false;
        micros.push_back(double(clock.nsecsElapsed()) / 1000.0);
    }
    const double median = CBenchStats::Median(micros);
    std::printf("round trip of one query: median %.1f us, p99 %.1f us (goal: median <= 100 us) %s\n", median,
        CBenchStats::Percentile(micros, 0.99), median <= 100.0 ? "OK" : "MISSED");
    return true;
}

void BenchParse(const QByteArray& answer)
{
    std::vector<double> millis;
    for (int run = 0; run < PARSE_RUNS; ++run) {
        QElapsedTimer clock;
        clock.start();
        const QList<CRecord> records = CAnswerParser::ToRecordList(answer);
        millis.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (records.size() != RECORDS)
            std::printf("parse gave %lld records\n", qlonglong(records.size()));
    }
    const double median = CBenchStats::Median(millis);
    std::printf("parsing %d records (%.1f MB): median %.1f ms (goal <= 200 ms) %s\n", RECORDS,
        double(answer.size()) / 1e6, median, median <= 200.0 ? "OK" : "MISSED");
}

void BenchFetch(CMetaDevice& device)
{
    QElapsedTimer clock;
    clock.start();
    const QList<CRecord> records = device.GetRealtimeRecords();
    std::printf("GetRealtimeRecords of %lld records over loopback, transfer and parse: %.1f ms\n",
        qlonglong(records.size()), double(clock.nsecsElapsed()) / 1e6);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray answer = RecordListAnswer(RECORDS);
    CEchoServer server(answer);
    CMetaDevice device(server.Listen());
    if (!device.Initialize()) {
        std::printf("no connection to the loopback server\n");
        return 1;
    }
    const bool ok = BenchRoundTrip(device);
    BenchParse(answer);
    BenchFetch(device);
    device.Uninitialize();
    server.wait();
    return ok ? 0 : 1;
}
