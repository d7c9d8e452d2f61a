// The real proxy against the real server against the simulated detector.
#include "CPtyServer.h"
#include "CRZ450MetaDevice.h"
#include "CRZ450Simulator.h"
#include "CServerProcess.h"
#include "connect/CServerSearchThread.h"
#include "proxy/CMetaDevice.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

bool Eventually(const std::function<bool()>& condition, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}

std::unique_ptr<CMetaDevice> Connect(const QString& address)
{
    auto device = std::make_unique<CMetaDevice>(address);
    if (!device->Initialize())
        return nullptr;
    return device;
}

} // namespace

class tst_OndrixServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void everyOperationOnce();
    void clientsKeepTheirOwnSelection();
    void readOnlyPeerIsRefusedControl();
    void badPeersLeaveOthersServed();
    void detectorUnpluggedAndBack();
    void searchFindsTheServer();
    void clientProgramDrawsThroughTheServer();
    void serverRestartedUnderAClient();

private:
    QTemporaryDir m_folder;
    CRZ450Simulator m_simulator;
    std::unique_ptr<CPtyServer> m_pPty;
    std::unique_ptr<CServerProcess> m_pServer;
};

void tst_OndrixServer::initTestCase()
{
    CMetaDevice::SetTimeouts(2000, 5000);
    m_simulator.SetMode(CRZ450Simulator::MODE_MAN);
    m_simulator.FillLog(6, 3);
    m_pPty = std::make_unique<CPtyServer>(&m_simulator);
    QVERIFY(m_pPty->Start(m_folder.filePath(QStringLiteral("ttyRZ450"))));
    m_pServer = std::make_unique<CServerProcess>(m_pPty->Path());
    // A small bound on unsent answers, so that a peer that never reads is
    // dropped within the test.
    QVERIFY2(m_pServer->Start(CServerProcess::RandomAddress(),
                 { QStringLiteral("--max-pending"), QStringLiteral("100000") }),
        qPrintable(m_pServer->Log()));
}

void tst_OndrixServer::cleanupTestCase()
{
    // A clean stop releases the driver and says so.
    QCOMPARE(m_pServer->Terminate(), 0);
    QVERIFY(m_pServer->Log().contains(QStringLiteral("stopped")));
}

void tst_OndrixServer::everyOperationOnce()
{
    auto device = Connect(m_pServer->Address());
    QVERIFY(device);
    QCOMPARE(device->GetServerDevicesList(), QStringList { QStringLiteral("RZ450") });
    QVERIFY(device->SelectServerDevice(QStringLiteral("RZ450")));
    QVERIFY(!device->SelectServerDevice(QStringLiteral("nothing")));
    QVERIFY(Eventually([&] { return device->IsOnline() && device->GetCurrentRecordIndex() > 2; }));
    QVERIFY(!device->IsError());
    QVERIFY(!device->GetDevID().isEmpty());
    QCOMPARE(device->GetCurrentMode(), int(CRZ450Simulator::MODE_MAN));
    const int count = device->GetCurrentRecordIndex();
    // The list leaves out the record still open.
    QVERIFY(device->GetRealtimeRecords().size() >= count - 1);
    QCOMPARE(device->GetRecord(count - 1).band, device->GetCurrentBand());
    QCOMPARE(device->GetCurrentRecord().band, device->GetCurrentBand());
    const QList<CRecord> batch = device->GetRecords(count - 2, 2);
    QCOMPARE(batch.size(), 2);
    QCOMPARE(batch.at(1).time, device->GetRecord(count - 1).time);
    QVERIFY(device->IsRamOk() && device->IsFlashOk());
    device->IsBatteryOk();
    device->GetLogType();

    QByteArray menu = device->GetMenuData();
    QCOMPARE(menu.size(), 96);
    QCOMPARE(device->GetMenuValue(5), static_cast<unsigned char>(menu[5]));
    menu[5] = char(menu[5] ^ 1);
    QVERIFY(device->SetMenuData(menu));
    QVERIFY(Eventually([&] { return device->GetMenuValue(5) == static_cast<unsigned char>(menu[5]); }));
    device->SetMenuValue(5, static_cast<unsigned char>(menu[5] ^ 1));
    QCOMPARE(device->GetMenuValue(5), static_cast<unsigned char>(menu[5] ^ 1));
    device->SetTime(QDateTime::currentDateTime());
    QVERIFY(device->GetTime().isValid());
    device->KeyPressed(IDevice::KeyType(1));

    CRZ450MetaDevice rz450(device.get());
    rz450.GetLevelDbm(3);
    QVERIFY(!rz450.GetBandName(1).isEmpty());
    char spectrum[160];
    QVERIFY(rz450.GetSpectrumData(spectrum, 160));
    rz450.GetThreshold(4);
    rz450.IsSchedule();

    device->SetRequest(IDevice::ReadLog);
    QVERIFY(Eventually([&] { return device->GetLogLoadProgress() >= 100; }, 60000));
    QCOMPARE(device->GetLogLoadProgress(), 100);
    QVERIFY(!device->GetLogRecords().isEmpty());
    // Records keep arriving while Clear travels, so compare with a count
    // far above what one round trip can bring.
    QVERIFY(Eventually([&] { return device->GetCurrentRecordIndex() > count + 200; }));
    const int before = device->GetCurrentRecordIndex();
    device->Clear();
    QVERIFY(device->GetCurrentRecordIndex() < before - 100);
}

