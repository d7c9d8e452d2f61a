// The server search over a loopback subnet of its own: never the machine's
// interfaces. Servers listen on 127.x.y.z, the probes meet refusals
// everywhere else in the block.
#include "CLoopbackServer.h"
#include "CScriptedServer.h"
#include "connect/CServerSearchDialog.h"
#include "connect/CServerSearchThread.h"
#include "proxy/CMetaDevice.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QNetworkAddressEntry Entry(quint32 ip, int prefix)
{
    QNetworkAddressEntry entry;
    entry.setIp(QHostAddress(ip));
    entry.setPrefixLength(prefix);
    return entry;
}

QString Dotted(quint32 ip)
{
    return QHostAddress(ip).toString();
}

// The user's cancel: the progress dialog's own button.
void PressCancel(QDialog& dialog)
{
    dialog.findChild<QProgressDialog*>()->findChild<QPushButton*>()->click();
}

} // namespace

class TestServerSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void hostCountPerEntry();
    void findsTheServerAndReportsProgressTo100();
    void entriesWithoutHostsProbeNothing();
    void findsAnEncryptedServerByItsHandshake();
    void dialogListsAndReturnsTheServer();
    void cancelEndsTheSearchAfterTheRunningProbe();
    void aCancelledSearchLeavesTheNextOneAlone();
    void destroyingTheDialogMidSearchWaitsForTheProbe();

private:
    quint32 m_nBlock = 0;
};

void TestServerSearch::init()
{
    m_nBlock = CLoopbackServer::RandomLoopbackBlock();
}

void TestServerSearch::cleanup()
{
    CMetaDevice::SetTimeouts(0, 0);
}

void TestServerSearch::hostCountPerEntry()
{
    QCOMPARE(CServerSearchThread::HostCount(Entry(m_nBlock, 24)), quint64(254));
    QCOMPARE(CServerSearchThread::HostCount(Entry(m_nBlock, 29)), quint64(6));
    QCOMPARE(CServerSearchThread::HostCount(Entry(m_nBlock, 30)), quint64(2));
    // A point-to-point pair and a single address have no hosts to probe;
    // counted naively the /32 would wrap to 2^32 - 1.
    QCOMPARE(CServerSearchThread::HostCount(Entry(m_nBlock, 31)), quint64(0));
    QCOMPARE(CServerSearchThread::HostCount(Entry(m_nBlock, 32)), quint64(0));
    QNetworkAddressEntry v6;
    v6.setIp(QHostAddress(QStringLiteral("fe80::1")));
    v6.setPrefixLength(64);
    QCOMPARE(CServerSearchThread::HostCount(v6), quint64(0));
}

void TestServerSearch::findsTheServerAndReportsProgressTo100()
{
    CLoopbackServer server(Dotted(m_nBlock + 3), CLoopbackServer::Normal, QStringLiteral("RZ450"));
    QVERIFY(server.Listen());
    CServerSearchThread thread;
    // Host bits set in the entry's address must not shift the subnet.
    thread.SetAddressEntries({ Entry(m_nBlock + 5, 29) });
    QSignalSpy found(&thread, &CServerSearchThread::serverFound);
    QSignalSpy progress(&thread, &CServerSearchThread::progressChanged);
    QSignalSpy finished(&thread, &CServerSearchThread::finished);
    thread.StartSearch();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);

    QCOMPARE(found.count(), 1);
    QCOMPARE(found.first().first().toString(), Dotted(m_nBlock + 3));
    QCOMPARE(progress.count(), 6);
    QList<int> percents;
    for (const QList<QVariant>& step : progress)
        percents.append(step.first().toInt());
    QCOMPARE(percents, QList<int>({ 16, 33, 50, 66, 83, 100 }));
    QCOMPARE(progress.first().at(1).toString(), Dotted(m_nBlock + 1));
    QCOMPARE(progress.last().at(1).toString(), Dotted(m_nBlock + 6));
    QVERIFY(!thread.IsSearching());
    // The probe said goodbye like any client.
    QTRY_VERIFY(server.Requests().contains(QStringLiteral("Uninitialize")));
}

void TestServerSearch::findsAnEncryptedServerByItsHandshake()
{
    CScriptedServer server;
    QVERIFY(server.Encrypted().Listen(Dotted(m_nBlock + 2)));
    CServerSearchThread thread;
    thread.SetAddressEntries({ Entry(m_nBlock, 30) });
    QSignalSpy found(&thread, &CServerSearchThread::serverFound);
    QSignalSpy finished(&thread, &CServerSearchThread::finished);
    thread.StartSearch();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(found.count(), 1);
    QCOMPARE(found.first().first().toString(), QStringLiteral("ondrixs://") + Dotted(m_nBlock + 2));
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), QByteArray()); // no key to a server nobody trusts yet
}

