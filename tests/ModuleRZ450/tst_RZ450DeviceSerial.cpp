// The driver end to end over a real pseudo-terminal, against the simulated
// detector: the serial path as a user with a USB serial adapter has it.
#include "CPtyServer.h"
#include "CRZ450Device.h"
#include "CRZ450Simulator.h"
#include "CRecordConverter.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLibrary>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

namespace {

const int TEST_LINK_TIMEOUT_MS = 150;

QByteArray Pattern(int size, int seed)
{
    QByteArray bytes(size, 0);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + seed) & 0xFF);
    return bytes;
}

template <typename Done>
bool WaitFor(Done done)
{
    QDeadlineTimer deadline(3000);
    while (!done() && !deadline.hasExpired())
        QThread::usleep(200);
    return done();
}

} // namespace

class TestRZ450DeviceSerial : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void recordsFlowAndStatusIsDecoded();
    void timeRequestIsAnsweredWithThePcClock();
    void keyPressesMergeIntoOneKeyByte();
    void modeChangeRestartsTheRingAndSignalsOnce();
    void bandChangeSignalsInManualModeOnly();
    void settingsWritePutsTheBlockAndClockOnTheWire();
    void settingsWriteWithPcClock();
    void hostSettingsSurviveReportsUntilWritten_data();
    void hostSettingsSurviveReportsUntilWritten();
    void recordsOfNewYearsFirstSecondsTakeTheNewYear();
    void tenShortAnswersKeepTheLinkTheEleventhDropsIt();
    void garbageAndUnknownAnswersAreSurvived();
    void reconnectsAfterTheDetectorVanishes();
    void commandPostedWhileTheLastIsClearedIsNotLost();
    void uninitializeDuringAnExchangeIsPrompt();
    void initializeIsReferenceCounted();
    void pluginEntryPoints();

private:
    void StartDevice();
    void WaitForPolls(int more);

    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CRZ450Simulator> m_pSim;
    std::unique_ptr<CPtyServer> m_pServer;
    std::unique_ptr<CRZ450Device> m_pDevice;
    std::atomic<int> m_nSignals { 0 };
};

void TestRZ450DeviceSerial::init()
{
    m_pDir = std::make_unique<QTemporaryDir>();
    m_pSim = std::make_unique<CRZ450Simulator>(CRZ450Simulator::ByteMode);
    m_pSim->SetFrozen(true);
    m_pSim->SetMode(1);
    m_pSim->SetBand(3);
    m_pServer = std::make_unique<CPtyServer>(m_pSim.get());
    const QString link = m_pDir->filePath(QStringLiteral("ttyRZ450"));
    QVERIFY(m_pServer->Start(link));
    qputenv("RZ450_PORT", link.toLocal8Bit());
    m_nSignals = 0;
}

void TestRZ450DeviceSerial::cleanup()
{
    m_pDevice.reset();
    m_pServer.reset();
    m_pSim.reset();
    m_pDir.reset();
    qunsetenv("RZ450_PORT");
}

void TestRZ450DeviceSerial::StartDevice()
{
    // No FTDI library: the serial link is the only way in.
    m_pDevice = std::make_unique<CRZ450Device>(QStringLiteral("no-such-d2xx-library"));
    m_pDevice->SetLinkTimeout(TEST_LINK_TIMEOUT_MS);
    connect(m_pDevice.get(), &CRZ450Device::deviceChannelChanged, [this] { ++m_nSignals; });
    QVERIFY(m_pDevice->Initialize());
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->GetCurrentRecordIndex() > 2, 5000);
}

void TestRZ450DeviceSerial::WaitForPolls(int more)
{
    const int target = m_pSim->Polls() + more;
    QTRY_VERIFY_WITH_TIMEOUT(m_pSim->Polls() >= target, 5000);
}

