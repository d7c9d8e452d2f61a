#include "CServerCore.h"

#include "CClientConnection.h"
#include "ServerLog.h"
#include "ServerProtocol.h"

#include <QTcpServer>
#include <QTcpSocket>

CServerCore::CServerCore(const SERVER_SETTINGS& settings)
    : CServerCore(settings, QList<IDevice*>())
{
    m_bLoadPlugins = true;
}

CServerCore::CServerCore(const SERVER_SETTINGS& settings, const QList<IDevice*>& devices)
    : m_settings(settings)
    , m_policy(settings)
    , m_pool(devices)
    , m_handler(&m_pool)
    , m_mqtt(settings.mqtt)
    , m_bLoadPlugins(false)
{
}

CServerCore::~CServerCore()
{
    Stop();
}

QList<QHostAddress> CServerCore::ListenAddresses(const SERVER_SETTINGS& settings)
{
    if (!settings.listen.isEmpty())
        return settings.listen;
    return { QHostAddress(QHostAddress::LocalHost), QHostAddress(QHostAddress::LocalHostIPv6) };
}

bool CServerCore::Start(QString& error)
{
    if (m_bStarted)
        return true;
    if (m_bLoadPlugins && !m_pool.Load(error))
        return false;
    if (m_pool.Count() == 0) {
        error = QStringLiteral("no device to share");
        return false;
    }
    if (!Listen(error))
        return false;
    m_pool.Start();
    if (!m_mqtt.Start(m_pool.Devices(), error)) {
        m_servers.clear();
        m_pool.Stop();
        return false;
    }
    m_bStarted = true;
    return true;
}

void CServerCore::Stop()
{
    m_servers.clear();
    const QList<CClientConnection*> connections = m_connections;
    m_connections.clear();
    for (CClientConnection* connection : connections) {
        connection->disconnect(this);
        connection->Close();
        delete connection;
    }
    if (m_bStarted)
        ServerLog::Line(QStringLiteral("stopped"));
    m_mqtt.Stop();
    m_pool.Stop();
    m_bStarted = false;
}

// The default pair of loopback addresses serves as long as one of them
// binds (a machine without IPv6 has no ::1); an address the user named
// must bind.
bool CServerCore::Listen(QString& error)
{
    const QList<QHostAddress> addresses = ListenAddresses(m_settings);
    for (const QHostAddress& address : addresses) {
        auto server = std::make_unique<QTcpServer>();
        server->setMaxPendingConnections(m_settings.maxConnections);
        if (!server->listen(address, ServerProtocol::PORT)) {
            const QString why = ServerLog::PeerText(address, ServerProtocol::PORT) + QStringLiteral(": ") + server->errorString();
            if (!m_settings.listen.isEmpty()) {
                error = QStringLiteral("cannot listen on ") + why;
                m_servers.clear();
                return false;
            }
            ServerLog::Line(QStringLiteral("not listening on ") + why);
            continue;
        }
        ServerLog::Line(QStringLiteral("listening on ") + ServerLog::PeerText(address, ServerProtocol::PORT));
        QTcpServer* raw = server.get();
        connect(raw, &QTcpServer::newConnection, this, [this, raw] { OnServerNewConnection(raw); });
        m_servers.push_back(std::move(server));
    }
    if (m_servers.empty()) {
        error = QStringLiteral("cannot listen on port ") + QString::number(ServerProtocol::PORT);
        return false;
    }
    return true;
}

void CServerCore::OnServerNewConnection(QTcpServer* server)
{
    while (QTcpSocket* socket = server->nextPendingConnection())
        Accept(socket);
}

void CServerCore::Accept(QTcpSocket* socket)
{
    const QHostAddress peer = socket->peerAddress();
    const quint16 port = socket->peerPort();
    QString refusal;
    if (!m_policy.IsAllowed(peer))
        refusal = QStringLiteral("refused: not an allowed network");
    else if (m_connections.size() >= m_settings.maxConnections)
        refusal = QStringLiteral("refused: too many connections");
    if (!refusal.isEmpty()) {
        ServerLog::Peer(peer, port, refusal);
        socket->abort();
        socket->deleteLater();
        return;
    }
    const bool mayControl = m_policy.MayControl(peer);
    ServerLog::Peer(peer, port, mayControl ? QStringLiteral("connected (control)") : QStringLiteral("connected (read-only)"));
    auto* connection = new CClientConnection(socket, &m_handler, &m_pool, m_settings, mayControl, this);
    connect(connection, &CClientConnection::closed, this, &CServerCore::OnConnectionClosed);
    m_connections.append(connection);
}

void CServerCore::OnConnectionClosed(CClientConnection* connection)
{
    m_connections.removeOne(connection);
    connection->deleteLater();
}
