// The driver over the FTDI link, through a fake D2XX library backed by the
// simulated detector: the FT220X in byte mode, the FT245R in nibble mode,
// and the order in which the links are tried.
#include "CPtyServer.h"
#include "CRZ450Device.h"
#include "CRZ450Simulator.h"
#include "FakeD2xx.h"

#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

const char* const FT220X = "FT220X 4-BIT FT1248";
const char* const FT245R = "FT245R USB FIFO";

} // namespace

class TestRZ450DeviceFtdi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void byteModeThroughTheFT220X();
    void nibbleModeThroughTheFT245R();
    void ft220xIsPreferredOverFt245r();
    void serialPortIsTriedFirst();
    void unplugAndReplug();
    void missingLibraryLeavesOnlyTheSerialLink();

private:
    CRZ450Simulator* Attach(const char* description, CRZ450Simulator::Encoding encoding);
    void StartDevice(const QString& library = QStringLiteral("ftd2xx"));

    std::vector<std::unique_ptr<CRZ450Simulator>> m_sims;
    std::unique_ptr<CRZ450Device> m_pDevice;
};

void TestRZ450DeviceFtdi::init()
{
    FakeD2xx_Reset();
    qunsetenv("RZ450_PORT");
}

void TestRZ450DeviceFtdi::cleanup()
{
    m_pDevice.reset();
    FakeD2xx_Reset();
    m_sims.clear();
}

CRZ450Simulator* TestRZ450DeviceFtdi::Attach(const char* description, CRZ450Simulator::Encoding encoding)
{
    m_sims.push_back(std::make_unique<CRZ450Simulator>(encoding));
    CRZ450Simulator* sim = m_sims.back().get();
    sim->SetFrozen(true);
    sim->SetMode(1);
    sim->SetBand(2);
    FakeD2xx_Attach(description, sim);
    return sim;
}

void TestRZ450DeviceFtdi::StartDevice(const QString& library)
{
    m_pDevice = std::make_unique<CRZ450Device>(library);
    m_pDevice->SetLinkTimeout(400);
    QVERIFY(m_pDevice->Initialize());
}

void TestRZ450DeviceFtdi::byteModeThroughTheFT220X()
{
    CRZ450Simulator* sim = Attach(FT220X, CRZ450Simulator::ByteMode);
    sim->SetLevel(2, 66);
    StartDevice();
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    QCOMPARE(m_pDevice->LinkKindInUse(), int(CRZ450Link::LinkFtdiByte));
    // The chip's latency timer is cut to 2 ms so frames are not held back.
    QCOMPARE(FakeD2xx_LatencyTimer(FT220X), 2);
    QTRY_VERIFY(m_pDevice->GetCurrentRecordIndex() > 5);
    QCOMPARE(m_pDevice->GetCurrentRecord().band, 2);
    QCOMPARE(m_pDevice->GetLevelDbm(2), 66);

    m_pDevice->KeyPressed(IDevice::KeyType(1));
    QTRY_COMPARE(sim->KeyBytes().size(), 1);
    QCOMPARE(int(sim->KeyBytes().first()), 0x11);
}

void TestRZ450DeviceFtdi::nibbleModeThroughTheFT245R()
{
    CRZ450Simulator* sim = Attach(FT245R, CRZ450Simulator::NibbleMode);
    sim->SetLevel(2, 81);
    StartDevice();
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    QCOMPARE(m_pDevice->LinkKindInUse(), int(CRZ450Link::LinkFtdiNibble));
    QTRY_VERIFY(m_pDevice->GetCurrentRecordIndex() > 5);
    QCOMPARE(m_pDevice->GetCurrentRecord().values.value(0).level, 81.0 - 102);
    QCOMPARE(m_pDevice->GetMenuData().left(60), sim->Settings());
    QCOMPARE(sim->LastTimeReply().size(), 6); // joined nibble-wise by the detector

    // Whole multi-byte commands survive the encoding too.
    sim->InjectSilence(1);
    const int polls = sim->Polls();
    QTRY_VERIFY(sim->Polls() > polls);
    QByteArray block(96, 0);
    for (int i = 0; i < 96; ++i)
        block[i] = char(0xF0 + (i % 16));
    block[41] = 0;
    QVERIFY(m_pDevice->SetMenuData(block));
    m_pDevice->SetRequest(IDevice::WriteSettings);
    QTRY_COMPARE_WITH_TIMEOUT(sim->LastSettingsWrite().size(), 71, 3000);
    QCOMPARE(sim->LastSettingsWrite().left(60), block.left(60));
}

void TestRZ450DeviceFtdi::ft220xIsPreferredOverFt245r()
{
    Attach(FT245R, CRZ450Simulator::NibbleMode);
    Attach(FT220X, CRZ450Simulator::ByteMode);
    StartDevice();
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    QCOMPARE(m_pDevice->LinkKindInUse(), int(CRZ450Link::LinkFtdiByte));
    QCOMPARE(FakeD2xx_IsOpen(FT220X), 1);
    QCOMPARE(FakeD2xx_OpenCount(FT245R), 0);
}

void TestRZ450DeviceFtdi::serialPortIsTriedFirst()
{
    Attach(FT220X, CRZ450Simulator::ByteMode);
    CRZ450Simulator serialSim;
    serialSim.SetFrozen(true);
    CPtyServer server(&serialSim);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyRZ450"));
    QVERIFY(server.Start(link));
    qputenv("RZ450_PORT", link.toLocal8Bit());
    StartDevice();
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    QCOMPARE(m_pDevice->LinkKindInUse(), int(CRZ450Link::LinkSerial));
    QCOMPARE(FakeD2xx_OpenCount(FT220X), 0);
    m_pDevice.reset(); // before the server goes
    qunsetenv("RZ450_PORT");
}

void TestRZ450DeviceFtdi::unplugAndReplug()
{
    CRZ450Simulator* sim = Attach(FT220X, CRZ450Simulator::ByteMode);
    StartDevice();
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    const int connects = m_pDevice->ConnectCount();
    FakeD2xx_Detach(FT220X);
    // A chip that is gone fails at once: no need to wait out time-outs.
    QTRY_VERIFY_WITH_TIMEOUT(!m_pDevice->IsOnline(), 2000);
    QThread::msleep(300);
    FakeD2xx_Attach(FT220X, sim);
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    QVERIFY(m_pDevice->ConnectCount() > connects);
    QCOMPARE(FakeD2xx_LatencyTimer(FT220X), 2);
}

void TestRZ450DeviceFtdi::missingLibraryLeavesOnlyTheSerialLink()
{
    Attach(FT220X, CRZ450Simulator::ByteMode);
    StartDevice(QStringLiteral("no-such-d2xx-library"));
    QThread::msleep(700);
    QVERIFY(!m_pDevice->IsOnline());
    QVERIFY(!m_pDevice->IsError());
    QCOMPARE(FakeD2xx_OpenCount(FT220X), 0);
    QCOMPARE(m_pDevice->LinkKindInUse(), int(CRZ450Link::LinkNone));
}

QTEST_GUILESS_MAIN(TestRZ450DeviceFtdi)
#include "tst_RZ450DeviceFtdi.moc"