void TestRZ450DeviceSerial::recordsFlowAndStatusIsDecoded()
{
    m_pSim->SetLevel(3, 70);
    StartDevice();
    QCOMPARE(m_pDevice->LinkKindInUse(), int(CRZ450Link::LinkSerial));
    QVERIFY(!m_pDevice->IsError());
    QCOMPARE(m_pDevice->GetDevID(), QStringLiteral("RZ450"));
    QCOMPARE(m_pDevice->GetLocalDevice(), m_pDevice.get());
    QCOMPARE(m_pDevice->GetCurrentMode(), 1);
    QCOMPARE(m_pDevice->GetCurrentBand(), 3);
    QCOMPARE(m_pDevice->GetBandName(3), QStringLiteral("DECT mobile      /"));

    const CRecord record = m_pDevice->GetCurrentRecord();
    QCOMPARE(record.band, 3);
    QCOMPARE(record.duration, 0);
    QCOMPARE(record.values.value(0).level, 70.0 - 102);
    QCOMPARE(m_pDevice->GetLevelDbm(3), 70);
    QCOMPARE(m_pDevice->GetMenuData().left(60), m_pSim->Settings());
    QCOMPARE(m_pDevice->GetMenuData().size(), 96);
    QVERIFY(m_pDevice->IsRamOk());
    QVERIFY(m_pDevice->IsBatteryOk());
    const qint64 skew = m_pDevice->GetTime().secsTo(m_pSim->Clock());
    QVERIFY2(qAbs(skew) <= 2, qPrintable(QString::number(skew)));

    char spectrum[160] = {};
    QVERIFY(m_pDevice->GetSpectrumData(spectrum, 160));

    const int count = m_pDevice->GetCurrentRecordIndex();
    QTRY_VERIFY(m_pDevice->GetCurrentRecordIndex() > count + 5);
    const QList<CRecord> all = m_pDevice->GetRealtimeRecords();
    QVERIFY(all.size() >= count - 1);
    QCOMPARE(all.first().band, 3);
    // The worker goes on adding records while the test looks: the count
    // after Clear starts again from 0, well below where it stood.
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->GetCurrentRecordIndex() > count + 200, 10000);
    const int before = m_pDevice->GetCurrentRecordIndex();
    m_pDevice->Clear();
    QVERIFY(m_pDevice->GetCurrentRecordIndex() < before / 2);
}

void TestRZ450DeviceSerial::timeRequestIsAnsweredWithThePcClock()
{
    StartDevice();
    // The detector asks for the time when it starts.
    QByteArray reply = m_pSim->LastTimeReply();
    QCOMPARE(reply.size(), 6);
    m_pSim->RequestTime();
    WaitForPolls(3);
    reply = m_pSim->LastTimeReply();
    const QDateTime now = QDateTime::currentDateTime();
    QCOMPARE(int(reply[0]), 1);
    QCOMPARE(int(reply[1]), now.date().month() - 1);
    QCOMPARE(int(reply[2]), now.date().day() - 1);
    const QTime sent(reply[3], reply[4], reply[5]);
    QVERIFY(qAbs(sent.secsTo(now.time())) <= 2);
}

void TestRZ450DeviceSerial::keyPressesMergeIntoOneKeyByte()
{
    StartDevice();
    // While the detector keeps quiet nothing can be sent: the three presses
    // pile up into one key byte.
    m_pSim->InjectSilence(2);
    WaitForPolls(1);
    m_pDevice->KeyPressed(IDevice::KeyType(1));
    m_pDevice->KeyPressed(IDevice::KeyType(4));
    m_pDevice->KeyPressed(IDevice::KeyType(2));
    QTRY_COMPARE_WITH_TIMEOUT(m_pSim->KeyBytes().size(), 1, 3000);
    QCOMPARE(int(m_pSim->KeyBytes().first()), 0x32);
    QCOMPARE(m_pSim->Commands(), QList<quint8>({ 8 }));

    // The count saturates at 10; a long press keeps its bit 8.
    m_pSim->InjectSilence(2);
    WaitForPolls(1);
    for (int i = 0; i < 12; ++i)
        m_pDevice->KeyPressed(IDevice::KeyType(8 | 3));
    QTRY_COMPARE_WITH_TIMEOUT(m_pSim->KeyBytes().size(), 2, 3000);
    QCOMPARE(int(m_pSim->KeyBytes().last()), 0xAB);
}

void TestRZ450DeviceSerial::modeChangeRestartsTheRingAndSignalsOnce()
{
    StartDevice();
    QTRY_VERIFY(m_pDevice->GetCurrentRecordIndex() > 20);
    QTRY_COMPARE(m_nSignals.load(), 1); // the first report leaves mode 0
    QCOMPARE(m_pDevice->GetLogType(), 0);

    m_pSim->SetIndicationFlags({ 2, 9 });
    m_pSim->SetMode(4);
    QTRY_COMPARE(m_pDevice->GetCurrentMode(), 4);
    WaitForPolls(3);
    QCOMPARE(m_nSignals.load(), 2);
    QCOMPARE(m_pDevice->GetLogType(), 1);
    const CRecord first = m_pDevice->GetRecord(0);
    const CRecord second = m_pDevice->GetRecord(1);
    QCOMPARE(first.band, 2);
    QCOMPARE(second.band, 9);
    QCOMPARE(first.duration, 1);
    QCOMPARE(m_pDevice->GetCurrentBand(), 9);
    QVERIFY(m_pDevice->GetCurrentRecordIndex() % 2 == 0);
}

