#include "CPtyServer.h"
#include "CRZ450Simulator.h"
#include "CServerProcess.h"
#include "IDevice.h"
#include "RZ450Layout.h"
#include "alerts/CAlertCenter.h"
#include "alerts/CAlertLogFile.h"
#include "connect/CKnownServers.h"
#include "overview/CBandStripDelegate.h"
#include "overview/COverview.h"
#include "overview/COverviewDetectors.h"
#include "overview/COverviewModel.h"
#include "overview/COverviewWatch.h"
#include "protocol/CServerAddress.h"
#include "watch/CRZ450Looker.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

struct DETECTOR
{
    CRZ450Simulator simulator;
    CPtyServer pty { &simulator };
    std::unique_ptr<CServerProcess> server;
};

// The longest the window's thread went without its 10 ms timer firing.
class CTickWatch : public QObject
{
public:
    CTickWatch()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this,
            [this] { m_nLongest = std::max(m_nLongest, m_clock.restart()); });
        m_clock.start();
        m_timer.start();
    }
    qint64 Longest() const { return m_nLongest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_nLongest = 0;
};

QByteArray Bands(int fill)
{
    return QByteArray(RZ450Layout::BAND_COUNT, char(fill));
}

} // namespace

class tst_Overview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void addressesAreOneSpelling_data();
    void addressesAreOneSpelling();
    void stripShowsLevelsAndAlarms_data();
    void stripShowsLevelsAndAlarms();
    void alertsFromThreeServers();
    void silentServerLeavesTheOthersAlone();
    void fiftyDetectorsFortyFiveUnreachable();
    void endsWhileAServerHangs();

private:
    bool StartDetector(DETECTOR& detector, const QString& name, bool tls);
    std::unique_ptr<COverview> Watch(const QList<OVERVIEW_DETECTOR>& detectors);
    static bool WaitForRows(const COverview& overview, const std::function<bool(const OVERVIEW_ROW&)>& ready,
        const QList<int>& rows, int ms);
    QString Tls(const DETECTOR& detector) const { return QStringLiteral("ondrixs://") + detector.server->Address(); }

    QTemporaryDir m_folder;
    std::unique_ptr<QTemporaryDir> m_pStorage;
    DETECTOR m_plain;
    DETECTOR m_tlsA;
    DETECTOR m_tlsB;
    std::unique_ptr<CAlertCenter> m_pCenter;
};

bool tst_Overview::StartDetector(DETECTOR& detector, const QString& name, bool tls)
{
    detector.simulator.SetMode(CRZ450Simulator::MODE_AUTO);
    if (!detector.pty.Start(m_folder.filePath(name)))
        return false;
    detector.server = std::make_unique<CServerProcess>(detector.pty.Path());
    const QString address = CServerProcess::RandomAddress();
    if (!tls)
        return detector.server->Start(address);
    const QStringList state { QStringLiteral("--state-dir"), m_folder.filePath(name + QStringLiteral("-state")) };
    const QString fingerprint = CServerProcess::Output(state + QStringList { QStringLiteral("--fingerprint") });
    const QString key = CServerProcess::Key(m_folder.filePath(name + QStringLiteral("-state")), QStringLiteral("view"));
    // As the start-up window leaves a server the user trusted.
    CKnownServers().Remember(CServerAddress(QStringLiteral("ondrixs://") + address), fingerprint, key);
    return detector.server->Start(address, state + QStringList { QStringLiteral("--tls-listen"), address });
}

void tst_Overview::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.filePath(QStringLiteral("settings")));
    QFile::remove(CKnownServers::DefaultPath());
    QVERIFY(StartDetector(m_plain, QStringLiteral("ttyPlain"), false));
    QVERIFY(StartDetector(m_tlsA, QStringLiteral("ttyA"), true));
    QVERIFY(StartDetector(m_tlsB, QStringLiteral("ttyB"), true));
}

void tst_Overview::cleanupTestCase()
{
    for (DETECTOR* detector : { &m_plain, &m_tlsA, &m_tlsB })
        detector->server.reset();
}

void tst_Overview::init()
{
    m_pStorage = std::make_unique<QTemporaryDir>();
    m_pCenter = std::make_unique<CAlertCenter>();
    m_pCenter->SetStoragePath(m_pStorage->path());
    for (DETECTOR* detector : { &m_plain, &m_tlsA, &m_tlsB })
        detector->simulator.ClearIndicationFlags();
}

std::unique_ptr<COverview> tst_Overview::Watch(const QList<OVERVIEW_DETECTOR>& detectors)
{
    COverviewDetectors::Save(detectors);
    auto overview = std::make_unique<COverview>(&CRZ450Looker::Look, m_pCenter.get());
    overview->Start();
    return overview;
}

