// Downloading the event log from the simulated detector's flash, over the
// serial path and the FT245R's nibble encoding, with the faults a cable or
// a worn flash can cause.
#include "CPtyServer.h"
#include "CRZ450Device.h"
#include "CRZ450Simulator.h"
#include "FakeD2xx.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestRZ450LogDownload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void downloadsBanksOverSerial();
    void downloadsOverTheNibbleLink();
    void emptyLog();
    void checksumFailureEndsAt101AndARetryWorks();
    void shortBlockOrLostLinkFailsAndTheLinkRecovers();
    void wrappedLog();
    void leftoversOfALongerDownloadDoNotReturn();
    void progressNeverShowsAStaleFinish();
    void uninitializeInterruptsADownload();

private:
    void StartSerial(bool paced = false);
    int Download(int timeoutMs = 20000);
    int TotalEvents(const QList<CLogRecord>& banks) const;

    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CRZ450Simulator> m_pSim;
    std::unique_ptr<CPtyServer> m_pServer;
    std::unique_ptr<CRZ450Device> m_pDevice;
};

void TestRZ450LogDownload::init()
{
    FakeD2xx_Reset();
    qunsetenv("RZ450_PORT");
}

void TestRZ450LogDownload::cleanup()
{
    m_pDevice.reset();
    m_pServer.reset();
    FakeD2xx_Reset();
    m_pSim.reset();
    m_pDir.reset();
    qunsetenv("RZ450_PORT");
}

void TestRZ450LogDownload::StartSerial(bool paced)
{
    m_pDir = std::make_unique<QTemporaryDir>();
    m_pSim = std::make_unique<CRZ450Simulator>();
    m_pSim->SetFrozen(true);
    m_pServer = std::make_unique<CPtyServer>(m_pSim.get());
    m_pServer->SetPaced(paced);
    const QString link = m_pDir->filePath(QStringLiteral("ttyRZ450"));
    QVERIFY(m_pServer->Start(link));
    qputenv("RZ450_PORT", link.toLocal8Bit());
    m_pDevice = std::make_unique<CRZ450Device>(QStringLiteral("no-such-d2xx-library"));
    m_pDevice->SetLinkTimeout(400);
    QVERIFY(m_pDevice->Initialize());
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
}

int TestRZ450LogDownload::Download(int timeoutMs)
{
    m_pDevice->SetRequest(IDevice::ReadLog);
    QElapsedTimer timer;
    timer.start();
    int progress = m_pDevice->GetLogLoadProgress();
    while (progress < 100 && timer.elapsed() < timeoutMs) {
        QTest::qWait(20);
        progress = m_pDevice->GetLogLoadProgress();
    }
    return progress;
}

int TestRZ450LogDownload::TotalEvents(const QList<CLogRecord>& banks) const
{
    int events = 0;
    for (const CLogRecord& bank : banks)
        events += int(bank.records.size());
    return events;
}

void TestRZ450LogDownload::downloadsBanksOverSerial()
{
    StartSerial();
    m_pSim->ClearLog();
    const int year = QDate::currentDate().year();
    m_pSim->AddLogEvent(2, 80, 60, QDateTime(QDate(year, 3, 9), QTime(14, 5, 7)), 300);
    m_pSim->AddLogEvent(9, 70, 60, QDateTime(QDate(year, 3, 9), QTime(14, 6, 0)), 2);
    const int bank = m_pSim->Bank();
    m_pDevice->SetRequest(IDevice::NewBank);
    QTRY_COMPARE(m_pSim->Bank(), bank + 1);
    for (int i = 0; i < 10; ++i)
        m_pSim->AddLogEvent(i, 90, 60, QDateTime(QDate(year, 3, 10), QTime(9, 0, i)), 1);
    QCOMPARE(Download(), 100);

    const QList<CLogRecord> banks = m_pDevice->GetLogRecords();
    QCOMPARE(banks.size(), 2);
    QCOMPARE(banks[0].name, QStringLiteral("log_0309_1405.ldf"));
    QCOMPARE(banks[0].type, 2);
    QCOMPARE(banks[0].records.size(), 2);
    const CRecord& first = banks[0].records[0];
    QCOMPARE(first.band, 2);
    QCOMPARE(first.duration, 300);
    QCOMPARE(first.values[0].level, -22.0);
    QCOMPARE(QDateTime::fromSecsSinceEpoch(qint64(first.time)), QDateTime(QDate(year, 3, 9), QTime(14, 5, 7)));
    QCOMPARE(banks[1].name, QStringLiteral("log_0310_0900.ldf"));
    QCOMPARE(banks[1].records.size(), 10); // across two blocks
    QCOMPARE(banks[1].records[9].band, 9);
    // Live exchanges go on after the download.
    const int count = m_pDevice->GetCurrentRecordIndex();
    QTRY_VERIFY(m_pDevice->GetCurrentRecordIndex() > count + 3);
}

