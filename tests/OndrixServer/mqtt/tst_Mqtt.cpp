// The publication to MQTT against a real Mosquitto broker: a scripted
// detector's state, bands and alarms, the retained state a late subscriber
// finds, alarms kept over a broker restart, the will of a killed server,
// the goodbye of a stopped one, and brokers that are away or refuse. What
// the client announces on connecting, against a fake; where the password
// may come from and go to, from the options alone.
#include "CFakeBroker.h"
#include "CFakeDeviceBase.h"
#include "CMosquittoBroker.h"
#include "CMqttSubscriber.h"
#include "CPtyServer.h"
#include "CRZ450Simulator.h"
#include "CServerProcess.h"
#include "app/CServerOptions.h"
#include "app/ServerLog.h"
#include "mqtt/CMqttBridge.h"
#include "mqtt/CMqttPublisher.h"
#include "mqtt/CMqttTopics.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A detector whose every reading the test sets.
class CScriptedDevice : public CFakeDeviceBase
{
public:
    int GetCurrentMode() override { return mode; }
    int GetCurrentBand() override { return band; }
    bool IsOnline() override { return online; }
    int GetLevelDbm(int b) override { return b == band ? level : 0; }
    int GetThreshold(int b) override { return b == band ? threshold : 0; }
    bool IsIndicateBand(int b) override { return b == band && level >= threshold; }

    bool online = true;
    int mode = MODE_MAN;
    int band = 3;
    int level = 40;     // raw: -62 dBm
    int threshold = 50; // raw: -52 dBm
};

MQTT_SETTINGS Settings(int port)
{
    MQTT_SETTINGS settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = port;
    settings.bandRate = 10;
    return settings;
}

QJsonObject Json(const QByteArray& payload)
{
    return QJsonDocument::fromJson(payload).object();
}

QList<qint64> Sequences(const QList<QByteArray>& payloads)
{
    QList<qint64> sequences;
    for (const QByteArray& payload : payloads) {
        const qint64 sequence = Json(payload).value(QStringLiteral("seq")).toInteger();
        if (!sequences.contains(sequence))
            sequences.append(sequence);
    }
    return sequences;
}

// A file of the test's with these permissions, its name its path's last part.
QString WriteFile(const QTemporaryDir& folder, const QString& name, QFile::Permissions permissions,
    const QByteArray& text)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.setPermissions(permissions))
        return {};
    return file.fileName();
}

const QByteArray STATE = CMqttTopics::StateTopic(QStringLiteral("lab"));
const QByteArray ALARM = CMqttTopics::AlarmTopic(QStringLiteral("lab"));

} // namespace

class tst_Mqtt : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ServerLog::SetQuiet(true); }
    void cleanup() { qunsetenv("CREDENTIALS_DIRECTORY"); }
    void deviceNames_data();
    void deviceNames();
    void broker_data();
    void broker();
    void options_data();
    void options();
    void publishes();
    void keepsAlarmsOverRestart();
    void badBroker_data();
    void badBroker();
    void willOfKilledServer();
    void leavesCleanly();
    void smallestBandRate();
    void passwordFile_data();
    void passwordFile();
    void passwordSafety_data();
    void passwordSafety();
    void packetLimit_data();
    void packetLimit();
    void stopsDuringHandshake();
};

void tst_Mqtt::deviceNames_data()
{
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("default") << QStringList() << QStringList { "RZ450-host", "RZ450-host-2" };
    QTest::newRow("wildcards and levels") << QStringList { "a/b+c#" } << QStringList { "a_b_c_", "RZ450-host" };
    QTest::newRow("control and NUL") << QStringList { QString::fromUtf8("x\ty\0z", 5) }
                                     << QStringList { "x_y_z", "RZ450-host" };
    QTest::newRow("empty falls back") << QStringList { "", "lab" } << QStringList { "RZ450-host", "lab" };
    QTest::newRow("same name twice") << QStringList { "lab", "lab" } << QStringList { "lab", "lab-2" };
    QTest::newRow("huge name is cut") << QStringList { QString(1 << 20, 'x') }
                                      << QStringList { QString(128, 'x'), "RZ450-host" };
}

void tst_Mqtt::deviceNames()
{
    QFETCH(QStringList, wanted);
    QFETCH(QStringList, names);
    QCOMPARE(CMqttBridge::DeviceNames(wanted, { "RZ450", "RZ450" }, "host"), names);
}