bool tst_Overview::WaitForRows(const COverview& overview, const std::function<bool(const OVERVIEW_ROW&)>& ready,
    const QList<int>& rows, int ms)
{
    return QTest::qWaitFor(
        [&] {
            return std::all_of(rows.cbegin(), rows.cend(), [&](int row) { return ready(overview.Model()->Row(row)); });
        },
        ms);
}

bool IsOnline(const OVERVIEW_ROW& row)
{
    return row.state == OVERVIEW_ROW::Online;
}

void tst_Overview::addressesAreOneSpelling_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("plain scheme dropped") << "ondrix://127.0.0.5"
                                          << "127.0.0.5";
    QTest::newRow("spaces dropped") << " 127.0.0.5:7000 "
                                    << "127.0.0.5:7000";
    QTest::newRow("encrypted scheme kept") << "ondrixs://127.0.0.5"
                                           << "ondrixs://127.0.0.5";
}

// Typed again in another spelling, an address is not a second row; the
// list has a bound.
void tst_Overview::addressesAreOneSpelling()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(COverviewDetectors::Normalized(typed), kept);
    QList<OVERVIEW_DETECTOR> detectors { { kept, {} } };
    QVERIFY(!COverviewDetectors::Add(detectors, { COverviewDetectors::Normalized(typed), QStringLiteral("again") }));
    for (int i = 1; i < COverviewDetectors::MAX_DETECTORS; ++i)
        QVERIFY(COverviewDetectors::Add(detectors, { QString::number(i), {} }));
    QVERIFY(!COverviewDetectors::Add(detectors, { QStringLiteral("one more"), {} }));
}

void tst_Overview::stripShowsLevelsAndAlarms_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("band");
    QTest::addColumn<QColor>("expected");
    const QColor none(Qt::white);
    QTest::newRow("flagged band in red") << int(IDevice::MODE_AUTO) << 4 << CBandStripDelegate::AlarmColor();
    QTest::newRow("measured band in blue") << int(IDevice::MODE_AUTO) << 0 << CBandStripDelegate::LevelColor();
    QTest::newRow("flag-less band: no bar in automatic mode") << int(IDevice::MODE_AUTO) << 17 << none;
    QTest::newRow("manual mode: only the watched band") << int(IDevice::MODE_MAN) << 0 << none;
}

void tst_Overview::stripShowsLevelsAndAlarms()
{
    QFETCH(int, mode);
    QFETCH(int, band);
    QFETCH(QColor, expected);
    RZ450_LOOK look;
    look.online = true;
    look.mode = mode;
    look.band = 2;
    look.flags = 1U << 4;
    look.levels = Bands(RZ450Layout::DBM_OFFSET - 40);     // -40 dBm
    look.thresholds = Bands(RZ450Layout::DBM_OFFSET - 60); // -60 dBm
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CBandStripDelegate::Paint(painter, image.rect(), look);
    painter.end();
    const int x = CBandStripDelegate::GAP + band * (CBandStripDelegate::BAR_WIDTH + CBandStripDelegate::GAP) + 1;
    QCOMPARE(image.pixelColor(x, image.height() - 3), expected);
    QCOMPARE(image.pixelColor(x, 2), QColor(Qt::white)); // -40 dBm is not the top
}

// One plain server and two encrypted ones, each with a simulated detector:
// every row comes online, each detector's alarm becomes its own alert, and
// a detector unplugged from its server shows offline and comes back.
void tst_Overview::alertsFromThreeServers()
{
    const QList<OVERVIEW_DETECTOR> detectors { { m_plain.server->Address(), QStringLiteral("Lobby") },
        { Tls(m_tlsA), {} }, { Tls(m_tlsB), QStringLiteral("Board room") } };
    QSignalSpy started(m_pCenter.get(), &CAlertCenter::alertStarted);
    std::unique_ptr<COverview> overview = Watch(detectors);
    QVERIFY(WaitForRows(*overview, IsOnline, { 0, 1, 2 }, 15000));
    QCOMPARE(overview->Model()->Row(1).look.mode, int(IDevice::MODE_AUTO));
    QVERIFY(!overview->Model()->Row(2).look.bandNames.isEmpty());
    for (DETECTOR* detector : { &m_plain, &m_tlsA, &m_tlsB })
        detector->simulator.SetIndicationFlags({ 4 });
    QVERIFY(QTest::qWaitFor([&] { return started.size() >= 3; }, 15000));
    QSet<QString> alerted;
    for (const QList<QVariant>& signal : std::as_const(started))
        alerted.insert(signal.at(0).value<ALERT>().detector);
    QCOMPARE(alerted, (QSet<QString> { QStringLiteral("Lobby"), Tls(m_tlsA), QStringLiteral("Board room") }));
    QCOMPARE(overview->Model()->Row(2).level, int(CAlertCenter::Alerting));

    m_tlsB.pty.SetReplugDelay(-1);
    m_tlsB.pty.Disconnect();
    QVERIFY(WaitForRows(
        *overview, [](const OVERVIEW_ROW& row) { return !IsOnline(row); }, { 2 }, 5000));
    QVERIFY(IsOnline(overview->Model()->Row(0)));
    QVERIFY(m_tlsB.pty.Reconnect());
    QVERIFY(WaitForRows(*overview, IsOnline, { 2 }, 15000));

    // Every start reached the log before anyone was told.
    CAlertList logged;
    QString error;
    QVERIFY(CAlertLogFile::Load(CAlertLogFile::PathIn(m_pStorage->path()), logged, error));
    QVERIFY(logged.Alerts().size() >= 3);
    // The unplugged detector's alert ended with it.
    QVERIFY(std::any_of(logged.Alerts().cbegin(), logged.Alerts().cend(),
        [](const ALERT& alert) { return alert.detector == QLatin1String("Board room") && alert.endedMs > 0; }));
}

