#include "mqtt/CMqttClient.h"

#include "app/ServerLog.h"
#include "mqtt/CTcpProbe.h"
#include "mqtt/MQTT_SETTINGS.h"

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

std::mutex g_libraryMutex;
int g_libraryUsers = 0;

void TakeLibrary()
{
    const std::lock_guard<std::mutex> lock(g_libraryMutex);
    if (g_libraryUsers++ == 0)
        mosquitto_lib_init();
}

void ReleaseLibrary()
{
    const std::lock_guard<std::mutex> lock(g_libraryMutex);
    if (--g_libraryUsers == 0)
        mosquitto_lib_cleanup();
}

constexpr int LOOP_MS = 100;
constexpr qint64 MAX_PASSWORD_BYTES = 65535;
constexpr int LEAVE_MS = 1000;

QString ErrorText(int code)
{
    if (code == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString::fromUtf8(mosquitto_strerror(code));
}

bool ReadPassword(const QString& path, QByteArray& password, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("MQTT password file '%1' cannot be read").arg(path);
        return false;
    }
    // No more than the protocol carries: a huge file with no line end
    // must not be read into memory whole. Room for "\r\n", and for the
    // terminating NUL that readLine() counts in its limit.
    const QByteArray line = file.readLine(MAX_PASSWORD_BYTES + 3);
    password = line.trimmed();
    if ((!line.endsWith('\n') && !file.atEnd()) || password.size() > MAX_PASSWORD_BYTES) {
        error = QStringLiteral("MQTT password file '%1': the first line is longer than %2 bytes")
                    .arg(path)
                    .arg(MAX_PASSWORD_BYTES);
        return false;
    }
    return true;
}

} // namespace

CMqttClient::CMqttClient(const MQTT_SETTINGS& settings, const QString& name, QObject* parent)
    : QObject(parent)
    , m_strHost(settings.host)
    , m_nPort(settings.port)
    , m_strUser(settings.user)
    , m_strPasswordFile(settings.passwordFile)
    , m_strCaFile(settings.caFile)
    , m_strName(name)
{
    TakeLibrary();
}

CMqttClient::~CMqttClient()
{
    Stop();
    ReleaseLibrary();
}

bool CMqttClient::Start(const QByteArray& willTopic, const QByteArray& willPayload, QString& error)
{
    if (m_pClient)
        return true;
    QByteArray password;
    if (!m_strPasswordFile.isEmpty() && !ReadPassword(m_strPasswordFile, password, error))
        return false;
    // MQTT carries a password only with a user name: a password alone would
    // be dropped without a word, and the broker's refusal would puzzle.
    if (!m_strPasswordFile.isEmpty() && m_strUser.isEmpty())
        ServerLog::Line(m_strName
            + QStringLiteral(": MQTT password file '%1' not used: no MQTT user is given").arg(m_strPasswordFile));
    m_pClient = mosquitto_new(nullptr, true, this);
    if (!m_pClient) {
        error = QStringLiteral("MQTT client cannot be created");
        return false;
    }
    const int code = SetUp(willTopic, willPayload, password);
    if (code != MOSQ_ERR_SUCCESS) {
        error = QStringLiteral("MQTT client for %1 cannot be set up: %2").arg(m_strName, ErrorText(code));
        Release();
        return false;
    }
    m_bStop = false;
    m_thread = std::thread(&CMqttClient::Run, this);
    return true;
}

int CMqttClient::SetUp(const QByteArray& willTopic, const QByteArray& willPayload, const QByteArray& password)
{
    mosquitto_threaded_set(m_pClient, true);
    mosquitto_int_option(m_pClient, MOSQ_OPT_TCP_NODELAY, 1);
    mosquitto_connect_callback_set(m_pClient, &CMqttClient::OnConnect);
    mosquitto_disconnect_callback_set(m_pClient, &CMqttClient::OnDisconnect);
    mosquitto_publish_callback_set(m_pClient, &CMqttClient::OnPublish);
    int code = mosquitto_will_set(m_pClient, willTopic.constData(), int(willPayload.size()), willPayload.constData(), 1,
        true);
    if (code == MOSQ_ERR_SUCCESS && !m_strUser.isEmpty())
        code = mosquitto_username_pw_set(m_pClient, m_strUser.toUtf8().constData(),
            m_strPasswordFile.isEmpty() ? nullptr : password.constData());
    if (code == MOSQ_ERR_SUCCESS && !m_strCaFile.isEmpty())
        code = mosquitto_tls_set(m_pClient, QFile::encodeName(m_strCaFile).constData(), nullptr, nullptr, nullptr,
            nullptr);
    if (code == MOSQ_ERR_SUCCESS)
        code = mosquitto_property_add_int32(&m_pConnectProperties, MQTT_PROP_MAXIMUM_PACKET_SIZE,
            MAX_INCOMING_PACKET_BYTES);
    return code;
}