void tst_Mqtt::broker_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("host") << "broker.lan" << true << "broker.lan" << 1883;
    QTest::newRow("host and port") << "10.0.0.2:8883" << true << "10.0.0.2" << 8883;
    QTest::newRow("IPv6") << "[::1]:1884" << true << "::1" << 1884;
    QTest::newRow("bare IPv6") << "::1" << false << "" << 0;
    QTest::newRow("port 0") << "host:0" << false << "" << 0;
    QTest::newRow("port too big") << "host:65536" << false << "" << 0;
    QTest::newRow("empty port") << "host:" << false << "" << 0;
    QTest::newRow("no host") << ":1883" << false << "" << 0;
}

void tst_Mqtt::broker()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QString host;
    int port = 1883;
    QCOMPARE(CMqttTopics::ParseBroker(text, host, port), ok);
    if (ok) {
        QTEST(host, "host");
        QTEST(port, "port");
    }
}

void tst_Mqtt::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("summary");
    QTest::newRow("off by default") << QStringList() << true << ":1883:1:1000";
    QTest::newRow("broker and rate") << QStringList { "--mqtt", "10.0.0.2:1884", "--mqtt-band-rate", "10" } << true
                                     << "10.0.0.2:1884:10:1000";
    QTest::newRow("queue") << QStringList { "--mqtt", "b", "--mqtt-queue", "5" } << true << "b:1883:1:5";
    QTest::newRow("rate too high") << QStringList { "--mqtt", "b", "--mqtt-band-rate", "11" } << false << "";
    QTest::newRow("bad port") << QStringList { "--mqtt", "b:x" } << false << "";
    QTest::newRow("missing password file") << QStringList { "--mqtt-password-file", "/nonexistent" } << false << "";
}

void tst_Mqtt::options()
{
    QFETCH(QStringList, arguments);
    SERVER_SETTINGS settings;
    QString message;
    int exitCode = 0;
    QTEST(CServerOptions::Parse(QStringList { "OndrixServer" } + arguments, settings, message, exitCode), "ok");
    const MQTT_SETTINGS& mqtt = settings.mqtt;
    if (exitCode == 0)
        QTEST(QStringLiteral("%1:%2:%3:%4").arg(mqtt.host).arg(mqtt.port).arg(mqtt.bandRate).arg(mqtt.queueLimit),
            "summary");
    else
        QVERIFY(message.contains(QLatin1String("--mqtt")));
}

void tst_Mqtt::publishes()
{
    CMosquittoBroker broker;
    QVERIFY(broker.Start());
    CMqttSubscriber subscriber;
    QVERIFY(subscriber.Start(broker.Port(), "ondrix/lab/#"));
    CScriptedDevice device;
    CMqttPublisher publisher(&device, Settings(broker.Port()), QStringLiteral("lab"));
    QString error;
    QVERIFY2(publisher.Start(error), qPrintable(error));

    QVERIFY(subscriber.WaitFor(STATE, "\"mode\":\"manual\""));
    const QJsonObject state = Json(subscriber.Payloads(STATE).constLast());
    QCOMPARE(state.value("band").toInt(), 3);
    QCOMPARE(state.value("bandName").toString(), QStringLiteral("DECT mobile"));
    QVERIFY(subscriber.WaitFor(CMqttTopics::BandTopic("lab", 3), "\"level\":-62,\"peak\":-62,\"threshold\":-52"));

    device.level = 60;
    QTest::qWait(50);
    device.level = 55;
    QVERIFY(subscriber.WaitFor(ALARM, "\"event\":\"start\""));
    QTest::qWait(200);
    device.level = 40;
    QVERIFY(subscriber.WaitFor(ALARM, "\"event\":\"end\""));
    const QJsonObject end = Json(subscriber.Payloads(ALARM).constLast());
    QCOMPARE(end.value("band").toInt(), 3);
    QCOMPARE(end.value("peak").toInt(), -42);
    QCOMPARE(end.value("threshold").toInt(), -52);
    QVERIFY(end.value("duration").toDouble() >= 0.2);
    QCOMPARE(subscriber.Payloads(ALARM).size(), 2);

    // A change inside the second after the last state waits for it.
    device.band = 5;
    device.mode = IDevice::MODE_AUTO;
    QVERIFY(subscriber.WaitFor(STATE, "\"mode\":\"auto\""));
    CMqttSubscriber late;
    QVERIFY(late.Start(broker.Port(), STATE));
    QVERIFY(late.WaitFor(STATE, "\"mode\":\"auto\"", 2000));
    QCOMPARE(late.Messages().size(), 1);
}

