// The publication to an MQTT broker on loopback:
//  - the server program's extra CPU when it publishes every band at 10 Hz
//    for one detector exchanging at line rate, in automatic mode
//    (goal: at most 3% of one core)
//  - alarm latency: a band's level pinned over its threshold on the
//    simulated detector until its alarm reaches a subscriber; the figure
//    includes the wait for the next status report, at most one exchange
//    (about 3.3 ms) (goal: median at most 20 ms)
//
// build/bin/bench_Mqtt [seconds per CPU run] [alarms]
#include "CBenchStats.h"
#include "CProcessUsage.h"
#include "CPtyServer.h"
#include "CRZ450Device.h"
#include "CRZ450Simulator.h"
#include "CSimulatorProcess.h"
#include "app/ServerLog.h"
#include "mqtt/CMqttPublisher.h"

#include <mosquitto.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>

#include <pwd.h>
#include <unistd.h>

namespace {

const int BAND = 3;
const int LOW = 30;  // raw, far below the band's threshold
const int HIGH = 90; // raw, far above it

// A broker of the benchmark's own on a free loopback port.
class CBroker
{
public:
    bool Start()
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return false;
        m_nPort = probe.serverPort();
        probe.close();
        QByteArray config = "listener " + QByteArray::number(m_nPort)
            + " 127.0.0.1\nallow_anonymous true\n"
              "persistence false\nlog_dest none\nset_tcp_nodelay true\n";
        if (const passwd* user = getpwuid(getuid()))
            config += "user " + QByteArray(user->pw_name) + "\n";
        QFile file(m_dir.filePath(QStringLiteral("mosquitto.conf")));
        if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
            return false;
        file.close();
        m_process.start(QStringLiteral("mosquitto"), { QStringLiteral("-c"), file.fileName() });
        QThread::msleep(300);
        return m_process.waitForStarted() && m_process.state() == QProcess::Running;
    }
    ~CBroker()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    int Port() const { return m_nPort; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_nPort = 0;
};

// Counts what arrives and notes when the last alarm start came in.
class CSubscriber
{
public:
    explicit CSubscriber(int port)
    {
        m_pClient = mosquitto_new(nullptr, true, this);
        mosquitto_int_option(m_pClient, MOSQ_OPT_TCP_NODELAY, 1);
        mosquitto_message_callback_set(m_pClient, [](mosquitto*, void* self, const mosquitto_message* message) {
            auto* subscriber = static_cast<CSubscriber*>(self);
            ++subscriber->m_nMessages;
            const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
            if (QByteArray(message->topic).endsWith("/alarm") && payload.contains("\"event\":\"start\""))
                subscriber->m_nAlarmAt = subscriber->m_clock.nsecsElapsed();
            if (QByteArray(message->topic).endsWith("/alarm") && payload.contains("\"event\":\"end\""))
                ++subscriber->m_nEnds;
        });
        m_clock.start();
        mosquitto_connect(m_pClient, "127.0.0.1", port, 30);
        mosquitto_subscribe(m_pClient, nullptr, "ondrix/#", 1);
        mosquitto_loop_start(m_pClient);
    }
    ~CSubscriber()
    {
        mosquitto_disconnect(m_pClient);
        mosquitto_loop_stop(m_pClient, false);
        mosquitto_destroy(m_pClient);
    }
    qint64 Now() const { return m_clock.nsecsElapsed(); }

    QElapsedTimer m_clock;
    std::atomic<qint64> m_nMessages { 0 };
    std::atomic<qint64> m_nAlarmAt { -1 };
    std::atomic<int> m_nEnds { 0 };

private:
    mosquitto* m_pClient = nullptr;
};

// The server program's CPU over `seconds`, with or without publishing.
double ServerCpu(const QStringList& options, int seconds, qint64& messages, int port)
{
    CSimulatorProcess simulator({ QStringLiteral("--paced"), QStringLiteral("--mode"), QStringLiteral("auto") });
    if (!simulator.Ready())
        return -1.0;
    CSubscriber subscriber(port);
    QProcess server;
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/OndrixServer"),
        QStringList { QStringLiteral("--listen"), QStringLiteral("127.7.7.7") } + options);
    if (!server.waitForStarted())
        return -1.0;
    QThread::sleep(3); // connected, online and warm
    const double before = CProcessUsage::CpuSecondsOf(server.processId());
    const qint64 messagesBefore = subscriber.m_nMessages;
    QElapsedTimer wall;
    wall.start();
    QThread::sleep(unsigned(seconds));
    const double cpu = CProcessUsage::CpuSecondsOf(server.processId()) - before;
    messages = (subscriber.m_nMessages - messagesBefore) * 1000 / std::max<qint64>(1, wall.elapsed());
    const double share = cpu / (double(wall.elapsed()) / 1000.0);
    server.terminate();
    server.waitForFinished(5000);
    return share;
}