void TestRZ450LogDownload::downloadsOverTheNibbleLink()
{
    m_pSim = std::make_unique<CRZ450Simulator>(CRZ450Simulator::NibbleMode);
    m_pSim->SetFrozen(true);
    m_pSim->ClearLog();
    m_pSim->FillLog(12, 3);
    FakeD2xx_Attach("FT245R USB FIFO", m_pSim.get());
    m_pDevice = std::make_unique<CRZ450Device>();
    m_pDevice->SetLinkTimeout(400);
    QVERIFY(m_pDevice->Initialize());
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    QCOMPARE(m_pDevice->LinkKindInUse(), int(CRZ450Link::LinkFtdiNibble));
    QCOMPARE(Download(), 100);
    const QList<CLogRecord> banks = m_pDevice->GetLogRecords();
    QCOMPARE(banks.size(), 3);
    QCOMPARE(TotalEvents(banks), 12 * 8);
}

void TestRZ450LogDownload::emptyLog()
{
    StartSerial();
    m_pSim->ClearLog();
    QCOMPARE(Download(), 100);
    QVERIFY(m_pDevice->GetLogRecords().isEmpty());
    QCOMPARE(m_pSim->LogBlocksSent(), 1); // the end block alone
}

void TestRZ450LogDownload::checksumFailureEndsAt101AndARetryWorks()
{
    StartSerial();
    m_pSim->ClearLog();
    m_pSim->FillLog(20, 1);
    m_pSim->InjectBadChecksum(10);
    QCOMPARE(Download(), 101);
    // The blocks before the bad one stay readable.
    QCOMPARE(TotalEvents(m_pDevice->GetLogRecords()), 10 * 8 + 8);
    QTRY_VERIFY(m_pDevice->IsOnline());
    QCOMPARE(Download(), 100);
    QCOMPARE(TotalEvents(m_pDevice->GetLogRecords()), 20 * 8);
}

void TestRZ450LogDownload::shortBlockOrLostLinkFailsAndTheLinkRecovers()
{
    StartSerial();
    m_pSim->ClearLog();
    m_pSim->FillLog(8, 1);
    m_pSim->InjectShortBlock(3);
    QCOMPARE(Download(), 101);
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 5000);
    int count = m_pDevice->GetCurrentRecordIndex();
    QTRY_VERIFY(m_pDevice->GetCurrentRecordIndex() > count + 3);

    m_pServer->SetReplugDelay(300);
    m_pSim->InjectDisconnectAtBlock(4);
    QCOMPARE(Download(), 101);
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->IsOnline(), 10000);
    QCOMPARE(Download(), 100);
    QCOMPARE(TotalEvents(m_pDevice->GetLogRecords()), 8 * 8);
}

void TestRZ450LogDownload::wrappedLog()
{
    StartSerial();
    m_pSim->SetWrappedLog();
    QCOMPARE(Download(30000), 100);
    QCOMPARE(m_pSim->LogBlocksSent(), 1000);
    const QList<CLogRecord> banks = m_pDevice->GetLogRecords();
    QVERIFY(!banks.isEmpty());
    const int events = TotalEvents(banks);
    QVERIFY(events > 0 && events <= 8000);
    for (const CLogRecord& bank : banks)
        QVERIFY(bank.name.startsWith(QLatin1String("log_")) && bank.name.endsWith(QLatin1String(".ldf")));
}

void TestRZ450LogDownload::leftoversOfALongerDownloadDoNotReturn()
{
    StartSerial();
    m_pSim->ClearLog();
    m_pSim->FillLog(50, 5);
    QCOMPARE(Download(), 100);
    QCOMPARE(TotalEvents(m_pDevice->GetLogRecords()), 50 * 8);

    m_pSim->ClearLog();
    m_pSim->FillLog(2, 1);
    QCOMPARE(Download(), 100);
    const QList<CLogRecord> banks = m_pDevice->GetLogRecords();
    QCOMPARE(banks.size(), 1);
    QCOMPARE(TotalEvents(banks), 2 * 8);
}

void TestRZ450LogDownload::progressNeverShowsAStaleFinish()
{
    StartSerial(true);
    m_pSim->ClearLog();
    m_pSim->FillLog(100, 1);
    QCOMPARE(Download(), 100);
    // Posting the next download resets the figure at once, before the
    // worker has even seen the command.
    m_pDevice->SetRequest(IDevice::ReadLog);
    QCOMPARE(m_pDevice->GetLogLoadProgress(), 0);
    int last = 0;
    bool sawRunning = false;
    QElapsedTimer timer;
    timer.start();
    while (last < 100 && timer.elapsed() < 20000) {
        const int progress = m_pDevice->GetLogLoadProgress();
        QVERIFY(progress >= last); // never backwards, never a stale 100 first
        sawRunning |= progress > 0 && progress < 100;
        last = progress;
        QTest::qWait(5);
    }
    QCOMPARE(last, 100);
    QVERIFY(sawRunning);
}

void TestRZ450LogDownload::uninitializeInterruptsADownload()
{
    StartSerial(true);
    m_pDevice->SetLinkTimeout(CRZ450Device::LINK_TIMEOUT_MS);
    m_pSim->SetWrappedLog(); // 1000 blocks: about three seconds on the line
    m_pDevice->SetRequest(IDevice::ReadLog);
    QTRY_VERIFY_WITH_TIMEOUT(m_pDevice->GetLogLoadProgress() > 0, 5000);
    QElapsedTimer timer;
    timer.start();
    m_pDevice->Uninitialize();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(m_pSim->LogBlocksSent() < 1000);
    QCOMPARE(m_pDevice->GetLogLoadProgress(), 101);
}

QTEST_GUILESS_MAIN(TestRZ450LogDownload)
#include "tst_RZ450LogDownload.moc"
