// The overview of many shared detectors, each a simulator process behind an
// OndrixServer process of its own on loopback (half of them encrypted), so
// that the CPU measured is the client's alone:
//  - the client's CPU while it watches 16 detectors with the overview
//    window shown (goal: at most 10% of one core)
//  - the time from a detector's alarm to its notification, with a rule
//    that alerts at once (goal: median at most 500 ms)
//  - start-up with 16 detectors configured, 8 of them unreachable: the
//    time until the window answers, and its longest tick over the next
//    seconds (goal: usable within 1 s)
//
// build/bin/bench_Overview [seconds of CPU] [alarms]
#include "CBenchStats.h"
#include "CProcessUsage.h"
#include "CServerProcess.h"
#include "CSimulatorProcess.h"
#include "alerts/CAlertAnnouncer.h"
#include "alerts/CAlertCenter.h"
#include "alerts/CDesktopNotifier.h"
#include "connect/CKnownServers.h"
#include "overview/COverview.h"
#include "overview/COverviewDetectors.h"
#include "overview/COverviewModel.h"
#include "overview/COverviewWindow.h"
#include "protocol/CServerAddress.h"
#include "watch/CRZ450Looker.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int DETECTORS = 16;
const int BAND = 4;

struct SHARED
{
    std::unique_ptr<CSimulatorProcess> simulator;
    std::unique_ptr<CServerProcess> server;
    QString address; // as the overview knows it
};

bool Share(SHARED& shared, const QString& stateDir, bool tls)
{
    shared.simulator
        = std::make_unique<CSimulatorProcess>(QStringList { QStringLiteral("--mode"), QStringLiteral("auto") });
    if (!shared.simulator->Ready())
        return false;
    shared.server = std::make_unique<CServerProcess>(shared.simulator->Link());
    const QString address = CServerProcess::RandomAddress();
    if (!tls) {
        shared.address = address;
        return shared.server->Start(address);
    }
    const QStringList state { QStringLiteral("--state-dir"), stateDir };
    const QString fingerprint = CServerProcess::Output(state + QStringList { QStringLiteral("--fingerprint") });
    const QString key = CServerProcess::Key(stateDir, QStringLiteral("view"));
    shared.address = QStringLiteral("ondrixs://") + address;
    CKnownServers().Remember(CServerAddress(shared.address), fingerprint, key);
    return shared.server->Start(address, state + QStringList { QStringLiteral("--tls-listen"), address });
}

// Runs the event loop until done or out of time, asking every 5 ms: the
// wait itself must cost the process nothing worth counting.
bool WaitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > ms)
            loop.quit();
    });
    check.start(5);
    if (!done())
        loop.exec();
    return done();
}

int OnlineRows(const COverview& overview)
{
    int online = 0;
    for (int row = 0; row < overview.Model()->rowCount(); ++row)
        online += overview.Model()->Row(row).state == OVERVIEW_ROW::Online ? 1 : 0;
    return online;
}

struct CLIENT
{
    explicit CLIENT(const QList<OVERVIEW_DETECTOR>& detectors)
        : notifier(QDBusConnection(QStringLiteral("no bus")))
        , announcer(&center, &notifier, nullptr)
    {
        COverviewDetectors::Save(detectors);
        overview = std::make_unique<COverview>(&CRZ450Looker::Look, &center);
        overview->Start();
        window = std::make_unique<COverviewWindow>(overview->Model());
        window->show();
    }

    CAlertCenter center;
    CDesktopNotifier notifier;
    CAlertAnnouncer announcer;
    std::unique_ptr<COverview> overview;
    std::unique_ptr<COverviewWindow> window;
};