void tst_OndrixServer::clientsKeepTheirOwnSelection()
{
    auto first = Connect(m_pServer->Address());
    auto second = Connect(m_pServer->Address());
    QVERIFY(first && second);
    QVERIFY(first->SelectServerDevice(QStringLiteral("RZ450")));
    // The second never selects: it is served by the first device.
    QVERIFY(Eventually([&] { return second->IsOnline(); }));
    first->Uninitialize();
    QVERIFY(second->IsOnline());
    QTest::qWait(200);
    QVERIFY(second->IsOnline());
}

void tst_OndrixServer::readOnlyPeerIsRefusedControl()
{
    CServerProcess readOnly(m_pPty->Path());
    // Without control for loopback nobody here may change the detector;
    // the detector is the shared one, so only refusals are checked.
    QVERIFY2(readOnly.Start(CServerProcess::RandomAddress(), { QStringLiteral("--control"), QStringLiteral("none") }),
        qPrintable(readOnly.Log()));
    auto device = Connect(readOnly.Address());
    QVERIFY(device);
    QVERIFY(!device->SetMenuData(QByteArray(96, '\0')));
    QVERIFY(!device->Request(IDevice::ReadLog));
    device->KeyPressed(IDevice::KeyType(1));
    device->Clear();
    QVERIFY(readOnly.WaitForLog(QStringLiteral("refused (read-only): Clear")));
    QVERIFY(readOnly.Log().contains(QStringLiteral("refused (read-only): KeyPressed:1")));
    QVERIFY(readOnly.Log().contains(QStringLiteral("refused (read-only): SetMenuData")));
    QCOMPARE(readOnly.Terminate(), 0);
}