void tst_Mqtt::keepsAlarmsOverRestart()
{
    CMosquittoBroker broker;
    QVERIFY(broker.Start({}, {}, true));
    CMqttSubscriber subscriber(QStringLiteral("watcher"));
    QVERIFY(subscriber.Start(broker.Port(), ALARM));
    CScriptedDevice device;
    CMqttPublisher publisher(&device, Settings(broker.Port()), QStringLiteral("lab"));
    QString error;
    QVERIFY(publisher.Start(error));
    QTRY_VERIFY(publisher.Client().IsConnected());

    broker.Stop();
    QTRY_VERIFY(!publisher.Client().IsConnected());
    for (int i = 0; i < 5; ++i) {
        device.level = 60;
        QTest::qWait(30);
        device.level = 40;
        QTest::qWait(30);
    }
    QCOMPARE(publisher.QueuedAlarms(), 10);
    QVERIFY(broker.Restart());
    QTRY_VERIFY_WITH_TIMEOUT(Sequences(subscriber.Payloads(ALARM)).size() == 10, 15000);
    QCOMPARE(Sequences(subscriber.Payloads(ALARM)), (QList<qint64> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 }));
}

void tst_Mqtt::badBroker_data()
{
    QTest::addColumn<bool>("broker");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("status");
    QTest::newRow("unreachable") << false << ""
                                 << "unreachable";
    QTest::newRow("wrong password") << true << "wrong"
                                    << "refused the connection";
}

