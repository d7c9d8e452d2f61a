// The device proxy against a scripted server on loopback, and in local mode
// against a logging stand-in for the driver.
#include "CFakeRZ450Device.h"
#include "CScriptedServer.h"
#include "RecordWire.h"
#include "protocol/CServerAddress.h"
#include "proxy/CMetaDevice.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const int TEST_WAIT_MS = 2000;
const int SHORT_WAIT_MS = 300;

QString Thrown(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        return QString::fromLatin1(error.what());
    }
    return QString();
}

QByteArray MenuBlock()
{
    QByteArray block(96, '\0');
    for (int i = 1; i < block.size(); ++i)
        block[i] = char(i * 3);
    return block; // byte 0 is zero
}

struct EXCHANGE
{
    QByteArray request;
    QByteArray answer;
    std::function<bool(CMetaDevice&)> check;
};

QList<EXCHANGE> EveryOperation()
{
    const CRecord record = CFakeRZ450Device::Records().at(0);
    const QDateTime time = CFakeRZ450Device::Time();
    using D = CMetaDevice;
    return {
        { "GetDevID", "RZ450", [](D& d) { return d.GetDevID() == QStringLiteral("RZ450"); } },
        { "IsOnline", "1", [](D& d) { return d.IsOnline(); } },
        { "IsOnline", "0", [](D& d) { return !d.IsOnline(); } },
        { "IsOnline", "x", [](D& d) { return !d.IsOnline(); } },
        { "IsError", "1", [](D& d) { return d.IsError(); } },
        { "KeyPressed:9", "", [](D& d) { return d.KeyPressed(IDevice::KeyType(9)), true; } },
        { "SetRequest:5", "", [](D& d) { return d.SetRequest(IDevice::Command10), true; } },
        { "GetLogRecords", LogListWire(CFakeRZ450Device::Banks()),
            [](D& d) { return LogListWire(d.GetLogRecords()) == LogListWire(CFakeRZ450Device::Banks()); } },
        { "GetRealtimeRecords", "2:0.0:4:0:100:GSM/:1:-50.5:-60:0:0:0.0:5:1:105:DECT/:0",
            [](D& d) {
                return RecordListWire(d.GetRealtimeRecords()) == "2:0:4:0:100:GSM/:1:-50.5:-60:0:0:0:5:1:105:DECT/:0";
            } },
        { "Clear", "", [](D& d) { return d.Clear(), true; } },
        { "GetCurrentMode", "4", [](D& d) { return d.GetCurrentMode() == 4; } },
        { "GetCurrentRecordIndex", "299999", [](D& d) { return d.GetCurrentRecordIndex() == 299999; } },
        { "GetRecord:17", RecordWire(record) + ":",
            [record](D& d) { return RecordWire(d.GetRecord(17)) == RecordWire(record); } },
        { "GetRecord:18", RecordWire(record),
            [](D& d) {
                return Thrown([&] { d.GetRecord(18); }) == QStringLiteral("GetRecord: wrong answer format!");
            } },
        { "GetCurrentRecord", RecordWire(record),
            [record](D& d) { return RecordWire(d.GetCurrentRecord()) == RecordWire(record); } },
        { "GetCurrentRecord", "0:4:0:100:GSM/:1:-50:-60:0",
            [](D& d) {
                return Thrown([&] { d.GetCurrentRecord(); })
                    == QStringLiteral("GetCurrentRecord: wrong answer format!");
            } },
        { "GetCurrentBand", "18", [](D& d) { return d.GetCurrentBand() == 18; } },
        { "GetMenuValue:95", "300", [](D& d) { return d.GetMenuValue(95) == 44; } },
        { "SetMenuValue:3:250", "", [](D& d) { return d.SetMenuValue(3, 250), true; } },
        { "SetMenuData:" + MenuBlock(), "1", [](D& d) { return d.SetMenuData(MenuBlock()); } },
        { "GetMenuData", MenuBlock(), [](D& d) { return d.GetMenuData() == MenuBlock(); } },
        { "GetLogType", "1", [](D& d) { return d.GetLogType() == 1; } },
        { "GetTime", QByteArray::number(time.toSecsSinceEpoch()), [time](D& d) { return d.GetTime() == time; } },
        { "SetTime:" + QByteArray::number(time.toSecsSinceEpoch()), "",
            [time](D& d) { return d.SetTime(time), true; } },
        { "GetLogLoadProgress", "101", [](D& d) { return d.GetLogLoadProgress() == 101; } },
        { "IsRamOk", "1", [](D& d) { return d.IsRamOk(); } },
        { "IsFlashOk", "0", [](D& d) { return !d.IsFlashOk(); } },
        { "IsBatteryOk", "7", [](D& d) { return d.IsBatteryOk(); } },
        { "GetServerDevicesList", "a::b",
            [](D& d) {
                return d.GetServerDevicesList() == QStringList({ "a", "", "b" });
            } },
        { "SelectServerDevice:RZ450 \xd0\x96", "1",
            [](D& d) { return d.SelectServerDevice(QStringLiteral("RZ450 \u0416")); } },
        { "SelectServerDevice:x", "0", [](D& d) { return !d.SelectServerDevice(QStringLiteral("x")); } },
        { "Uninitialize", "", [](D& d) { return d.Uninitialize(), true; } },
    };
}

} // namespace

class TestMetaDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanupTestCase();

    void everyRequestTextAndAnswerForm();
    void greeting_data();
    void greeting();
    void nothingToConnectToFailsAtOnce();
    void answerSplitAcrossSegments();
    void missingStartMarkerFailsOnlyThatExchange();
    void silentServerTimesOutAndItsLateAnswerIsDropped();
    void serverClosingFailsEveryLaterCall();
    void uninitializeClosesAndDestructorSwallows();
    void localModeForwardsAndSendsNothing();
    void followLiveSharesOneStateExchange_data();
    void followLiveSharesOneStateExchange();
    void lostServerIsOfflineAtOnceDuringBackoff();
    void followedTickAsksRecordsWithTheState();
    void encryptedServerIsTrustedByItsFingerprint_data();
    void encryptedServerIsTrustedByItsFingerprint();
    void serverAddress_data();
    void serverAddress();
    void silentFollowedServerHoldsNoCallLong_data();
    void silentFollowedServerHoldsNoCallLong();

private:
    bool Connect(CScriptedServer& server, std::unique_ptr<CMetaDevice>& device);
};

void TestMetaDevice::init()
{
    CMetaDevice::SetTimeouts(TEST_WAIT_MS, TEST_WAIT_MS);
}

void TestMetaDevice::cleanupTestCase()
{
    CMetaDevice::SetTimeouts(0, 0);
}

bool TestMetaDevice::Connect(CScriptedServer& server, std::unique_ptr<CMetaDevice>& device)
{
    if (!server.Listen())
        return false;
    device = std::make_unique<CMetaDevice>(server.Address());
    return device->Initialize();
}

void TestMetaDevice::everyRequestTextAndAnswerForm()
{
    const QList<EXCHANGE> exchanges = EveryOperation();
    CScriptedServer server;
    server.Greet();
    for (const EXCHANGE& exchange : exchanges)
        server.Expect(exchange.request).Answer(exchange.answer);
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    QCOMPARE(device->GetUrl(), server.Address());
    QVERIFY(!device->GetLocalDevice());
    QVERIFY(!device->GetTestInterface(nullptr));
    for (const EXCHANGE& exchange : exchanges)
        QVERIFY2(exchange.check(*device), exchange.request.constData());
    device.reset(); // already uninitialized: sends nothing more
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
    QVERIFY(server.Received().contains(QByteArray("SetMenuData:" + MenuBlock() + "GetMenuData"))); // 12 + 96 bytes
}