void MeasureCpu(std::vector<SHARED>& shared, int seconds)
{
    QList<OVERVIEW_DETECTOR> detectors;
    for (const SHARED& one : shared)
        detectors.append({ one.address, {} });
    CLIENT client(detectors);
    if (!WaitFor([&] { return OnlineRows(*client.overview) == DETECTORS; }, 30000)) {
        std::printf("only %d of %d detectors came online\n", OnlineRows(*client.overview), DETECTORS);
        return;
    }
    const double cpu = CProcessUsage::CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    WaitFor([] { return false; }, seconds * 1000);
    const double share = (CProcessUsage::CpuSeconds() - cpu) / (double(wall.elapsed()) / 1000.0);
    std::printf("client CPU watching %d detectors: %.1f%% of one core over %d s (goal <= 10%%)\n", DETECTORS,
        share * 100.0, seconds);
}

void MeasureLatency(std::vector<SHARED>& shared, int alarms)
{
    QList<OVERVIEW_DETECTOR> detectors;
    for (const SHARED& one : shared)
        detectors.append({ one.address, {} });
    CLIENT client(detectors);
    ALERT_RULE rule;
    rule.seconds = 0;
    for (const OVERVIEW_DETECTOR& detector : std::as_const(detectors))
        client.center.Configure(COverview::Label(detector), { rule }, QString());
    if (!WaitFor([&] { return OnlineRows(*client.overview) == DETECTORS; }, 30000))
        return;
    std::vector<double> latencies;
    int told = 0;
    QObject::connect(&client.notifier, &CDesktopNotifier::delivered, [&told](bool) { ++told; });
    for (int i = 0; i < alarms; ++i) {
        SHARED& one = shared[size_t(i % DETECTORS)];
        const int before = told;
        QElapsedTimer clock;
        clock.start();
        one.simulator->Command("alarm " + QByteArray::number(BAND));
        if (WaitFor([&] { return told > before; }, 10000))
            latencies.push_back(double(clock.elapsed()));
        one.simulator->Command("alarm off");
        WaitFor(
            [&] {
                return !client.center.List().Alerts().isEmpty()
                    && client.center.List().Alerts().constLast().endedMs > 0;
            },
            10000);
    }
    std::printf("alarm to notification over %zu of %d alarms: median %.0f ms, 90th %.0f ms (goal median <= 500 ms)\n",
        latencies.size(), alarms, CBenchStats::Median(latencies), CBenchStats::Percentile(latencies, 0.9));
}

void MeasureStart(std::vector<SHARED>& shared)
{
    QList<OVERVIEW_DETECTOR> detectors;
    for (int i = 0; i < DETECTORS / 2; ++i) {
        detectors.append({ shared[size_t(i)].address, {} });
        detectors.append({ CServerProcess::RandomAddress(), {} });
    }
    QElapsedTimer clock;
    clock.start();
    CLIENT client(detectors);
    bool answered = false;
    QTimer::singleShot(0, [&] { answered = true; });
    WaitFor([&] { return answered; }, 10000);
    const qint64 usable = clock.elapsed();
    qint64 longest = 0;
    QElapsedTimer tick;
    tick.start();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { longest = std::max(longest, tick.restart()); });
    timer.start(10);
    WaitFor([&] { return OnlineRows(*client.overview) == DETECTORS / 2; }, 30000);
    WaitFor([] { return false; }, 2000);
    std::printf(
        "start-up with %d detectors, %d unreachable: usable after %lld ms, longest tick %lld ms, %d online after "
        "%lld ms (goal usable <= 1000 ms)\n",
        DETECTORS, DETECTORS / 2, qint64(usable), qint64(longest), OnlineRows(*client.overview),
        qint64(clock.elapsed()));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(QByteArray(argv[1]).toInt(), 5) : 20;
    const int alarms = argc > 2 ? std::max(QByteArray(argv[2]).toInt(), 3) : 20;
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.filePath(QStringLiteral("settings")));
    std::vector<SHARED> shared(DETECTORS);
    for (int i = 0; i < DETECTORS; ++i) {
        if (!Share(shared[size_t(i)], folder.filePath(QStringLiteral("state%1").arg(i)), i % 2 == 1)) {
            std::printf("detector %d could not be shared\n", i);
            return 1;
        }
    }
    MeasureCpu(shared, seconds);
    MeasureLatency(shared, alarms);
    MeasureStart(shared);
    return 0;
}