// The publisher's timer keeps its pace: nothing in it waits on the broker.
void tst_Mqtt::badBroker()
{
    QFETCH(bool, broker);
    QFETCH(QString, password);
    CMosquittoBroker mosquitto;
    if (broker)
        QVERIFY(mosquitto.Start(QStringLiteral("ondrix"), QStringLiteral("secret")));
    QTemporaryDir folder;
    QFile file(folder.filePath("password"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(password.toUtf8() + '\n');
    file.close();
    MQTT_SETTINGS settings = Settings(broker ? mosquitto.Port() : CMosquittoBroker::FreePort());
    settings.user = QStringLiteral("ondrix");
    settings.passwordFile = file.fileName();
    CScriptedDevice device;
    CMqttPublisher publisher(&device, settings, QStringLiteral("lab"));
    QString error;
    QVERIFY(publisher.Start(error));
    QFETCH(QString, status);
    QTRY_VERIFY2(publisher.Client().Status().contains(status), qPrintable(publisher.Client().Status()));
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(300);
    QVERIFY(clock.elapsed() < 600);
}

void tst_Mqtt::willOfKilledServer()
{
    CMosquittoBroker broker;
    QVERIFY(broker.Start());
    CRZ450Simulator simulator;
    CPtyServer pty(&simulator);
    QVERIFY(pty.Start());
    CServerProcess server(pty.Path());
    QVERIFY(server.Start(CServerProcess::RandomAddress(),
        { "--mqtt", QStringLiteral("127.0.0.1:%1").arg(broker.Port()), "--mqtt-device", "lab" }));
    CMqttSubscriber subscriber;
    QVERIFY(subscriber.Start(broker.Port(), STATE));
    QVERIFY(subscriber.WaitFor(STATE, "\"online\":true"));
    server.Kill();
    QVERIFY(subscriber.WaitFor(STATE, "\"online\":false,\"server\":false"));
    QCOMPARE(Json(subscriber.Payloads(STATE).constLast()).value("online").toBool(), false);
}

// A server that stops says goodbye: its last word is published and the
// broker forgets the will.
void tst_Mqtt::leavesCleanly()
{
    CMosquittoBroker broker;
    QVERIFY(broker.Start());
    CMqttSubscriber subscriber;
    QVERIFY(subscriber.Start(broker.Port(), "ondrix/t/#"));
    CMqttClient client(Settings(broker.Port()), QStringLiteral("t"));
    QString error;
    QVERIFY(client.Start("ondrix/t/will", "lost", error));
    QTRY_VERIFY(client.IsConnected());
    client.Stop("ondrix/t/final", "bye");
    QVERIFY(subscriber.WaitFor("ondrix/t/final", "bye", 3000));
    QTest::qWait(300);
    QVERIFY(subscriber.Payloads("ondrix/t/will").isEmpty());
}

// Next to never: the first level goes out, then none.
void tst_Mqtt::smallestBandRate()
{
    CMosquittoBroker broker;
    QVERIFY(broker.Start());
    const QByteArray topic = CMqttTopics::BandTopic("lab", 3);
    CMqttSubscriber subscriber;
    QVERIFY(subscriber.Start(broker.Port(), topic));
    CScriptedDevice device;
    MQTT_SETTINGS settings = Settings(broker.Port());
    settings.bandRate = 1e-300;
    CMqttPublisher publisher(&device, settings, QStringLiteral("lab"));
    QString error;
    QVERIFY(publisher.Start(error));
    QVERIFY(subscriber.WaitFor(topic, "level"));
    QTest::qWait(400);
    QCOMPARE(subscriber.Payloads(topic).size(), 1);
}

void tst_Mqtt::passwordFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ok");
    QTest::newRow("longest password") << QByteArray(65535, 'p') + "\r\n" << true;
    QTest::newRow("line too long") << QByteArray(65536, 'p') + '\n' << false;
    QTest::newRow("huge file, no line end") << QByteArray(4 << 20, 'p') << false;
}

void tst_Mqtt::passwordFile()
{
    QFETCH(QByteArray, content);
    QTemporaryDir folder;
    QFile file(folder.filePath("password"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    MQTT_SETTINGS settings = Settings(CMosquittoBroker::FreePort());
    settings.user = QStringLiteral("ondrix");
    settings.passwordFile = file.fileName();
    CMqttClient client(settings, QStringLiteral("lab"));
    QString error;
    const bool started = client.Start("ondrix/lab/state", "lost", error);
    QVERIFY2(error.isEmpty() || error.contains(QLatin1String("password file")), qPrintable(error));
    QTEST(started, "ok");
}

void tst_Mqtt::passwordSafety_data()
{
    QTest::addColumn<QStringList>("arguments"); // %private, %group, %world: password files of those modes
    QTest::addColumn<QByteArray>("config");     // set: read with --config
    QTest::addColumn<bool>("credential");       // systemd handed the service a password
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("expected"); // the password file and --mqtt-allow-plain, or part of the message

    const QStringList local { "--mqtt", "127.0.0.1", "--mqtt-user", "u" };
    const QStringList remote { "--mqtt", "192.0.2.1:1883", "--mqtt-user", "u" };
    const QStringList privateFile { "--mqtt-password-file", "%private" };
    const QByteArray none;
    QTest::newRow("private file") << local + privateFile << none << false << true << "private plain=0";
    QTest::newRow("group may read") << local + QStringList { "--mqtt-password-file", "%group" } << none << false
                                    << false << "may be read by its group";
    QTest::newRow("anyone may read") << local + QStringList { "--mqtt-password-file", "%world" } << none << false
                                     << false << "may be read by every user";
    QTest::newRow("credential wins") << local + QStringList { "--mqtt-password-file", "%world" } << none << true << true
                                     << "mqtt-password plain=0";
    QTest::newRow("credential alone") << local << none << true << true << "mqtt-password plain=0";
    QTest::newRow("localhost") << QStringList { "--mqtt", "LOCALHOST", "--mqtt-user", "u" } + privateFile << none
                               << false << true << "private plain=0";
    QTest::newRow("IPv6 loopback") << QStringList { "--mqtt", "[::1]", "--mqtt-user", "u" } + privateFile << none
                                   << false << true << "private plain=0";
    QTest::newRow("plain to a network") << remote + privateFile << none << false << false << "--mqtt-allow-plain";
    QTest::newRow("credential to a network") << remote << none << true << false << "192.0.2.1";
    QTest::newRow("host name is a network") << QStringList { "--mqtt", "broker.lan", "--mqtt-user", "u" } + privateFile
                                            << none << false << false << "--mqtt-ca-file";
    QTest::newRow("plain allowed") << remote + privateFile + QStringList { "--mqtt-allow-plain" } << none << false
                                   << true << "private plain=1";
    QTest::newRow("allowed in the file") << remote + privateFile << QByteArray("mqtt-allow-plain = yes\n") << false
                                         << true << "private plain=1";
    QTest::newRow("refused in the file") << remote + privateFile << QByteArray("mqtt-allow-plain = off\n") << false
                                         << false << "--mqtt-allow-plain";
    QTest::newRow("neither yes nor no") << local << QByteArray("mqtt-allow-plain = maybe\n") << false << false
                                        << "'maybe'";
    QTest::newRow("TLS to a network") << remote + privateFile + QStringList { "--mqtt-ca-file", "%private" } << none
                                      << false << true << "private plain=0";
    QTest::newRow("user alone to a network") << remote << none << false << true << " plain=0";
}

// Parsing only: nothing is sent anywhere.
void tst_Mqtt::passwordSafety()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, config);
    QFETCH(bool, credential);
    QTemporaryDir folder;
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
    const QString files[][2] = { { "%private", WriteFile(folder, "private", owner, "secret\n") },
        { "%group", WriteFile(folder, "group", owner | QFile::ReadGroup, "secret\n") },
        { "%world", WriteFile(folder, "world", owner | QFile::ReadOther, "secret\n") } };
    for (QString& argument : arguments) {
        for (const auto& file : files)
            argument.replace(file[0], file[1]);
    }
    if (!config.isNull())
        arguments << "--config" << WriteFile(folder, "server.ini", owner, config);
    if (credential) {
        QVERIFY(QDir(folder.path()).mkdir("credentials"));
        WriteFile(folder, "credentials/mqtt-password", QFile::ReadOwner, "secret\n");
        qputenv("CREDENTIALS_DIRECTORY", folder.filePath("credentials").toUtf8());
    }
    SERVER_SETTINGS settings;
    QString message;
    int exitCode = 0;
    QTEST(CServerOptions::Parse(QStringList { "OndrixServer" } + arguments, settings, message, exitCode), "ok");
    const QString summary
        = QFileInfo(settings.mqtt.passwordFile).fileName() + " plain=" + QString::number(settings.mqtt.allowPlain);
    QFETCH(QString, expected);
    QVERIFY2((exitCode == 0 ? summary : message).contains(expected), qPrintable(exitCode == 0 ? summary : message));
}

void tst_Mqtt::packetLimit_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QList<int>>("levels");
    QTest::addColumn<QList<qint64>>("limits");
    QTest::addColumn<bool>("connects");
    const qint64 limit = CMqttClient::MAX_INCOMING_PACKET_BYTES;
    QTest::newRow("every connection") << int(CFakeBroker::Hangup) << QList<int> { 5, 5 }
                                      << QList<qint64> { limit, limit } << false;
    QTest::newRow("3.1.1 broker") << int(CFakeBroker::OnlyVersion311) << QList<int> { 5, 4 }
                                  << QList<qint64> { limit, 0 } << true;
}