void TestServerSearch::entriesWithoutHostsProbeNothing()
{
    CServerSearchThread thread;
    thread.SetAddressEntries({ Entry(m_nBlock + 1, 32), Entry(m_nBlock + 2, 31) });
    QSignalSpy progress(&thread, &CServerSearchThread::progressChanged);
    QSignalSpy finished(&thread, &CServerSearchThread::finished);
    thread.StartSearch();
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(progress.count(), 0);
}

void TestServerSearch::dialogListsAndReturnsTheServer()
{
    CLoopbackServer first(Dotted(m_nBlock + 2), CLoopbackServer::Normal);
    CLoopbackServer second(Dotted(m_nBlock + 6), CLoopbackServer::Normal);
    QVERIFY(first.Listen() && second.Listen());
    CServerSearchDialog dialog;
    dialog.SetAddressEntries({ Entry(m_nBlock, 29) });
    auto* select = dialog.findChild<QPushButton*>(QStringLiteral("m_pSelectButton"));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("m_pServersList"));
    QVERIFY(!select->isEnabled());

    // Search runs the progress dialog modally until the thread finishes.
    dialog.findChild<QPushButton*>(QStringLiteral("m_pSearchButton"))->click();
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), Dotted(m_nBlock + 2));
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(select->isEnabled());
    auto* progress = dialog.findChild<QProgressDialog*>();
    QVERIFY(progress && !progress->isVisible());
    QCOMPARE(progress->value(), 100);

    list->setCurrentRow(1);
    select->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.GetSelectedServer(), Dotted(m_nBlock + 6));
}

void TestServerSearch::cancelEndsTheSearchAfterTheRunningProbe()
{
    // The first host accepts and never greets: each probe of it waits for
    // the whole greeting time-out.
    CMetaDevice::SetTimeouts(1000, 600);
    CLoopbackServer silent(Dotted(m_nBlock + 1), CLoopbackServer::NoGreeting);
    QVERIFY(silent.Listen());
    CServerSearchDialog dialog;
    dialog.SetAddressEntries({ Entry(m_nBlock, 29), Entry(m_nBlock, 24) });
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(150, &dialog, [&dialog] { PressCancel(dialog); });
    dialog.findChild<QPushButton*>(QStringLiteral("m_pSearchButton"))->click();
    // The modal progress ends at the cancel, not after 260 probes.
    QVERIFY2(clock.elapsed() < 600, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!dialog.findChild<QProgressDialog*>()->isVisible());
    QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("m_pSelectButton"))->isEnabled());
    // The running probe returns within its time-out, and nothing follows.
    QTRY_COMPARE_WITH_TIMEOUT(silent.Connections(), 1, 2000);
    QTest::qWait(800);
    QCOMPARE(silent.Connections(), 1);
}

void TestServerSearch::aCancelledSearchLeavesTheNextOneAlone()
{
    CMetaDevice::SetTimeouts(1000, 600);
    CLoopbackServer silent(Dotted(m_nBlock + 1), CLoopbackServer::NoGreeting);
    CLoopbackServer server(Dotted(m_nBlock + 3), CLoopbackServer::Normal);
    QVERIFY(silent.Listen() && server.Listen());
    CServerSearchDialog dialog;
    dialog.SetAddressEntries({ Entry(m_nBlock, 29) });
    auto* search = dialog.findChild<QPushButton*>(QStringLiteral("m_pSearchButton"));
    QTimer::singleShot(150, &dialog, [&dialog] { PressCancel(dialog); });
    search->click();
    // Again while the cancelled search's probe still waits: its end must
    // not end this search too.
    search->click();
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("m_pServersList"));
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), Dotted(m_nBlock + 3));
    QCOMPARE(dialog.findChild<QProgressDialog*>()->value(), 100);
}

void TestServerSearch::destroyingTheDialogMidSearchWaitsForTheProbe()
{
    CMetaDevice::SetTimeouts(1000, 400);
    CLoopbackServer silent(Dotted(m_nBlock + 1), CLoopbackServer::NoGreeting);
    QVERIFY(silent.Listen());
    auto dialog = std::make_unique<CServerSearchDialog>();
    dialog->SetAddressEntries({ Entry(m_nBlock, 29) });
    QTimer::singleShot(100, dialog.get(), [&dialog] { PressCancel(*dialog); });
    dialog->findChild<QPushButton*>(QStringLiteral("m_pSearchButton"))->click();
    QElapsedTimer clock;
    clock.start();
    dialog.reset(); // must not destroy a running thread
    QVERIFY(clock.elapsed() < 1500);
}

QTEST_MAIN(TestServerSearch)
#include "tst_ServerSearch.moc"
