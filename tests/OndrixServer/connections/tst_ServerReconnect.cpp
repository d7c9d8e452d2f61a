// A live client under a server that is stopped and started again: the
// proxy, the status bar's connection field and the record cursor as the
// main window's poll drives them.
#include "CPtyServer.h"
#include "CRZ450Simulator.h"
#include "CServerProcess.h"
#include "mainwindow/CConnectionStatus.h"
#include "proxy/CMetaDevice.h"
#include "proxy/CRecordCursor.h"

#include <QDeadlineTimer>
#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

bool Eventually(const std::function<bool()>& condition, int ms = 20000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(25);
    }
    return true;
}

} // namespace

class tst_ServerReconnect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void serverRestartedUnderALiveClient();
    void stoppedServerHoldsNoTickLong_data();
    void stoppedServerHoldsNoTickLong();

private:
    // One tick of the window's poll; a failure is counted, not thrown.
    void Tick();

    QTemporaryDir m_folder;
    CRZ450Simulator m_simulator;
    std::unique_ptr<CPtyServer> m_pPty;
    std::unique_ptr<CServerProcess> m_pServer;
    std::unique_ptr<CMetaDevice> m_pDevice;
    CRecordCursor m_cursor;
    qint64 m_nTaken = 0;
    int m_nFailures = 0;
    qint64 m_nSlowestTick = 0;
};

void tst_ServerReconnect::initTestCase()
{
    CMetaDevice::SetTimeouts(2000, 5000);
    CMetaDevice::SetReconnectTiming(100, 400, 0);
    m_simulator.SetMode(CRZ450Simulator::MODE_MAN);
    m_pPty = std::make_unique<CPtyServer>(&m_simulator);
    QVERIFY(m_pPty->Start(m_folder.filePath(QStringLiteral("ttyRZ450"))));
    m_pServer = std::make_unique<CServerProcess>(m_pPty->Path());
    QVERIFY2(m_pServer->Start(CServerProcess::RandomAddress()), qPrintable(m_pServer->Log()));
}

void tst_ServerReconnect::cleanupTestCase()
{
    m_pDevice.reset();
    if (m_pServer)
        m_pServer->Terminate();
    CMetaDevice::SetReconnectTiming(0, 0, 0);
}

void tst_ServerReconnect::Tick()
{
    QElapsedTimer tick;
    tick.start();
    try {
        if (m_pDevice->IsOnline() && m_pDevice->GetCurrentMode() > 0)
            m_nTaken += m_cursor.Take(m_pDevice.get(), m_pDevice->GetCurrentRecordIndex(), 1000).records.size();
    } catch (const std::exception&) {
        ++m_nFailures;
    }
    m_nSlowestTick = std::max(m_nSlowestTick, tick.elapsed());
}

void tst_ServerReconnect::serverRestartedUnderALiveClient()
{
    m_pDevice = std::make_unique<CMetaDevice>(m_pServer->Address());
    QVERIFY(m_pDevice->Initialize());
    QVERIFY(m_pDevice->SelectServerDevice(QStringLiteral("RZ450")));
    m_pDevice->FollowLive();
    QMainWindow window;
    CConnectionStatus status(&window, window.statusBar(), m_pDevice.get());
    QSignalSpy reconnected(&status, &CConnectionStatus::reconnected);
    auto* label = window.statusBar()->findChild<QLabel*>(QStringLiteral("m_pConnectionLabel"));
    QVERIFY(label);
    QVERIFY(Eventually([&] { return Tick(), m_nTaken > 20; }));
    QVERIFY(!label->text().contains(QStringLiteral("Reconnecting...")));

    QCOMPARE(m_pServer->Terminate(), 0);
    QVERIFY(Eventually([&] { return Tick(), label->text().contains(QStringLiteral("Reconnecting...")); }));
    QVERIFY(m_pDevice->IsReconnecting());
    // Whatever call met the loss failed; none after it.
    QVERIFY(m_nFailures <= 1);
    const int failures = m_nFailures;
    QTest::qWait(500);
    for (int i = 0; i < 20; ++i)
        Tick();
    QCOMPARE(m_nFailures, failures);
    QCOMPARE(reconnected.count(), 0);

    QVERIFY2(m_pServer->Start(m_pServer->Address()), qPrintable(m_pServer->Log()));
    QVERIFY(Eventually([&] { return Tick(), reconnected.count() == 1; }));
    QVERIFY(!label->text().contains(QStringLiteral("Reconnecting...")));
    const qint64 before = m_nTaken;
    QVERIFY(Eventually([&] { return Tick(), m_nTaken > before + 20; }));
    QCOMPARE(m_nFailures, failures);
    QCOMPARE(reconnected.count(), 1);
    QCOMPARE(m_pDevice->Reconnections(), 1);
}

void tst_ServerReconnect::stoppedServerHoldsNoTickLong_data()
{
    QTest::addColumn<int>("stoppedMs");
    QTest::addColumn<bool>("lost");
    QTest::newRow("within the wait") << 1000 << false;
    QTest::newRow("past the wait") << 3500 << true;
}

void tst_ServerReconnect::stoppedServerHoldsNoTickLong()
{
    QFETCH(int, stoppedMs);
    QFETCH(bool, lost);
    CMetaDevice::SetTimeouts(2000, 2000);
    m_pDevice = std::make_unique<CMetaDevice>(m_pServer->Address());
    QVERIFY(m_pDevice->Initialize());
    m_pDevice->FollowLive();
    m_cursor.Restart(m_pDevice->GetCurrentRecordIndex());
    QVERIFY(Eventually([&] { return Tick(), m_nTaken > 20; }));
    m_nSlowestTick = 0;
    const int reconnections = m_pDevice->Reconnections();

    m_pServer->Freeze(true);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < stoppedMs) {
        Tick();
        QTest::qWait(25);
    }
    QCOMPARE(m_pDevice->IsReconnecting(), lost);
    QVERIFY(m_pDevice->IsWaiting() != lost);
    m_pServer->Freeze(false);
    const qint64 before = m_nTaken;
    QVERIFY(Eventually([&] { return Tick(), m_nTaken > before + 20; }));
    QVERIFY2(m_nSlowestTick < 100, qPrintable(QString::number(m_nSlowestTick)));
    QVERIFY(!m_pDevice->IsWaiting() && !m_pDevice->IsReconnecting());
    QCOMPARE(m_pDevice->Reconnections(), reconnections + (lost ? 1 : 0));
    CMetaDevice::SetTimeouts(2000, 5000);
}

QTEST_MAIN(tst_ServerReconnect)
#include "tst_ServerReconnect.moc"