void CMqttClient::Release()
{
    mosquitto_destroy(m_pClient);
    m_pClient = nullptr;
    mosquitto_property_free_all(&m_pConnectProperties);
}

void CMqttClient::Stop(const QByteArray& topic, const QByteArray& payload)
{
    if (!m_pClient)
        return;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
        m_finalTopic = topic;
        m_finalPayload = payload;
    }
    m_wake.notify_all();
    m_thread.join();
    Release();
    m_bConnected = false;
}

bool CMqttClient::Publish(const QByteArray& topic, const QByteArray& payload, int qos, bool retain)
{
    if (!m_bConnected)
        return false;
    if (m_nPending >= MAX_PENDING) {
        Report(
            QStringLiteral("MQTT broker %1:%2 takes no more messages; holding them back").arg(m_strHost).arg(m_nPort));
        return false;
    }
    // Counted first: the library's thread may write it out before
    // mosquitto_publish returns.
    ++m_nPending;
    const int code = mosquitto_publish(m_pClient, nullptr, topic.constData(), int(payload.size()), payload.constData(),
        qos, retain);
    if (code == MOSQ_ERR_SUCCESS)
        return true;
    --m_nPending;
    return false;
}

QString CMqttClient::Status() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_strStatus;
}

void CMqttClient::Run()
{
    int pause = FIRST_RETRY_MS;
    for (;;) {
        if (Stopping())
            break;
        if (ConnectOnce())
            Serve();
        // Checked before the connection is marked gone: a stop must leave
        // it to Leave() to say goodbye, or the broker publishes the will.
        if (Stopping())
            break;
        m_bConnected = false;
        if (m_bWasConnected.exchange(false))
            pause = FIRST_RETRY_MS;
        Wait(pause);
        pause = std::min(pause * 2, LAST_RETRY_MS);
    }
    Leave();
}

// A connection anew each time, as the library's reconnection would leave
// the properties out. Its MQTT 5 connection waits for the TCP handshake
// (see CTcpProbe), so a host that answers is waited for first.
bool CMqttClient::ConnectOnce()
{
    QString unreachable;
    if (!CTcpProbe::Reach(
            m_strHost, m_nPort, [this] { return Stopping(); }, unreachable, LOOP_MS)) {
        if (!unreachable.isEmpty())
            Report(QStringLiteral("MQTT broker %1:%2 unreachable: %3").arg(m_strHost).arg(m_nPort).arg(unreachable));
        return false;
    }
    m_bRefused = false;
    mosquitto_int_option(m_pClient, MOSQ_OPT_PROTOCOL_VERSION, m_bVersion311 ? MQTT_PROTOCOL_V311 : MQTT_PROTOCOL_V5);
    const int code = mosquitto_connect_bind_v5(m_pClient, m_strHost.toUtf8().constData(), m_nPort, KEEPALIVE_SECONDS,
        nullptr, m_bVersion311 ? nullptr : m_pConnectProperties);
    if (code == MOSQ_ERR_SUCCESS)
        return true;
    Report(QStringLiteral("MQTT broker %1:%2 unreachable: %3").arg(m_strHost).arg(m_nPort).arg(ErrorText(code)));
    return false;
}