void MeasureCpu(int seconds, int port)
{
    qint64 idleMessages = 0;
    qint64 messages = 0;
    const double plain = ServerCpu({}, seconds, idleMessages, port);
    const QStringList mqtt { QStringLiteral("--mqtt"), QStringLiteral("127.0.0.1:%1").arg(port),
        QStringLiteral("--mqtt-band-rate"), QStringLiteral("10"), QStringLiteral("--mqtt-device"),
        QStringLiteral("bench") };
    const double publishing = ServerCpu(mqtt, seconds, messages, port);
    std::printf("server CPU, automatic mode at line rate: %.2f%% of one core without MQTT, %.2f%% publishing "
                "(%lld messages/s): extra %.2f%% (goal <= 3%%)\n",
        plain * 100.0, publishing * 100.0, static_cast<long long>(messages), (publishing - plain) * 100.0);
}

bool WaitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(200);
    }
    return true;
}

void MeasureLatency(int alarms, int port)
{
    CRZ450Simulator simulator;
    simulator.SetMode(CRZ450Simulator::MODE_MAN);
    simulator.SetBand(BAND);
    simulator.SetFrozen(true);
    simulator.SetLevel(BAND, LOW);
    CPtyServer pty(&simulator);
    pty.SetPaced(true);
    if (!pty.Start()) {
        std::printf("no pty: %s\n", qPrintable(pty.ErrorString()));
        return;
    }
    qputenv("RZ450_PORT", pty.Path().toLocal8Bit());
    CRZ450Device device;
    device.Initialize();
    MQTT_SETTINGS settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = port;
    CMqttPublisher publisher(&device, settings, QStringLiteral("bench"));
    QString error;
    CSubscriber subscriber(port);
    if (!publisher.Start(error)
        || !WaitUntil([&] { return device.IsOnline() && publisher.Client().IsConnected(); }, 10000)) {
        std::printf("detector or broker not ready %s\n", qPrintable(error));
        return;
    }
    std::vector<double> latencies;
    for (int i = 0; i < alarms; ++i) {
        subscriber.m_nAlarmAt = -1;
        const qint64 start = subscriber.Now();
        simulator.SetLevel(BAND, HIGH);
        if (!WaitUntil([&] { return subscriber.m_nAlarmAt >= 0; }, 2000))
            continue;
        latencies.push_back(double(subscriber.m_nAlarmAt - start) / 1e6);
        const int ends = subscriber.m_nEnds;
        simulator.SetLevel(BAND, LOW);
        WaitUntil([&] { return subscriber.m_nEnds > ends; }, 2000);
    }
    device.Uninitialize();
    if (latencies.empty()) {
        std::printf("alarm latency: no alarm arrived\n");
        return;
    }
    std::printf("alarm latency to a subscriber, %zu alarms: median %.2f ms, 90%% %.2f ms, worst %.2f ms (goal: median "
                "<= 20 ms)\n",
        latencies.size(), CBenchStats::Median(latencies), CBenchStats::Percentile(latencies, 0.9),
        CBenchStats::Percentile(latencies, 1.0));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    ServerLog::SetQuiet(true);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int alarms = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
    mosquitto_lib_init();
    {
        CBroker broker;
        if (!broker.Start()) {
            std::printf("mosquitto did not start\n");
            return 1;
        }
        MeasureLatency(alarms, broker.Port());
        MeasureCpu(seconds, broker.Port());
    }
    mosquitto_lib_cleanup();
    return 0;
}
