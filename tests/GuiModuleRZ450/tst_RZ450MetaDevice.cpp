// The RZ450 queries through the device proxy: answered by a local driver
// without a byte on the network, or by a scripted server over loopback.
#include "CFakeRZ450Device.h"
#include "CRZ450MetaDevice.h"
#include "CScriptedServer.h"
#include "proxy/CMetaDevice.h"

#include <QTest>

#include <functional>
#include <memory>

namespace {

const int TEST_WAIT_MS = 2000;

struct QUERY
{
    QByteArray request;
    QByteArray answer;
    std::function<bool(CRZ450MetaDevice&)> check;
};

QList<QUERY> EveryQuery()
{
    using Q = CRZ450MetaDevice;
    return {
        { "RZ450_GetLanguageID", "1", [](Q& q) { return q.GetLanguageID() == 1; } },
        { "RZ450_IsSchedule", "2", [](Q& q) { return q.IsSchedule(); } },
        { "RZ450_GetCurrentBank", "513", [](Q& q) { return q.GetCurrentBank() == 513; } },
        { "RZ450_IsWaiting", "0", [](Q& q) { return !q.IsWaiting(); } },
        { "RZ450_GetTmpX", "5", [](Q& q) { return q.GetTmpX() == 5; } },
        { "RZ450_GetLevelDbm:3", "75", [](Q& q) { return q.GetLevelDbm(3) == 75; } },
        { "RZ450_GetThreshold:30", "40", [](Q& q) { return q.GetThreshold(30) == 40; } },
        { "RZ450_GetDbmCorrScale:18", "-18", [](Q& q) { return q.GetDbmCorrScale(18) == -18; } },
        { "RZ450_GetEventCntDelay:2", "12", [](Q& q) { return q.GetEventCntDelay(2) == 12; } },
        { "RZ450_GetIndicateBand:0", "20", [](Q& q) { return q.GetIndicateBand(0) == 20; } },
        { "RZ450_IsIndicateBand:-1", "x", [](Q& q) { return !q.IsIndicateBand(-1); } },
        { "RZ450_GetBandName:7", "DECT \xe9/",
            [](Q& q) { return q.GetBandName(7) == QString::fromLatin1("DECT \xe9/"); } },
        { "RZ450_IsAbodeLevel", "2", [](Q& q) { return q.IsAbodeLevel() == 2; } },
        { "RZ450_IsShowFreq", "3", [](Q& q) { return q.IsShowFreq() == 3; } },
        { "RZ450_GetFreqMax", "2450000", [](Q& q) { return q.GetFreqMax() == 2450000; } },
        { "RZ450_GetLevelMax", "201", [](Q& q) { return q.GetLevelMax() == 201; } },
        { "RZ450_GetLevelNoise", "12", [](Q& q) { return q.GetLevelNoise() == 12; } },
        { "RZ450_GetLevelDbMin", "255", [](Q& q) { return q.GetLevelDbMin() == 255; } },
        { "RZ450_GetDemodMode", "2", [](Q& q) { return q.GetDemodMode() == 2; } },
        { "RZ450_GetCntPeakFreq", "9", [](Q& q) { return q.GetCntPeakFreq() == 9; } },
        { "RZ450_GetOverload", "1", [](Q& q) { return q.GetOverload() == 1; } },
        { "RZ450_GetMute", "0", [](Q& q) { return q.GetMute() == 0; } },
        { "RZ450_GetVolume", "6", [](Q& q) { return q.GetVolume() == 6; } },
        { "RZ450_GetBypassPercent", "35", [](Q& q) { return q.GetBypassPercent() == 35; } },
        { "RZ450_GetAlarmFlags", "262146", [](Q& q) { return q.GetAlarmFlags() == 262146; } },
        { "RZ450_GetLevels", QByteArray(31, 'K'), [](Q& q) { return q.GetLevels() == QByteArray(31, 'K'); } },
        { "RZ450_GetThresholds", QByteArray(31, '('), [](Q& q) { return q.GetThresholds() == QByteArray(31, '('); } },
    };
}

} // namespace

class TestRZ450MetaDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void localDriverAnswersWithoutTheNetwork();
    void eachQueryHasItsCommandText();
    void shortSpectrumLeavesTheBufferAlone();
    void localDeviceOfAnotherModelAnswersNothing();
    void oldServerIsAskedBandByBand();
};

void TestRZ450MetaDevice::initTestCase()
{
    CMetaDevice::SetTimeouts(TEST_WAIT_MS, TEST_WAIT_MS);
}

void TestRZ450MetaDevice::cleanupTestCase()
{
    CMetaDevice::SetTimeouts(0, 0);
}