// A server that holds its connections and says nothing: its row says so
// within 5 s, the other rows go on, and the window's thread never waits.
void tst_Overview::silentServerLeavesTheOthersAlone()
{
    std::unique_ptr<COverview> overview = Watch({ { m_plain.server->Address(), {} }, { Tls(m_tlsA), {} } });
    QVERIFY(WaitForRows(*overview, IsOnline, { 0, 1 }, 15000));
    CTickWatch ticks;
    m_plain.server->Freeze(true);
    QElapsedTimer frozen;
    frozen.start();
    const bool noticed = WaitForRows(
        *overview, [](const OVERVIEW_ROW& row) { return !IsOnline(row); }, { 0 }, 5000);
    const qint64 noticedMs = frozen.elapsed();
    const qint64 lastLook = overview->Model()->Row(1).lookedMs;
    QTest::qWait(1200);
    const bool othersGoOn = IsOnline(overview->Model()->Row(1)) && overview->Model()->Row(1).lookedMs > lastLook;
    m_plain.server->Freeze(false);
    QVERIFY2(noticed, qPrintable(QStringLiteral("still online after %1 ms").arg(noticedMs)));
    QVERIFY(othersGoOn);
    QVERIFY2(ticks.Longest() < 100, qPrintable(QStringLiteral("a tick of %1 ms").arg(ticks.Longest())));
    QVERIFY(WaitForRows(*overview, IsOnline, { 0 }, 20000));
}

// Fifty rows, of which only the five that the three servers offer can be
// reached: those come online, the rest say why not, and nothing waits.
void tst_Overview::fiftyDetectorsFortyFiveUnreachable()
{
    QList<OVERVIEW_DETECTOR> detectors { { m_plain.server->Address(), {} }, { m_tlsA.server->Address(), {} },
        { Tls(m_tlsA), {} }, { m_tlsB.server->Address(), {} }, { Tls(m_tlsB), {} } };
    while (detectors.size() < 50)
        COverviewDetectors::Add(detectors, { CServerProcess::RandomAddress(), {} });
    CTickWatch ticks;
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<COverview> overview = Watch(detectors);
    // Usable within a second, however many cannot be reached (a sanitized build included).
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("started in %1 ms").arg(clock.elapsed())));
    QList<int> unreachable;
    for (int row = 5; row < 50; ++row)
        unreachable.append(row);
    QVERIFY(WaitForRows(*overview, IsOnline, { 0, 1, 2, 3, 4 }, 15000));
    QVERIFY(WaitForRows(
        *overview, [](const OVERVIEW_ROW& row) { return row.state == OVERVIEW_ROW::Offline; }, unreachable, 10000));
    QVERIFY(!COverviewModel::StateText(overview->Model()->Row(7)).isEmpty());
    QVERIFY2(ticks.Longest() < 100, qPrintable(QStringLiteral("a tick of %1 ms").arg(ticks.Longest())));
}

// The program ends while a thread waits for a server that took the
// connection and says nothing: the end waits a bounded time, and the
// thread is left to finish by itself rather than deleted running.
void tst_Overview::endsWhileAServerHangs()
{
    m_plain.server->Freeze(true);
    std::unique_ptr<COverview> overview = Watch({ { m_plain.server->Address(), {} } });
    QTest::qWait(300);
    QElapsedTimer clock;
    clock.start();
    overview.reset();
    const qint64 endMs = clock.elapsed();
    m_plain.server->Freeze(false);
    QVERIFY2(endMs < COverviewWatch::END_WAIT_MS + 500, qPrintable(QStringLiteral("ended in %1 ms").arg(endMs)));
    // Its server answering again, the thread left behind ends and is gone.
    QVERIFY(QTest::qWaitFor([] { return COverviewWatch::RunningThreads() == 0; }, 20000));
    QTest::qWait(10); // its deletion, posted to this thread
}

QTEST_MAIN(tst_Overview)
#include "tst_Overview.moc"
