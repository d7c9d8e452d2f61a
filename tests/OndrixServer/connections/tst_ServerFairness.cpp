// The server in a thread of its own, its peers on addresses of their own
// (127.0.0.2, 127.0.0.3, ...): whom the lists let in and let control, a
// request smuggled in by a web page, and peers that try to hold the others
// up, measured by another client's round trips.
#include "CFakeDeviceBase.h"
#include "CServerThread.h"
#include "app/CServerOptions.h"
#include "app/ServerLog.h"
#include "protocol/CAnswerWriter.h"
#include "protocol/ServerProtocol.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

namespace {

const int RING = 300000;

class CBusyDevice : public CFakeDeviceBase
{
public:
    std::atomic<int> changes { 0 };
    int GetCurrentRecordIndex() override { return RING; }
    CRecord GetRecord(int index) override
    {
        CRecord record;
        record.band = index % 31;
        record.time = 1700000000u + quint64(index);
        record.values.append({ -80.0, -60.0, 0, 0 });
        return record;
    }
    QList<CRecord> GetRealtimeRecords() override
    {
        QList<CRecord> records;
        for (int i = 0; i < RING; ++i)
            records.append(GetRecord(i));
        return records;
    }
    void Clear() override { ++changes; }
};

QString RandomAddress()
{
    QRandomGenerator* random = QRandomGenerator::global();
    return QStringLiteral("127.%1.%2.%3")
        .arg(random->bounded(1, 255))
        .arg(random->bounded(0, 256))
        .arg(random->bounded(1, 255));
}

std::unique_ptr<QTcpSocket> Open(const QString& from, const QString& server)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->bind(QHostAddress(from));
    socket->connectToHost(server, ServerProtocol::PORT);
    socket->waitForConnected(2000);
    return socket;
}

// Until the answer's end, the connection's end or the wait's.
QByteArray Read(QTcpSocket& socket, const QByteArray& until, int ms = 3000)
{
    QByteArray received;
    QDeadlineTimer deadline(ms);
    while (!received.endsWith(until) && !deadline.hasExpired() && socket.state() == QAbstractSocket::ConnectedState) {
        socket.waitForReadyRead(20);
        received += socket.readAll();
    }
    return received + socket.readAll();
}

} // namespace

class tst_ServerFairness : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ServerLog::SetQuiet(true); }
    void listsGovernEveryPeer_data();
    void listsGovernEveryPeer();
    void requestsInAWebPageAreNeverCarriedOut();
    void floodingPeersLeaveOthersServed();
};

void tst_ServerFairness::listsGovernEveryPeer_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("admitted");
    QTest::addColumn<bool>("controls");
    const QString two = QStringLiteral("127.0.0.2");
    const QString three = QStringLiteral("127.0.0.3");
    QTest::newRow("no lists: this computer controls") << QStringList() << two << true << true;
    QTest::newRow("allowed by name") << QStringList { "--allow", "127.0.0.2/32" } << two << true << true;
    QTest::newRow("loopback not named is closed")
        << QStringList { "--allow", "127.0.0.2/32" } << three << false << false;
    QTest::newRow("control named") << QStringList { "--control", "127.0.0.2" } << two << true << true;
    QTest::newRow("control not named watches") << QStringList { "--control", "127.0.0.2" } << three << true << false;
    QTest::newRow("control none") << QStringList { "--control", "none" } << two << true << false;
}

void tst_ServerFairness::listsGovernEveryPeer()
{
    QFETCH(QStringList, options);
    QFETCH(QString, from);
    QFETCH(bool, admitted);
    QFETCH(bool, controls);
    const QString address = RandomAddress();
    SERVER_SETTINGS settings;
    QString message;
    int exitCode = 0;
    QVERIFY2(CServerOptions::Parse(QStringList { "OndrixServer", "--listen", address } + options, settings, message,
                 exitCode),
        qPrintable(message));
    CBusyDevice device;
    CServerThread server(settings, &device);
    QVERIFY(server.Started());
    auto peer = Open(from, address);
    QCOMPARE(Read(*peer, ServerProtocol::GREETING) == ServerProtocol::GREETING, admitted);
    if (!admitted)
        return;
    peer->write("Clear");
    QCOMPARE(Read(*peer, ServerProtocol::FRAME_END), controls ? QByteArray("<D>1</D>") : QByteArray("<D>0</D>"));
    QCOMPARE(device.changes.load(), controls ? 1 : 0);
}

// A page that posts to the port puts what it likes in the body; the first
// line nobody knows ends the connection before the body is looked at.
void tst_ServerFairness::requestsInAWebPageAreNeverCarriedOut()
{
    const QString address = RandomAddress();
    CBusyDevice device;
    CServerThread server(address, &device);
    QVERIFY(server.Started());
    auto browser = Open(QStringLiteral("127.0.0.1"), address);
    QCOMPARE(Read(*browser, ServerProtocol::GREETING), QByteArray(ServerProtocol::GREETING));
    browser->write("POST / HTTP/1.1\r\nHost: 127.0.0.1:7777\r\nContent-Type: text/plain\r\nContent-Length: 17\r\n\r\n");
    browser->waitForBytesWritten(1000);
    QTest::qWait(50);
    browser->write("ClearSetRequest:4");
    QCOMPARE(Read(*browser, ServerProtocol::FRAME_END), CAnswerWriter::Empty());
    QVERIFY(browser->state() != QAbstractSocket::ConnectedState || !browser->waitForReadyRead(500));
    QCOMPARE(device.changes.load(), 0);
}

// One address floods with every large request and reads nothing, then
// holds as many connections as it can: another client's round trips stay
// short, and the flood gets no more than its share of connections.
void tst_ServerFairness::floodingPeersLeaveOthersServed()
{
    const QString address = RandomAddress();
    CBusyDevice device;
    CServerThread server(address, &device);
    QVERIFY(server.Started());
    std::vector<std::unique_ptr<QTcpSocket>> flood;
    for (int i = 0; i < 64; ++i) {
        flood.push_back(Open(QStringLiteral("127.0.0.2"), address));
        flood.back()->setReadBufferSize(1);
        flood.back()->write(QByteArray("GetRealtimeRecordsGetLogRecordsGetRecords:0:1000").repeated(5));
    }
    auto other = Open(QStringLiteral("127.0.0.3"), address);
    QCOMPARE(Read(*other, ServerProtocol::GREETING), QByteArray(ServerProtocol::GREETING));
    std::vector<qint64> trips;
    for (int i = 0; i < 100; ++i) {
        QElapsedTimer timer;
        timer.start();
        other->write("IsOnline");
        QCOMPARE(Read(*other, ServerProtocol::FRAME_END), QByteArray("<D>1</D>"));
        trips.push_back(timer.elapsed());
        QCoreApplication::processEvents();
    }
    std::sort(trips.begin(), trips.end());
    // Far above the goal, which the benchmark measures: this catches a
    // server that waits for a slow peer, not a slow machine.
    QVERIFY2(trips[trips.size() / 2] < 50 && trips.back() < 1000, qPrintable(QString::number(trips.back())));
    QTest::qWait(200);
    const auto open = std::count_if(flood.begin(), flood.end(),
        [](const std::unique_ptr<QTcpSocket>& socket) { return socket->state() == QAbstractSocket::ConnectedState; });
    QVERIFY2(open <= SERVER_SETTINGS().maxPerAddress, qPrintable(QString::number(open)));
}

QTEST_MAIN(tst_ServerFairness)
#include "tst_ServerFairness.moc"