void TestRZ450MetaDevice::localDriverAnswersWithoutTheNetwork()
{
    CFakeRZ450Device fake;
    CMetaDevice proxy(&fake);
    CRZ450MetaDevice rz450(&proxy);
    QCOMPARE(rz450.GetLevelDbm(3), 75);
    QCOMPARE(rz450.GetDbmCorrScale(18), -18);
    QVERIFY(rz450.IsSchedule() && rz450.IsWaiting() && rz450.IsIndicateBand(1));
    QCOMPARE(rz450.GetBandName(2), QStringLiteral("GSM 900/"));
    QCOMPARE(rz450.IsAbodeLevel(), 2);
    QCOMPARE(rz450.GetBypassPercent(), 35);
    char spectrum[160] = {};
    QVERIFY(rz450.GetSpectrumData(spectrum, 160)); // true whatever the driver says
    QCOMPARE(spectrum[159], char(7));
    QCOMPARE(fake.m_calls,
        QStringList({ "GetLevelDbm:3", "GetDbmCorrScale:18", "IsSchedule", "IsWaiting", "IsIndicateBand:1",
            "GetBandName:2", "IsAbodeLevel", "GetBypassPercent", "GetSpectrumData:160" }));
}

void TestRZ450MetaDevice::eachQueryHasItsCommandText()
{
    const QList<QUERY> queries = EveryQuery();
    CScriptedServer server;
    server.Greet();
    for (const QUERY& query : queries)
        server.Expect(query.request).Answer(query.answer);
    const QByteArray spectrum(160, '\x11');
    server.Expect("RZ450_GetSpectrumData:160").Answer(spectrum + "extra");
    server.Expect("Uninitialize").Answer("");
    QVERIFY(server.Listen());
    auto proxy = std::make_unique<CMetaDevice>(server.Address());
    QVERIFY(proxy->Initialize());
    CRZ450MetaDevice rz450(proxy.get());
    for (const QUERY& query : queries)
        QVERIFY2(query.check(rz450), query.request.constData());
    QByteArray buffer(160, '\0');
    QVERIFY(rz450.GetSpectrumData(buffer.data(), 160));
    QCOMPARE(buffer, spectrum);
    proxy.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestRZ450MetaDevice::shortSpectrumLeavesTheBufferAlone()
{
    CScriptedServer server;
    server.Greet()
        .Expect("RZ450_GetSpectrumData:160")
        .Answer(QByteArray(159, '\x11'))
        .Expect("Uninitialize")
        .Answer("");
    QVERIFY(server.Listen());
    auto proxy = std::make_unique<CMetaDevice>(server.Address());
    QVERIFY(proxy->Initialize());
    CRZ450MetaDevice rz450(proxy.get());
    QByteArray buffer(160, '\x22');
    QVERIFY(!rz450.GetSpectrumData(buffer.data(), 160));
    QCOMPARE(buffer, QByteArray(160, '\x22'));
    QVERIFY(!rz450.GetSpectrumData(buffer.data(), -1)); // nothing asked, nothing sent
    QVERIFY(!rz450.GetSpectrumData(nullptr, 160));
    proxy.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

void TestRZ450MetaDevice::localDeviceOfAnotherModelAnswersNothing()
{
    CFakeRZ450Device driver;
    CMetaDevice inner(&driver);
    CMetaDevice outer(&inner); // a local device, but no RZ450
    CRZ450MetaDevice rz450(&outer);
    QCOMPARE(rz450.GetLevelDbm(3), 0);
    QVERIFY(rz450.GetBandName(3).isEmpty());
    QVERIFY(driver.m_calls.isEmpty());
}

// A server from before the one-look queries answers them with nothing.
void TestRZ450MetaDevice::oldServerIsAskedBandByBand()
{
    CScriptedServer server;
    server.Greet().Expect("RZ450_GetAlarmFlags").Answer("");
    for (int band = 0; band < 19; ++band)
        server.Expect("RZ450_IsIndicateBand:" + QByteArray::number(band)).Answer(band == 2 || band == 18 ? "1" : "0");
    server.Expect("RZ450_GetLevels").Answer("");
    for (int band = 0; band < 31; ++band)
        server.Expect("RZ450_GetLevelDbm:" + QByteArray::number(band)).Answer(QByteArray::number(60 + band));
    server.Expect("Uninitialize").Answer("");
    QVERIFY(server.Listen());
    auto proxy = std::make_unique<CMetaDevice>(server.Address());
    QVERIFY(proxy->Initialize());
    CRZ450MetaDevice rz450(proxy.get());
    QCOMPARE(rz450.GetAlarmFlags(), quint32((1 << 2) | (1 << 18)));
    const QByteArray levels = rz450.GetLevels();
    QCOMPARE(levels.size(), 31);
    QCOMPARE(quint8(levels[30]), quint8(90));
    proxy.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());

    CFakeRZ450Device fake;
    CMetaDevice local(&fake);
    CRZ450MetaDevice direct(&local);
    QCOMPARE(direct.GetAlarmFlags(), quint32(0x2AAAA)); // its odd bands
    QCOMPARE(quint8(direct.GetThresholds()[30]), quint8(70));
}

QTEST_GUILESS_MAIN(TestRZ450MetaDevice)
#include "tst_RZ450MetaDevice.moc"