void TestMetaDevice::greeting_data()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<bool>("hangup");
    QTest::addColumn<bool>("connected");
    QTest::newRow("ack") << QByteArrayList { "ack" } << false << true;
    QTest::newRow("ack in pieces") << QByteArrayList { "a", "ck" } << false << true;
    QTest::newRow("other word") << QByteArrayList { "nak" } << false << false;
    QTest::newRow("ack and more") << QByteArrayList { "ack!" } << false << false;
    QTest::newRow("hangup") << QByteArrayList {} << true << false;
    QTest::newRow("silence") << QByteArrayList {} << false << false;
}

void TestMetaDevice::greeting()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(bool, hangup);
    QFETCH(bool, connected);
    CMetaDevice::SetTimeouts(TEST_WAIT_MS, SHORT_WAIT_MS);
    CScriptedServer server;
    for (const QByteArray& piece : pieces)
        server.Send(piece).Pause(50);
    if (hangup)
        server.Hangup();
    if (connected)
        server.Expect("Uninitialize").Answer("");
    std::unique_ptr<CMetaDevice> device;
    QCOMPARE(Connect(server, device), connected);
    if (!connected) {
        // A failed start leaves nothing half open to wait on.
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Thrown([&] { device->IsOnline(); }), QStringLiteral("Network timed out!"));
        QVERIFY(clock.elapsed() < SHORT_WAIT_MS);
    }
    device.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestMetaDevice::nothingToConnectToFailsAtOnce()
{
    CScriptedServer nobody(0); // picks an address, then stops listening
    QVERIFY(nobody.Listen());
    QVERIFY(nobody.Finish());
    QElapsedTimer clock;
    clock.start();
    CMetaDevice refused(nobody.Address());
    QVERIFY(!refused.Initialize());
    CMetaDevice withoutAddress(static_cast<IDevice*>(nullptr));
    QVERIFY(!withoutAddress.Initialize());
    QVERIFY(withoutAddress.GetUrl().isEmpty());
    QVERIFY(!withoutAddress.GetLocalDevice());
    QVERIFY(clock.elapsed() < TEST_WAIT_MS);
}