void TestRZ450DeviceSerial::bandChangeSignalsInManualModeOnly()
{
    StartDevice();
    QTRY_COMPARE(m_nSignals.load(), 1);
    m_pSim->SetBand(5);
    QTRY_COMPARE(m_pDevice->GetCurrentBand(), 5);
    QTRY_COMPARE(m_nSignals.load(), 2);

    m_pSim->SetIndicationFlags({ 1 });
    m_pSim->SetMode(4);
    QTRY_COMPARE(m_pDevice->GetCurrentMode(), 4);
    QTRY_COMPARE(m_nSignals.load(), 3);
    // In automatic mode the detector walks every band; none of it signals.
    m_pSim->SetBand(7);
    WaitForPolls(20);
    QCOMPARE(m_nSignals.load(), 3);
}

void TestRZ450DeviceSerial::settingsWritePutsTheBlockAndClockOnTheWire()
{
    // The PC in spring: the clocks below then take its year, whatever the
    // day the test runs.
    static const qint64 s_nSpring
        = QDateTime(QDate(QDate::currentDate().year(), 4, 1), QTime(12, 0)).toSecsSinceEpoch();
    CRecordConverter::SetClockSource([] { return s_nSpring; });
    const auto restore = qScopeGuard([] { CRecordConverter::SetClockSource(nullptr); });
    StartDevice();
    // After the time request at start, which set the detector's clock.
    m_pSim->SetClock(QDateTime(QDate(QDate::currentDate().year(), 3, 9), QTime(14, 5, 7)));
    QByteArray block = Pattern(96, 11);
    block[41] = 0; // the clock sent is the detector's own, not the PC's
    // Set and commit while the detector is silent, so that no status report
    // overwrites the block in between (the settings dialog does the same
    // back to back).
    m_pSim->InjectSilence(1);
    WaitForPolls(1);
    QVERIFY(!m_pDevice->SetMenuData(block.left(95)));
    QVERIFY(!m_pDevice->SetMenuData(block + 'x'));
    QVERIFY(m_pDevice->SetMenuData(block));
    QCOMPARE(m_pDevice->GetMenuData(), block);
    m_pDevice->SetRequest(IDevice::WriteSettings);
    QTRY_COMPARE_WITH_TIMEOUT(m_pSim->LastSettingsWrite().size(), 71, 3000);

    const QByteArray wire = m_pSim->LastSettingsWrite();
    QCOMPARE(wire.left(60), block.left(60));
    QCOMPARE(wire.mid(60, 6), block.left(6));
    // 9 March 14:05:07 with month and day counted from 0, as the detector
    // counts them everywhere else.
    QCOMPARE(int(wire[66]), 2);
    QCOMPARE(int(wire[67]), 8);
    QCOMPARE(int(wire[68]), 14);
    QCOMPARE(int(wire[69]), 5);
    QVERIFY(wire[70] >= 7 && wire[70] <= 10);
    QCOMPARE(m_pSim->Commands().last(), quint8(5));

    // Bytes 60..95 never travel; they keep what was stored.
    WaitForPolls(3);
    QCOMPARE(m_pDevice->GetMenuData().mid(60), block.mid(60));

    // A clock the user sets survives the status reports until it is sent.
    const QDateTime set(QDate(QDate::currentDate().year(), 5, 20), QTime(8, 30, 0));
    m_pDevice->SetTime(set);
    WaitForPolls(3);
    QCOMPARE(m_pDevice->GetTime(), m_pSim->Clock()); // until a write carries it
    m_pDevice->SetRequest(IDevice::WriteSettings);
    QTRY_COMPARE_WITH_TIMEOUT(m_pSim->Commands().count(5), 2, 3000);
    const QByteArray second = m_pSim->LastSettingsWrite();
    QCOMPARE(second.mid(66, 5), QByteArray::fromHex("0413081e00"));
    // The detector took it, and reports it back from then on.
    QCOMPARE(m_pSim->Clock(), set);
    WaitForPolls(3);
    QCOMPARE(m_pDevice->GetTime(), set);
}