// Until the connection ends or the server stops.
void CMqttClient::Serve()
{
    for (;;) {
        const int code = mosquitto_loop(m_pClient, LOOP_MS, 1);
        // The resent messages went out in the same turn of the loop as the
        // acceptance: only now may new ones follow them, in order.
        if (m_bAccepted.exchange(false)) {
            m_bConnected = true;
            QMetaObject::invokeMethod(
                this, [this] { Q_EMIT connected(); }, Qt::QueuedConnection);
        }
        if (Stopping())
            return;
        if (code == MOSQ_ERR_SUCCESS)
            continue;
        if (m_bWasConnected)
            Report(
                QStringLiteral("MQTT connection to %1:%2 lost: %3").arg(m_strHost).arg(m_nPort).arg(ErrorText(code)));
        else if (!m_bRefused && code != MOSQ_ERR_CONN_REFUSED && code != MOSQ_ERR_NO_CONN)
            Report(
                QStringLiteral("MQTT broker %1:%2 unreachable: %3").arg(m_strHost).arg(m_nPort).arg(ErrorText(code)));
        return;
    }
}

// The last state, then a proper goodbye: a broker that saw one does not
// publish the will.
void CMqttClient::Leave()
{
    using Clock = std::chrono::steady_clock;
    if (!m_bConnected)
        return;
    int mid = -1;
    if (!m_finalTopic.isEmpty())
        mosquitto_publish(m_pClient, &mid, m_finalTopic.constData(), int(m_finalPayload.size()),
            m_finalPayload.constData(), 1, true);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(LEAVE_MS);
    while (mid >= 0 && m_nLastAcked != mid && Clock::now() < deadline) {
        if (mosquitto_loop(m_pClient, 10, 1) != MOSQ_ERR_SUCCESS)
            break;
    }
    mosquitto_disconnect(m_pClient);
    while (m_bConnected && Clock::now() < deadline + std::chrono::milliseconds(LEAVE_MS)) {
        if (mosquitto_loop(m_pClient, 10, 1) != MOSQ_ERR_SUCCESS)
            break;
    }
    m_bConnected = false;
}

bool CMqttClient::Stopping() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_bStop;
}

void CMqttClient::Wait(int ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_bStop; });
}

// Only changes are logged: a broker that stays away is one line, not one
// per attempt.
void CMqttClient::Report(const QString& status)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (status == m_strStatus)
            return;
        m_strStatus = status;
    }
    ServerLog::Line(m_strName + QStringLiteral(": ") + status);
}

void CMqttClient::OnConnect(mosquitto*, void* self, int code)
{
    auto* client = static_cast<CMqttClient*>(self);
    if (code != 0) {
        client->OnRefused(code);
        return;
    }
    // What a lost connection left unsent is not counted again.
    client->m_nPending = 0;
    client->m_bAccepted = true;
    client->m_bWasConnected = true;
    client->Report(QStringLiteral("MQTT connected to %1:%2").arg(client->m_strHost).arg(client->m_nPort));
}

void CMqttClient::OnRefused(int code)
{
    m_bRefused = true;
    if (code == MQTT_RC_UNSUPPORTED_PROTOCOL_VERSION && !m_bVersion311) {
        m_bVersion311 = true;
        Report(QStringLiteral("MQTT broker %1:%2 does not speak MQTT 5; trying 3.1.1").arg(m_strHost).arg(m_nPort));
        return;
    }
    // MQTT 5 and 3.1.1 number their refusals differently.
    const char* reason = m_bVersion311 ? mosquitto_connack_string(code) : mosquitto_reason_string(code);
    Report(QStringLiteral("MQTT broker %1:%2 refused the connection: %3")
               .arg(m_strHost)
               .arg(m_nPort)
               .arg(QString::fromUtf8(reason)));
}

void CMqttClient::OnDisconnect(mosquitto*, void* self, int)
{
    auto* client = static_cast<CMqttClient*>(self);
    client->m_bAccepted = false;
    client->m_bConnected = false;
}

void CMqttClient::OnPublish(mosquitto*, void* self, int mid)
{
    auto* client = static_cast<CMqttClient*>(self);
    client->m_nLastAcked = mid;
    // Never below zero: a message resent after a reconnection was counted
    // before the count started again.
    int pending = client->m_nPending.load();
    while (pending > 0 && !client->m_nPending.compare_exchange_weak(pending, pending - 1)) { }
}