void tst_Mqtt::packetLimit()
{
    QFETCH(int, answer);
    QFETCH(QList<int>, levels);
    CFakeBroker broker { CFakeBroker::Answer(answer) };
    CMqttClient client(Settings(broker.Port()), QStringLiteral("lab"));
    QString error;
    QVERIFY(client.Start("ondrix/lab/state", "lost", error));
    QTRY_VERIFY_WITH_TIMEOUT(broker.Connects().size() >= levels.size(), 5000);
    QList<int> seenLevels;
    QList<qint64> seenLimits;
    for (const CFakeBroker::CONNECT& connect : broker.Connects().mid(0, levels.size())) {
        seenLevels << connect.level;
        seenLimits << connect.maxPacket;
    }
    QCOMPARE(seenLevels, levels);
    QTEST(seenLimits, "limits");
    QFETCH(bool, connects);
    if (connects)
        QTRY_VERIFY(client.IsConnected());
}

// A broker whose host drops the TCP handshake, as a full backlog does: the
// server still stops at once.
void tst_Mqtt::stopsDuringHandshake()
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&address), size) == 0 && ::listen(listener, 0) == 0);
    QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) == 0);
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    QVERIFY(::connect(filler, reinterpret_cast<sockaddr*>(&address), size) == 0);
    {
        CMqttClient client(Settings(ntohs(address.sin_port)), QStringLiteral("lab"));
        QString error;
        QVERIFY(client.Start("ondrix/lab/state", "lost", error));
        QTest::qWait(300);
        QElapsedTimer clock;
        clock.start();
        client.Stop();
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!client.IsConnected());
    }
    ::close(filler);
    ::close(listener);
}

QTEST_GUILESS_MAIN(tst_Mqtt)
#include "tst_Mqtt.moc"