void TestMetaDevice::answerSplitAcrossSegments()
{
    CScriptedServer server;
    server.Greet()
        .Expect("GetCurrentMode")
        .Send("<D>1")
        .Pause(100)
        .Send("2</D>")
        .Expect("GetCurrentBand")
        .Send("<")
        .Pause(100)
        .Send("D>7<")
        .Pause(100)
        .Send("/D>")
        .Expect("Uninitialize")
        .Answer("");
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    QCOMPARE(device->GetCurrentMode(), 12);
    QCOMPARE(device->GetCurrentBand(), 7);
    device.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestMetaDevice::missingStartMarkerFailsOnlyThatExchange()
{
    CScriptedServer server;
    server.Greet()
        .Expect("IsOnline")
        .Send("1</D>")
        .Expect("GetCurrentMode")
        .Answer("5")
        .Expect("Uninitialize")
        .Answer("");
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    QCOMPARE(Thrown([&] { device->IsOnline(); }), QStringLiteral("Network transmission error!"));
    QCOMPARE(device->GetCurrentMode(), 5);
    device.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestMetaDevice::silentServerTimesOutAndItsLateAnswerIsDropped()
{
    CMetaDevice::SetTimeouts(TEST_WAIT_MS, SHORT_WAIT_MS);
    CScriptedServer server;
    server.Greet()
        .Expect("IsOnline")
        .Pause(SHORT_WAIT_MS + 200)
        .Answer("1")
        .Expect("GetCurrentMode")
        .Answer("5")
        .Expect("Uninitialize")
        .Answer("");
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(Thrown([&] { device->IsOnline(); }), QStringLiteral("Network timed out!"));
    QVERIFY(clock.elapsed() >= SHORT_WAIT_MS - 10 && clock.elapsed() < TEST_WAIT_MS);
    // The client's event loop runs on; the late answer arrives meanwhile.
    QTest::qWait(1000);
    QCOMPARE(device->GetCurrentMode(), 5);
    device.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestMetaDevice::serverClosingFailsEveryLaterCall()
{
    CScriptedServer server;
    server.Greet().Expect("IsOnline").Send("<D>").Hangup();
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(Thrown([&] { device->IsOnline(); }), QStringLiteral("Network timed out!"));
    QCOMPARE(Thrown([&] { device->GetCurrentMode(); }), QStringLiteral("Network timed out!"));
    QVERIFY(clock.elapsed() < TEST_WAIT_MS);
    device.reset(); // the destructor's own failure stays inside it
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestMetaDevice::uninitializeClosesAndDestructorSwallows()
{
    CScriptedServer server;
    server.Greet().Expect("Uninitialize").Answer("");
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    device->Uninitialize();
    QVERIFY(server.Finish(TEST_WAIT_MS)); // the server saw the connection end
    QCOMPARE(Thrown([&] { device->Uninitialize(); }), QStringLiteral("Network timed out!"));
    device.reset();
    QCOMPARE(server.Received(), server.Expected());

    auto* neverConnected = new CMetaDevice(QStringLiteral("127.0.0.1"));
    delete neverConnected;
}

void TestMetaDevice::localModeForwardsAndSendsNothing()
{
    CScriptedServer server(300);
    QVERIFY(server.Listen());
    CFakeRZ450Device fake;
    auto device = std::make_unique<CMetaDevice>(&fake);
    const QDateTime time = CFakeRZ450Device::Time();
    QVERIFY(device->Initialize());
    QCOMPARE(device->GetDevID(), QStringLiteral("FAKE"));
    QCOMPARE(device->GetLocalDevice(), &fake);
    QVERIFY(device->IsOnline() && device->IsError());
    device->KeyPressed(IDevice::KeyType(9));
    device->SetRequest(IDevice::NewBank);
    QCOMPARE(LogListWire(device->GetLogRecords()), LogListWire(CFakeRZ450Device::Banks()));
    QCOMPARE(RecordListWire(device->GetRealtimeRecords()), RecordListWire(CFakeRZ450Device::Records()));
    device->Clear();
    QCOMPARE(device->GetCurrentMode(), 4);
    QCOMPARE(device->GetCurrentRecordIndex(), 7);
    QCOMPARE(RecordWire(device->GetRecord(5)), RecordWire(CFakeRZ450Device::Records().at(1)));
    QCOMPARE(RecordWire(device->GetCurrentRecord()), RecordWire(CFakeRZ450Device::Records().at(1)));
    QCOMPARE(device->GetCurrentBand(), 18);
    QCOMPARE(device->GetMenuValue(2), 200);
    device->SetMenuValue(2, 77);
    QVERIFY(device->SetMenuData(MenuBlock()));
    QCOMPARE(device->GetMenuData(), QByteArray(96, '\x5A'));
    QCOMPARE(device->GetLogType(), 1);
    QCOMPARE(device->GetTime(), time);
    device->SetTime(time);
    QCOMPARE(device->GetLogLoadProgress(), 101);
    QVERIFY(device->IsRamOk() && !device->IsFlashOk() && device->IsBatteryOk());
    QVERIFY(!device->GetTestInterface(nullptr)); // not forwarded
    device->Uninitialize();
    device.reset();
    const QString setTime = "SetTime:" + QString::number(time.toSecsSinceEpoch());
    QCOMPARE(fake.m_calls,
        QStringList({ "Initialize", "GetDevID", "IsOnline", "IsError", "KeyPressed:9", "SetRequest:3", "GetLogRecords",
            "GetRealtimeRecords", "Clear", "GetCurrentMode", "GetCurrentRecordIndex", "GetRecord:5", "GetCurrentRecord",
            "GetCurrentBand", "GetMenuValue:2", "SetMenuValue:2:77", "SetMenuData:96", "GetMenuData", "GetLogType",
            "GetTime", setTime, "GetLogLoadProgress", "IsRamOk", "IsFlashOk", "IsBatteryOk", "Uninitialize",
            "Uninitialize" }));
    QVERIFY(server.Finish());
    QVERIFY(!server.WasConnected());
}

void TestMetaDevice::followLiveSharesOneStateExchange_data()
{
    QTest::addColumn<QByteArrayList>("script"); // request, answer, request, answer...
    QTest::newRow("server that knows it") << QByteArrayList { "GetLiveState", "1:0:4:12:18", "KeyPressed:9", "",
        "GetLiveState", "0:0:4:12:18", "GetLiveState", "1:0:4:40:18" };
    const QByteArrayList oneByOne { "IsOnline", "1", "IsError", "0", "GetCurrentMode", "4", "GetCurrentRecordIndex",
        "12", "GetCurrentBand", "18", "KeyPressed:9", "", "IsOnline", "0", "GetCurrentRecordIndex", "40" };
    QTest::newRow("older server: asked once per connection") << QByteArrayList { "GetLiveState", "" } + oneByOne;
    QTest::newRow("answer that is no state") << QByteArrayList { "GetLiveState", "1:0:4" } + oneByOne;
}

void TestMetaDevice::followLiveSharesOneStateExchange()
{
    QFETCH(QByteArrayList, script);
    CScriptedServer server;
    server.Greet();
    for (qsizetype i = 0; i + 1 < script.size(); i += 2)
        server.Expect(script.at(i)).Answer(script.at(i + 1));
    server.Expect("Uninitialize").Answer("");
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    device->FollowLive();
    // One tick's questions.
    QVERIFY(device->IsOnline());
    QVERIFY(!device->IsError());
    QCOMPARE(device->GetCurrentMode(), 4);
    QCOMPARE(device->GetCurrentRecordIndex(), 12);
    QCOMPARE(device->GetCurrentBand(), 18);
    // A change makes what was known stale at once, time does it as well.
    device->KeyPressed(IDevice::KeyType(9));
    QVERIFY(!device->IsOnline());
    QTest::qWait(CMetaDevice::LIVE_STATE_MAX_AGE_MS + 10);
    QCOMPARE(device->GetCurrentRecordIndex(), 40);
    device.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestMetaDevice::lostServerIsOfflineAtOnceDuringBackoff()
{
    const int firstMs = 200;
    CMetaDevice::SetReconnectTiming(firstMs, 1000, 100);
    CScriptedServer server;
    server.Greet().Expect("GetLiveState").Send("<D>1:").Hangup();
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    device->FollowLive();
    QSignalSpy lost(device.get(), &CMetaDevice::connectionLost);
    QVERIFY(!device->IsOnline()); // the loss itself reads as offline
    QCOMPARE(lost.count(), 1);
    QVERIFY(server.Finish()); // nobody listens any more: attempts are refused
    QElapsedTimer clock;
    clock.start();
    qint64 slowest = 0;
    while (clock.elapsed() < firstMs * 2) {
        QElapsedTimer call;
        call.start();
        QVERIFY(!device->IsOnline());
        QVERIFY(!device->IsError());
        slowest = std::max(slowest, call.elapsed());
        QTest::qWait(5);
    }
    QVERIFY2(slowest < 50, qPrintable(QString::number(slowest)));
    QVERIFY(device->IsReconnecting());
    QCOMPARE(device->Reconnections(), 0);
    QCOMPARE(lost.count(), 1);
    QCOMPARE(Thrown([&] { device->GetCurrentMode(); }), QStringLiteral("Network timed out!"));
    device.reset();
    CMetaDevice::SetReconnectTiming(0, 0, 0);
    QCOMPARE(server.Received(), server.Expected());
}

void TestMetaDevice::followedTickAsksRecordsWithTheState()
{
    const QList<CRecord> records = CFakeRZ450Device::Records();
    const QByteArray list = RecordListWire(records);
    CScriptedServer server;
    server.Greet()
        .Expect("GetLiveState")
        .Answer("1:0:4:12:18")
        .Expect("GetRecords:0:0")
        .Answer("0")
        .Expect("GetRecords:4:1000")
        .Answer(list)
        // One write, two answers in one piece.
        .Expect("GetRecords:4:1000GetLiveState")
        .Send("<D>" + list + "</D><D>1:0:4:14:18</D>")
        .Expect("Uninitialize")
        .Answer("");
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    device->FollowLive();
    device->ExpectRecordsFrom(4);
    QCOMPARE(device->GetCurrentRecordIndex(), 12); // whether batches are served is not known yet
    QCOMPARE(RecordListWire(device->GetRecords(4, 8)), list);
    QTest::qWait(CMetaDevice::LIVE_STATE_MAX_AGE_MS + 10);
    QCOMPARE(device->GetCurrentRecordIndex(), 14);
    QCOMPARE(RecordListWire(device->GetRecords(4, 1)), RecordListWire(records.first(1))); // no exchange
    device.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestMetaDevice::silentFollowedServerHoldsNoCallLong_data()
{
    QTest::addColumn<int>("silenceMs");
    QTest::addColumn<bool>("lost");
    QTest::newRow("late, within the wait") << 400 << false;
    QTest::newRow("silent past the wait") << 1500 << true;
}

void TestMetaDevice::silentFollowedServerHoldsNoCallLong()
{
    QFETCH(int, silenceMs);
    QFETCH(bool, lost);
    const int waitMs = 800;
    CMetaDevice::SetTimeouts(TEST_WAIT_MS, waitMs, 40);
    CMetaDevice::SetReconnectTiming(5000, 5000, 0);
    CScriptedServer server;
    server.Greet()
        .Expect("GetLiveState")
        .Answer("1:0:4:12:18")
        .Expect("GetLiveState")
        .Pause(silenceMs)
        .Answer("1:0:4:20:18");
    if (!lost)
        server.Expect("GetLiveState").Answer("1:0:4:30:18").Expect("Uninitialize").Answer("");
    std::unique_ptr<CMetaDevice> device;
    QVERIFY(Connect(server, device));
    device->FollowLive();
    QSignalSpy waiting(device.get(), &CMetaDevice::waiting);
    QSignalSpy gone(device.get(), &CMetaDevice::connectionLost);
    QCOMPARE(device->GetCurrentRecordIndex(), 12);
    QTest::qWait(CMetaDevice::LIVE_STATE_MAX_AGE_MS + 10);
    QElapsedTimer clock;
    clock.start();
    qint64 slowest = 0;
    int count = 0;
    while (clock.elapsed() < silenceMs + 500 && count < 30) {
        QElapsedTimer call;
        call.start();
        if (device->IsOnline())
            count = device->GetCurrentRecordIndex(); // the last state known while none comes
        if (device->IsWaiting())                     // and nothing else is asked meanwhile
            QCOMPARE(Thrown([&] { device->GetMenuValue(1); }), QStringLiteral("Network timed out!"));
        slowest = std::max(slowest, call.elapsed());
        QTest::qWait(10);
    }
    QVERIFY2(slowest < 100, qPrintable(QString::number(slowest)));
    QCOMPARE(waiting.count(), 2); // on and off: answering again, or lost
    QCOMPARE(gone.count(), lost ? 1 : 0);
    QCOMPARE(count, lost ? 12 : 30);
    QCOMPARE(device->IsReconnecting(), lost);
    device.reset();
    CMetaDevice::SetReconnectTiming(0, 0, 0);
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestMetaDevice::encryptedServerIsTrustedByItsFingerprint_data()
{
    QTest::addColumn<QString>("fingerprint"); // "*": the test server's
    QTest::addColumn<QByteArray>("answer");   // to "Auth:key"; empty: not asked
    QTest::addColumn<int>("refusal");
    QTest::newRow("known, key taken") << "*" << QByteArray("1") << int(CMetaDevice::NotRefused);
    QTest::newRow("key refused") << "*" << QByteArray("0") << int(CMetaDevice::KeyRefused);
    QTest::newRow("first connection") << "" << QByteArray() << int(CMetaDevice::UnknownServer);
    QTest::newRow("fingerprint changed") << QString(64, QLatin1Char('0')) << QByteArray()
                                         << int(CMetaDevice::ChangedServer);
}

void TestMetaDevice::encryptedServerIsTrustedByItsFingerprint()
{
    QFETCH(QString, fingerprint);
    QFETCH(QByteArray, answer);
    QFETCH(int, refusal);
    CScriptedServer server;
    server.Encrypted();
    if (!answer.isEmpty())
        server.Greet().Expect("Auth:key").Answer(answer);
    if (refusal == CMetaDevice::NotRefused)
        server.Expect("IsOnline").Answer("1").Expect("Uninitialize").Answer("");
    QVERIFY(server.Listen());
    auto device = std::make_unique<CMetaDevice>(QStringLiteral("ondrixs://") + server.Address());
    QVERIFY(device->IsEncrypted());
    device->SetCredentials(fingerprint == QLatin1String("*") ? CScriptedServer::Fingerprint() : fingerprint, "key");
    QCOMPARE(device->Initialize(), refusal == CMetaDevice::NotRefused);
    QCOMPARE(int(device->LastRefusal()), refusal);
    QCOMPARE(device->PeerFingerprint(), CScriptedServer::Fingerprint());
    if (refusal == CMetaDevice::NotRefused)
        QVERIFY(device->IsOnline());
    device.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected()); // nothing at all to a server not trusted
}

void TestMetaDevice::serverAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key"); // empty: not valid
    QTest::newRow("bare host") << "lab-pc"
                               << "ondrix://lab-pc:7777";
    QTest::newRow("bare IPv6") << "::1"
                               << "ondrix://[::1]:7777";
    QTest::newRow("encrypted") << "ondrixs://Lab-PC"
                               << "ondrixs://lab-pc:7778";
    QTest::newRow("encrypted with port") << " ondrixs://10.1.2.3:9000/ "
                                         << "ondrixs://10.1.2.3:9000";
    QTest::newRow("IPv6 with port") << "ondrixs://[fe80::1]:9000"
                                    << "ondrixs://[fe80::1]:9000";
    QTest::newRow("plain scheme") << "ondrix://host:7000"
                                  << "ondrix://host:7000";
    QTest::newRow("port out of range") << "ondrixs://host:70000"
                                       << "";
    QTest::newRow("empty port") << "ondrixs://host:"
                                << "";
    QTest::newRow("signed port") << "ondrixs://host:+5"
                                 << "";
    QTest::newRow("path") << "ondrixs://host/x"
                          << "";
    QTest::newRow("unclosed bracket") << "ondrixs://[::1:7778"
                                      << "";
    QTest::newRow("brackets round a name") << "ondrixs://[host]"
                                           << "";
    QTest::newRow("other scheme") << "http://host"
                                  << "";
    QTest::newRow("nothing") << ""
                             << "";
}

void TestMetaDevice::serverAddress()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    const CServerAddress address(text);
    QCOMPARE(address.IsValid(), !key.isEmpty());
    QCOMPARE(address.Key(), key.isEmpty() ? address.Key() : key);
}

QTEST_GUILESS_MAIN(TestMetaDevice)
#include "tst_MetaDevice.moc"
