#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct MQTT_SETTINGS;
struct mosquitto;
// The broker library's own name, declared as its header does.
struct mqtt5__property; // NOLINT(bugprone-reserved-identifier)
typedef struct mqtt5__property mosquitto_property;

// One connection to the broker, kept up by a thread of its own: it
// connects, reconnects with growing pauses when the broker is away or
// refuses, and writes what Publish hands it. Publish only queues, so the
// caller never waits on the network. The will is set before every
// connection, so the broker announces this client's end if it dies. It
// speaks MQTT 5, to announce the largest packet it takes, and 3.1.1 to a
// broker that refuses 5.
class CMqttClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int KEEPALIVE_SECONDS = 30;
    static constexpr int FIRST_RETRY_MS = 500;
    static constexpr int LAST_RETRY_MS = 30000;
    // Messages handed to the library and not yet written out. A broker that
    // stays connected but stops reading would otherwise grow the library's
    // queue without end; past this, Publish refuses (alarms then wait in
    // the publisher's bounded queue, band values are dropped).
    static constexpr int MAX_PENDING = 4096;
    // Announced to the broker (MQTT 5) as the largest packet it may send:
    // the server only publishes and takes in acknowledgements, so a broker
    // that sends more is wrong, and must not make it hold megabytes.
    static constexpr int MAX_INCOMING_PACKET_BYTES = 64 * 1024;

    // `name` is the device the log lines are about.
    CMqttClient(const MQTT_SETTINGS& settings, const QString& name, QObject* parent = nullptr);
    ~CMqttClient() override;

    // False, with the reason, when the library cannot even be set up (a
    // password file that cannot be read, a CA file TLS refuses).
    bool Start(const QByteArray& willTopic, const QByteArray& willPayload, QString& error);
    // Sends `topic`/`payload` (retained, QoS 1) when connected, waits a
    // moment for it to be taken, then leaves cleanly: the broker drops the
    // will.
    void Stop(const QByteArray& topic = {}, const QByteArray& payload = {});

    bool IsConnected() const { return m_bConnected; }
    // False when not connected or too much is still unsent: nothing was
    // queued.
    bool Publish(const QByteArray& topic, const QByteArray& payload, int qos, bool retain);
    // The last problem or success, as logged.
    QString Status() const;

Q_SIGNALS:
    // Delivered in the object's thread after each successful connection.
    void connected();

private:
    int SetUp(const QByteArray& willTopic, const QByteArray& willPayload, const QByteArray& password);
    void Release();
    void Run();
    bool ConnectOnce();
    void Serve();
    void Leave();
    bool Stopping() const;
    void Wait(int ms);
    void Report(const QString& status);
    void OnRefused(int code);
    static void OnConnect(mosquitto* client, void* self, int code);
    static void OnDisconnect(mosquitto* client, void* self, int code);
    static void OnPublish(mosquitto* client, void* self, int mid);

    QString m_strHost;
    int m_nPort;
    QString m_strUser;
    QString m_strPasswordFile;
    QString m_strCaFile;
    QString m_strName;
    mosquitto* m_pClient = nullptr;
    mosquitto_property* m_pConnectProperties = nullptr;
    // Set when the broker answered MQTT 5 with an unsupported version; from
    // then on 3.1.1 is spoken, which has no properties. The client's
    // thread only, like m_bRefused, which keeps a refusal from being
    // logged again as an unreachable broker.
    bool m_bVersion311 = false;
    bool m_bRefused = false;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStop = false;
    QByteArray m_finalTopic;
    QByteArray m_finalPayload;
    std::atomic<bool> m_bConnected { false };
    // Set by the broker's acceptance; the connection counts as up only once
    // the library has resent what the last one left unacknowledged.
    std::atomic<bool> m_bAccepted { false };
    // Set by a connection that came up, until the retry pauses restart.
    std::atomic<bool> m_bWasConnected { false };
    std::atomic<int> m_nLastAcked { -1 };
    std::atomic<int> m_nPending { 0 };
    QString m_strStatus; // under m_mutex
};
