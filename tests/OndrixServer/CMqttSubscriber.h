#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <mutex>

struct mosquitto;

// Listens to topics on the test's broker and keeps what arrives, in order.
class CMqttSubscriber
{
public:
    using MESSAGE = QPair<QByteArray, QByteArray>; // topic, payload

    // `session` set: the broker keeps this subscriber's messages while it
    // is away (a session under that client id).
    explicit CMqttSubscriber(const QString& session = {});
    ~CMqttSubscriber();

    bool Start(int port, const QByteArray& filter);
    void Stop();
    QList<MESSAGE> Messages() const;
    // Keeps the caller's event loop turning while it waits.
    bool WaitFor(const QByteArray& topic, const QByteArray& part, int ms = 10000) const;
    QList<QByteArray> Payloads(const QByteArray& topic) const;

private:
    static void OnMessage(mosquitto*, void* self, const struct mosquitto_message* message);
    static void OnConnect(mosquitto* client, void* self, int code);
    static void OnSubscribe(mosquitto*, void* self, int, int, const int*);

    mosquitto* m_pClient = nullptr;
    QByteArray m_filter;
    mutable std::mutex m_mutex;
    QList<MESSAGE> m_messages;
    bool m_bSubscribed = false;
};