void TestRZ450DeviceSerial::settingsWriteWithPcClock()
{
    StartDevice();
    m_pSim->InjectSilence(1);
    WaitForPolls(1);
    m_pDevice->SetMenuValue(41, 1);
    m_pDevice->SetMenuValue(200, 1); // outside the block: ignored
    QCOMPARE(m_pDevice->GetMenuValue(200), quint8(0));
    m_pDevice->SetTime(QDateTime(QDate(2020, 1, 1), QTime(1, 2, 3)));
    m_pDevice->SetRequest(IDevice::WriteSettings);
    QTRY_COMPARE_WITH_TIMEOUT(m_pSim->LastSettingsWrite().size(), 71, 3000);
    const QByteArray wire = m_pSim->LastSettingsWrite();
    const QDateTime now = QDateTime::currentDateTime();
    QCOMPARE(int(wire[41]), 1);
    QCOMPARE(int(wire[66]), now.date().month() - 1);
    QCOMPARE(int(wire[67]), now.date().day() - 1);
    QVERIFY(qAbs(QTime(wire[68], wire[69], wire[70]).secsTo(now.time())) <= 2);
}

void TestRZ450DeviceSerial::hostSettingsSurviveReportsUntilWritten_data()
{
    QTest::addColumn<bool>("wholeBlock");
    QTest::newRow("SetMenuData") << true;
    QTest::newRow("SetMenuValue") << false;
}

void TestRZ450DeviceSerial::hostSettingsSurviveReportsUntilWritten()
{
    QFETCH(bool, wholeBlock);
    m_pServer->SetPaced(true); // a report every 3.3 ms, often between set and write
    StartDevice();
    QRandomGenerator random(5);
    int stale = 0;
    for (int write = 1; write <= 50; ++write) {
        const QByteArray expected = Pattern(96, write);
        if (wholeBlock)
            QVERIFY(m_pDevice->SetMenuData(expected));
        for (int index = 0; !wholeBlock && index < expected.size(); ++index)
            m_pDevice->SetMenuValue(index, quint8(expected[index]));
        QThread::usleep(random.bounded(12000));
        stale += m_pDevice->GetMenuData() != expected;
        m_pDevice->SetRequest(IDevice::WriteSettings);
        QVERIFY(WaitFor([&] { return m_pSim->Commands().count(5) == write; }));
        // The command byte is seen before the bytes behind it.
        const int polls = m_pSim->Polls();
        QVERIFY(WaitFor([&] { return m_pSim->Polls() > polls; }));
        stale += m_pSim->LastSettingsWrite().left(60) != expected.left(60);
    }
    QCOMPARE(stale, 0);
}

void TestRZ450DeviceSerial::recordsOfNewYearsFirstSecondsTakeTheNewYear()
{
    StartDevice();
    const QDateTime newYear(QDate(QDate::currentDate().year() + 1, 1, 1), QTime(0, 0, 5));
    m_pSim->SetClock(newYear);
    WaitForPolls(3);
    static qint64 s_nNow = newYear.addSecs(-10).toSecsSinceEpoch(); // the PC still in the old year
    CRecordConverter::SetClockSource([] { return s_nNow; });
    const auto restore = qScopeGuard([] { CRecordConverter::SetClockSource(nullptr); });
    const int last = m_pDevice->GetCurrentRecordIndex() - 1;
    // The detector ahead of the PC: its record is seconds ahead, not a year back.
    QCOMPARE(m_pDevice->GetRecord(last).time, quint64(newYear.toSecsSinceEpoch()));
    QCOMPARE(m_pDevice->GetTime().date(), newYear.date());
    s_nNow = newYear.addSecs(1).toSecsSinceEpoch();
    QCOMPARE(m_pDevice->GetRecord(last).time, quint64(newYear.toSecsSinceEpoch()));
    QCOMPARE(m_pDevice->GetRealtimeRecords().value(last - 1).time, quint64(newYear.toSecsSinceEpoch()));
}

void TestRZ450DeviceSerial::tenShortAnswersKeepTheLinkTheEleventhDropsIt()
{
    StartDevice();
    const int connects = m_pDevice->ConnectCount();
    m_pSim->InjectShortAnswers(10, 150);
    WaitForPolls(12);
    QTRY_VERIFY(m_pDevice->IsOnline());
    QCOMPARE(m_pDevice->ConnectCount(), connects);

    m_pSim->InjectShortAnswers(11, 299);
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->ConnectCount() == connects + 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
}

void TestRZ450DeviceSerial::garbageAndUnknownAnswersAreSurvived()
{
    StartDevice();
    const int connects = m_pDevice->ConnectCount();
    m_pSim->InjectUnknownType(5);
    WaitForPolls(8);
    QVERIFY(m_pDevice->IsOnline());
    QCOMPARE(m_pDevice->ConnectCount(), connects);

    m_pSim->InjectGarbage(40);
    WaitForPolls(45);
    // Once the detector talks sense again, records flow and stay sane.
    m_pDevice->Clear();
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->GetCurrentRecordIndex() > 10, 10000);
    QVERIFY(m_pDevice->IsOnline());
    QVERIFY(!m_pDevice->IsError());
    QCOMPARE(m_pDevice->GetCurrentRecord().band, 3);
    QCOMPARE(m_pDevice->GetCurrentMode(), 1);
}

