#include "CMqttSubscriber.h"

#include <mosquitto.h>

#include <QDeadlineTimer>
#include <QTest>

CMqttSubscriber::CMqttSubscriber(const QString& session)
{
    mosquitto_lib_init();
    const QByteArray id = session.toUtf8();
    m_pClient = mosquitto_new(id.isEmpty() ? nullptr : id.constData(), id.isEmpty(), this);
    mosquitto_connect_callback_set(m_pClient, &CMqttSubscriber::OnConnect);
    mosquitto_message_callback_set(m_pClient, &CMqttSubscriber::OnMessage);
    mosquitto_subscribe_callback_set(m_pClient, &CMqttSubscriber::OnSubscribe);
}

CMqttSubscriber::~CMqttSubscriber()
{
    Stop();
    mosquitto_destroy(m_pClient);
    mosquitto_lib_cleanup();
}

bool CMqttSubscriber::Start(int port, const QByteArray& filter)
{
    m_filter = filter;
    if (mosquitto_connect(m_pClient, "127.0.0.1", port, 30) != MOSQ_ERR_SUCCESS
        || mosquitto_loop_start(m_pClient) != MOSQ_ERR_SUCCESS)
        return false;
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bSubscribed)
                return true;
        }
        QTest::qWait(10);
    }
    return false;
}

void CMqttSubscriber::Stop()
{
    mosquitto_disconnect(m_pClient);
    mosquitto_loop_stop(m_pClient, false);
}

QList<CMqttSubscriber::MESSAGE> CMqttSubscriber::Messages() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
}

QList<QByteArray> CMqttSubscriber::Payloads(const QByteArray& topic) const
{
    QList<QByteArray> payloads;
    for (const MESSAGE& message : Messages()) {
        if (message.first == topic)
            payloads.append(message.second);
    }
    return payloads;
}

bool CMqttSubscriber::WaitFor(const QByteArray& topic, const QByteArray& part, int ms) const
{
    QDeadlineTimer deadline(ms);
    do {
        for (const QByteArray& payload : Payloads(topic)) {
            if (payload.contains(part))
                return true;
        }
        QTest::qWait(10);
    } while (!deadline.hasExpired());
    return false;
}

void CMqttSubscriber::OnConnect(mosquitto* client, void* self, int code)
{
    auto* subscriber = static_cast<CMqttSubscriber*>(self);
    if (code == 0)
        mosquitto_subscribe(client, nullptr, subscriber->m_filter.constData(), 1);
}

void CMqttSubscriber::OnSubscribe(mosquitto*, void* self, int, int, const int*)
{
    auto* subscriber = static_cast<CMqttSubscriber*>(self);
    const std::lock_guard<std::mutex> lock(subscriber->m_mutex);
    subscriber->m_bSubscribed = true;
}

void CMqttSubscriber::OnMessage(mosquitto*, void* self, const mosquitto_message* message)
{
    auto* subscriber = static_cast<CMqttSubscriber*>(self);
    const std::lock_guard<std::mutex> lock(subscriber->m_mutex);
    subscriber->m_messages.append(
        { QByteArray(message->topic), QByteArray(static_cast<const char*>(message->payload), message->payloadlen) });
}
