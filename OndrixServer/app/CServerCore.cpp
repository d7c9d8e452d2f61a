#include "app/CServerCore.h"

#include "app/ServerLog.h"
#include "connections/CClientConnection.h"
#include "connections/CPeerLogLimiter.h"
#include "connections/CTlsServer.h"
#include "protocol/ServerCommandLine.h"
#include "protocol/ServerProtocol.h"

#include <QSslConfiguration>
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
    , m_gate(&m_policy)
    , m_pool(devices)
    , m_handler(&m_pool, &m_gate)
    , m_mqtt(settings.mqtt)
    , m_counter(settings.maxConnections, settings.maxPerAddress)
    , m_bLoadPlugins(false)
{
    m_logTimer.setInterval(int(CPeerLogLimiter::WINDOW_MS));
    connect(&m_logTimer, &QTimer::timeout, this, &ServerLog::FlushSuppressed);
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
    if (!LoadIdentity(error) || !Listen(error))
        return false;
    m_pool.Start();
    if (!m_mqtt.Start(m_pool.Devices(), error)) {
        m_servers.clear();
        m_pool.Stop();
        return false;
    }
    m_logTimer.start();
    m_bStarted = true;
    return true;
}

void CServerCore::Stop()
{
    m_servers.clear();
    m_logTimer.stop();
    const QList<CClientConnection*> connections = m_connections;
    m_connections.clear();
    m_counter.Clear();
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

bool CServerCore::LoadIdentity(QString& error)
{
    // Made at the first start that names its folder (the unit does), or
    // needs it; a server run for a test of its own leaves the user's alone.
    if (m_settings.tlsListen.isEmpty() && m_settings.stateDir.isEmpty()
        && qEnvironmentVariableIsEmpty("STATE_DIRECTORY"))
        return true;
    const QString folder = m_settings.stateDir.isEmpty() ? CServerIdentity::DefaultFolder() : m_settings.stateDir;
    if (!m_identity.Load(folder, error))
        return false;
    m_gate.SetKeys(m_identity.ViewKey(), m_identity.ControlKey());
    ServerLog::Line(QStringLiteral("identity: fingerprint ") + m_identity.Fingerprint());
    return true;
}

bool CServerCore::Listen(QString& error)
{
    const QList<QHostAddress> addresses = ListenAddresses(m_settings);
    for (const QHostAddress& address : addresses) {
        if (!MayListen(address, error))
            return false;
    }
    if (!ListenOn(addresses, ServerProtocol::PORT, !m_settings.listen.isEmpty(), false, error))
        return false;
    if (m_settings.tlsListen.isEmpty() || ListenOn(m_settings.tlsListen, m_settings.tlsPort, true, true, error))
        return true;
    m_servers.clear();
    return false;
}

std::unique_ptr<QTcpServer> CServerCore::MakeServer(bool encrypted) const
{
    if (!encrypted)
        return std::make_unique<QTcpServer>();
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(m_identity.Certificate());
    tls.setPrivateKey(m_identity.PrivateKey());
    tls.setProtocol(QSsl::TlsV1_2OrLater);
    // Clients prove themselves by key, not by certificate.
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    return std::make_unique<CTlsServer>(tls);
}

// The default pair of loopback addresses serves as long as one of them
// binds (a machine without IPv6 has no ::1); an address the user named
// must bind.
bool CServerCore::ListenOn(const QList<QHostAddress>& addresses, quint16 port, bool named, bool encrypted,
    QString& error)
{
    const size_t before = m_servers.size();
    for (const QHostAddress& address : addresses) {
        std::unique_ptr<QTcpServer> server = MakeServer(encrypted);
        server->setMaxPendingConnections(m_settings.maxConnections);
        const QString where = ServerLog::PeerText(address, port);
        if (!server->listen(address, port)) {
            const QString why = where + QStringLiteral(": ") + server->errorString();
            if (named) {
                error = QStringLiteral("cannot listen on ") + why;
                m_servers.clear();
                return false;
            }
            ServerLog::Line(QStringLiteral("not listening on ") + why);
            continue;
        }
        ServerLog::Line(QStringLiteral("listening on ") + where + (encrypted ? QStringLiteral(" (TLS)") : QString()));
        QTcpServer* raw = server.get();
        connect(raw, &QTcpServer::newConnection, this,
            [this, raw, encrypted] { OnServerNewConnection(raw, encrypted); });
        m_servers.push_back(std::move(server));
    }
    if (m_servers.size() > before)
        return true;
    error = QStringLiteral("cannot listen on port ") + QString::number(port);
    return false;
}

// The plain protocol is unencrypted: beyond this computer only on the
// operator's word, and with a warning in the log.
bool CServerCore::MayListen(const QHostAddress& address, QString& error) const
{
    if (CPeerPolicy::IsLoopback(address))
        return true;
    const QString where = ServerLog::PeerText(address, ServerProtocol::PORT);
    if (!m_settings.allowPlainNetwork) {
        error = QStringLiteral("refusing to listen on %1: it is not this computer's loopback address, and the "
                               "plain protocol would cross the network unencrypted; give --%2 to serve other "
                               "computers so")
                    .arg(where, QLatin1String(ServerCommandLine::ALLOW_PLAIN_NETWORK));
        return false;
    }
    ServerLog::Line(QStringLiteral("warning: %1 serves other computers over the plain protocol: requests and "
                                   "answers cross the network unencrypted")
                        .arg(where));
    return true;
}

void CServerCore::OnServerNewConnection(QTcpServer* server, bool encrypted)
{
    while (QTcpSocket* socket = server->nextPendingConnection())
        Accept(socket, encrypted);
}

void CServerCore::Accept(QTcpSocket* socket, bool encrypted)
{
    const QHostAddress peer = socket->peerAddress();
    const quint16 port = socket->peerPort();
    const QString refusal = Admit(peer, encrypted);
    if (!refusal.isEmpty()) {
        ServerLog::Peer(peer, port, refusal);
        socket->abort();
        socket->deleteLater();
        return;
    }
    CLIENT_SESSION session;
    session.address = peer;
    session.port = port;
    // On the encrypted port the key decides, once given.
    session.needsKey = encrypted;
    session.mayControl = !encrypted && m_policy.MayControl(peer);
    ServerLog::Peer(peer, port,
        encrypted                ? QStringLiteral("connected (TLS)")
            : session.mayControl ? QStringLiteral("connected (control)")
                                 : QStringLiteral("connected (read-only)"));
    auto* connection = new CClientConnection(socket, &m_handler, &m_pool, m_settings, session, this);
    connect(connection, &CClientConnection::closed, this, &CServerCore::OnConnectionClosed);
    m_connections.append(connection);
}

// Empty when the peer is let in, and then counted; otherwise why not.
QString CServerCore::Admit(const QHostAddress& peer, bool encrypted)
{
    if (!m_policy.IsAllowed(peer))
        return QStringLiteral("refused: not an allowed network");
    if (encrypted && m_gate.IsShutOut(peer))
        return QStringLiteral("refused: shut out after wrong access keys");
    switch (m_counter.Add(peer)) {
    case CAddressCounter::Admitted: return QString();
    case CAddressCounter::AddressFull: return QStringLiteral("refused: too many connections from its address");
    case CAddressCounter::ServerFull: break;
    }
    return QStringLiteral("refused: too many connections");
}

void CServerCore::OnConnectionClosed(CClientConnection* connection)
{
    if (m_connections.removeOne(connection))
        m_counter.Remove(connection->Session().address);
    connection->deleteLater();
}