void tst_OndrixServer::badPeersLeaveOthersServed()
{
    auto device = Connect(m_pServer->Address());
    QVERIFY(device);
    // From an address of their own, so that their lines and connections
    // count apart from the client's.
    const auto send = [&](const QByteArray& bytes) {
        auto socket = std::make_unique<QTcpSocket>();
        socket->bind(QHostAddress(QStringLiteral("127.0.0.2")));
        socket->connectToHost(m_pServer->Address(), CMetaDevice::SERVER_PORT);
        if (socket->waitForConnected(2000) && !bytes.isEmpty()) {
            socket->write(bytes);
            socket->waitForBytesWritten(2000);
        }
        return socket;
    };
    // Killed mid-answer, garbage, an oversized request, half a block.
    send("GetRealtimeRecords")->abort();
    auto garbage = send(QByteArray(100000, 'x'));
    auto oversized = send("SelectServerDevice:" + QByteArray(10000, 'n'));
    auto half = send("SetMenuData:" + QByteArray(95, '\0'));
    // A peer that asks and never reads: it is sent one answer, the rest of
    // its requests wait unread, and nothing piles up for it.
    auto deaf = send(QByteArray());
    deaf->setReadBufferSize(1);
    for (int i = 0; i < 500 && deaf->state() == QAbstractSocket::ConnectedState; ++i) {
        deaf->write("GetRealtimeRecords");
        deaf->waitForBytesWritten(100);
        if (i % 100 == 0)
            QVERIFY(device->IsOnline());
    }
    QCOMPARE(deaf->state(), QAbstractSocket::ConnectedState);
    for (int i = 0; i < 1000; ++i)
        send(QByteArray())->abort();
    QByteArray refusal;
    while (!refusal.endsWith("<D>0</D>") && half->waitForReadyRead(3000))
        refusal += half->readAll();
    QCOMPARE(refusal, QByteArray("ack<D>0</D>"));
    QVERIFY(oversized->waitForDisconnected(3000) || oversized->state() == QAbstractSocket::UnconnectedState);
    QVERIFY(device->IsOnline());
    QVERIFY(device->GetCurrentRecordIndex() >= 0);
    QVERIFY(m_pServer->Log().contains(QStringLiteral("request too long")));
}

void tst_OndrixServer::detectorUnpluggedAndBack()
{
    auto first = Connect(m_pServer->Address());
    auto second = Connect(m_pServer->Address());
    QVERIFY(first && second);
    QVERIFY(Eventually([&] { return first->IsOnline(); }));
    m_pPty->SetReplugDelay(-1);
    m_pPty->Disconnect();
    QVERIFY(Eventually([&] { return !first->IsOnline() && !second->IsOnline(); }));
    QVERIFY(!first->IsError());
    QVERIFY(m_pPty->Reconnect());
    QVERIFY(Eventually([&] { return first->IsOnline() && second->IsOnline(); }, 20000));
}

void tst_OndrixServer::searchFindsTheServer()
{
    QNetworkAddressEntry entry;
    entry.setIp(QHostAddress(m_pServer->Address()));
    entry.setPrefixLength(24);
    CServerSearchThread search;
    search.SetAddressEntries({ entry });
    QStringList found;
    connect(&search, &CServerSearchThread::serverFound, this,
        [&found](const QString& server) { found.append(server); });
    QSignalSpy finished(&search, &CServerSearchThread::finished);
    search.StartSearch();
    QVERIFY(finished.wait(60000));
    QCOMPARE(found, QStringList { m_pServer->Address() });
}

// The installed client with its real plug-ins, connected by address: the
// server's device list, the selection and the GUI paired by device type,
// until live records are drawn.
void tst_OndrixServer::clientProgramDrawsThroughTheServer()
{
    QProcess client;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("RZ450_PORT"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_folder.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_folder.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), sanitizer + (sanitizer.isEmpty() ? "" : ":") + "detect_leaks=0");
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString picture = m_folder.filePath(QStringLiteral("client.png"));
    client.start(QStringLiteral(ONDRIX_CLIENT_PROGRAM),
        { QStringLiteral("--server"), m_pServer->Address(), QStringLiteral("--screenshot"), picture });
    QVERIFY(client.waitForFinished(60000));
    // 0 only once live records reached the diagram.
    QCOMPARE(client.exitCode(), 0);
    QVERIFY(QFile::exists(picture));
}

void tst_OndrixServer::serverRestartedUnderAClient()
{
    auto device = Connect(m_pServer->Address());
    QVERIFY(device);
    QCOMPARE(m_pServer->Terminate(), 0);
    QVERIFY_THROWS_EXCEPTION(std::exception, device->IsOnline());
    QVERIFY2(m_pServer->Start(m_pServer->Address(), { QStringLiteral("--max-pending"), QStringLiteral("100000") }),
        qPrintable(m_pServer->Log()));
    // The client's recovery connects again; the new connection is served
    // by the first device without selecting.
    QVERIFY(device->Initialize());
    QVERIFY(Eventually([&] { return device->IsOnline(); }, 20000));
}

QTEST_GUILESS_MAIN(tst_OndrixServer)
#include "tst_OndrixServer.moc"
