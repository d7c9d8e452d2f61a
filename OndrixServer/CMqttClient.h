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

// One connection to the broker, kept up by a thread of its own: it
// connects, reconnects with growing pauses when the broker is away or
// refuses, and writes what Publish hands it. Publish only queues, so the
// caller never waits on the network. The will is set before every
// connection, so the broker announces this client's end if it dies.
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
    void Run();
    bool ConnectOnce(bool first);
    void Serve();
    void Leave();
    void Wait(int ms);
    void Report(const QString& status);
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