void TestRZ450DeviceSerial::reconnectsAfterTheDetectorVanishes()
{
    StartDevice();
    const int connects = m_pDevice->ConnectCount();
    m_pServer->Disconnect();
    QTRY_VERIFY_WITH_TIMEOUT(!m_pDevice->IsOnline(), 10000);
    QThread::msleep(500); // a few connection attempts into nothing
    QVERIFY(!m_pDevice->IsOnline());
    QVERIFY(m_pServer->Reconnect());
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 10000);
    QVERIFY(m_pDevice->ConnectCount() > connects);
    const int count = m_pDevice->GetCurrentRecordIndex();
    QTRY_VERIFY(m_pDevice->GetCurrentRecordIndex() > count + 3);
}

void TestRZ450DeviceSerial::commandPostedWhileTheLastIsClearedIsNotLost()
{
    StartDevice();
    // Presses race the worker carrying out the previous key byte; each one
    // must reach the detector, merged into some key byte's count.
    QRandomGenerator random(7);
    const int presses = 300;
    for (int i = 0; i < presses; ++i) {
        m_pDevice->KeyPressed(IDevice::KeyType(i % 5));
        QThread::usleep(random.bounded(50, 400));
    }
    WaitForPolls(5);
    int counted = 0;
    bool saturated = false;
    for (quint8 key : m_pSim->KeyBytes()) {
        counted += key >> 4;
        saturated |= (key >> 4) == 10;
    }
    if (saturated)
        QVERIFY(counted <= presses);
    else
        QCOMPARE(counted, presses);
}

void TestRZ450DeviceSerial::uninitializeDuringAnExchangeIsPrompt()
{
    StartDevice();
    m_pDevice->SetLinkTimeout(CRZ450Device::LINK_TIMEOUT_MS);
    m_pSim->InjectSilence(1000);
    WaitForPolls(2);
    QElapsedTimer timer;
    timer.start();
    m_pDevice->Uninitialize();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!m_pDevice->IsOnline());
}

void TestRZ450DeviceSerial::initializeIsReferenceCounted()
{
    StartDevice();
    QVERIFY(m_pDevice->Initialize()); // does not clear, does not restart
    QVERIFY(m_pDevice->GetCurrentRecordIndex() > 2);
    m_pDevice->Uninitialize();
    int count = m_pDevice->GetCurrentRecordIndex();
    QTRY_VERIFY(m_pDevice->GetCurrentRecordIndex() > count + 3); // still running
    m_pDevice->Uninitialize();
    count = m_pDevice->GetCurrentRecordIndex();
    QThread::msleep(300);
    QCOMPARE(m_pDevice->GetCurrentRecordIndex(), count); // stopped
    m_pDevice->Uninitialize();                           // one too many: harmless

    // A fresh start clears the records and comes back online.
    QVERIFY(m_pDevice->Initialize());
    QVERIFY(m_pDevice->GetCurrentRecordIndex() < count);
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
}

void TestRZ450DeviceSerial::pluginEntryPoints()
{
    QLibrary plugin(QStringLiteral(ONDRIX_DRIVER_PLUGIN));
    QVERIFY2(plugin.load(), qPrintable(plugin.errorString()));
    using Query = bool (*)(IDevice**);
    using QueryRz = bool (*)(IRZ450Device**);
    const auto query = reinterpret_cast<Query>(plugin.resolve("QueryInterface"));
    const auto queryRz = reinterpret_cast<QueryRz>(plugin.resolve("QueryRZ450Interface"));
    QVERIFY(query && queryRz);
    QVERIFY(!query(nullptr));
    QVERIFY(!queryRz(nullptr));
    IDevice* first = nullptr;
    IDevice* second = nullptr;
    IRZ450Device* third = nullptr;
    QVERIFY(query(&first) && query(&second) && queryRz(&third));
    QVERIFY(first && second && third && first != second);
    QCOMPARE(first->GetDevID(), QStringLiteral("RZ450"));
    QCOMPARE(third->GetDbmCorrScale(18), 18);
    QVERIFY(!first->GetTestInterface(nullptr));
    QCOMPARE(first->GetCurrentRecord().values.size(), 0); // count 0: an empty record
    delete first;
    delete second;
    delete third;
}

QTEST_GUILESS_MAIN(TestRZ450DeviceSerial)
#include "tst_RZ450DeviceSerial.moc"
