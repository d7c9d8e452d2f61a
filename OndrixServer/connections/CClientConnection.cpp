#include "connections/CClientConnection.h"

#include "IDevice.h"
#include "app/ServerLog.h"
#include "devices/CDevicePool.h"
#include "devices/CRequestHandler.h"
#include "protocol/ServerProtocol.h"

#include <QSslSocket>
#include <QTcpSocket>

#include <algorithm>

CClientConnection::CClientConnection(QTcpSocket* socket, CRequestHandler* handler, CDevicePool* pool,
    const SERVER_SETTINGS& settings, const CLIENT_SESSION& session, QObject* parent)
    : QObject(parent)
    , m_pSocket(socket)
    , m_pSslSocket(qobject_cast<QSslSocket*>(socket))
    , m_pHandler(handler)
    , m_pPool(pool)
    , m_nMaxRequestBytes(settings.maxRequestBytes)
    , m_nIdleMs(qint64(settings.idleSeconds) * 1000)
    , m_nStallMs(qint64(settings.stallSeconds) * 1000)
    , m_reader(CRequestHandler::Forms(), settings.maxRequestBytes)
{
    m_pSocket->setParent(this);
    m_pSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // What lies beyond one request waits in the kernel, which makes the
    // peer wait in turn.
    m_pSocket->setReadBufferSize(settings.maxRequestBytes + 1);
    m_session = session;
    m_pauseTimer.setSingleShot(true);
    m_restTimer.setSingleShot(true);
    m_firstRequestTimer.setSingleShot(true);
    m_pauseTimer.setTimerType(Qt::PreciseTimer);
    m_pauseTimer.setInterval(PAUSE_MS);
    m_restTimer.setInterval(REST_MS);
    m_watchTimer.setInterval(WATCH_MS);
    m_firstRequestTimer.setInterval(settings.firstRequestSeconds * 1000);
    connect(m_pSocket, &QTcpSocket::readyRead, this, &CClientConnection::OnSocketReadyRead);
    connect(m_pSocket, &QTcpSocket::bytesWritten, this, &CClientConnection::OnSocketBytesWritten);
    connect(m_pSocket, &QTcpSocket::disconnected, this, &CClientConnection::OnSocketDisconnected);
    connect(&m_pauseTimer, &QTimer::timeout, this, &CClientConnection::OnPauseTimer);
    connect(&m_restTimer, &QTimer::timeout, this, &CClientConnection::OnRestTimer);
    connect(&m_watchTimer, &QTimer::timeout, this, &CClientConnection::OnWatchTimer);
    connect(&m_firstRequestTimer, &QTimer::timeout, this, &CClientConnection::OnFirstRequestTimer);
    m_activity.start();
    m_watchTimer.start();
    // Covers a handshake that never ends as well.
    m_firstRequestTimer.start();
    if (!m_pSslSocket) {
        Send(QByteArray(ServerProtocol::GREETING));
        return;
    }
    connect(m_pSslSocket, &QSslSocket::encrypted, this, &CClientConnection::OnSocketEncrypted);
    connect(m_pSslSocket, &QSslSocket::encryptedBytesWritten, this, &CClientConnection::OnSocketEncryptedBytesWritten);
    connect(m_pSslSocket, &QSslSocket::errorOccurred, this, &CClientConnection::OnSocketError);
    m_pSslSocket->startServerEncryption();
}

CClientConnection::~CClientConnection() = default;

void CClientConnection::Close()
{
    if (m_bClosed)
        return;
    m_bClosed = true;
    m_pauseTimer.stop();
    m_restTimer.stop();
    m_watchTimer.stop();
    m_firstRequestTimer.stop();
    m_answer.clear();
    // A TLS socket may have its own flush posted, which would run on the
    // state abort() frees; it is closed with the connection instead, which
    // the server deletes at the next turn of the event loop.
    if (m_pSslSocket)
        m_pSocket->disconnect(this);
    else
        m_pSocket->abort();
    Q_EMIT closed(this);
}

void CClientConnection::OnSocketReadyRead()
{
    Process();
}

// The socket handed bytes to the kernel. Once it holds none, the rest of
// the answer, or the next request, comes at this turn of the event loop.
void CClientConnection::OnSocketBytesWritten(qint64 bytes)
{
    m_nQueued -= bytes;
    OnSocketEncryptedBytesWritten();
}

void CClientConnection::OnSocketEncryptedBytesWritten()
{
    m_activity.restart();
    if (m_bClosed || Unsent() > 0)
        return;
    if (!m_answer.isNull())
        return SendSlice();
    if (!m_bClosing)
        return Process();
    // TLS ends with its own farewell, after what it still holds; the
    // socket's disconnection closes the connection.
    if (m_pSslSocket && m_pSslSocket->state() == QAbstractSocket::ConnectedState)
        return m_pSslSocket->disconnectFromHost();
    Close();
}

void CClientConnection::OnSocketDisconnected()
{
    if (!m_bClosing)
        Log(QStringLiteral("disconnected"));
    Close();
}

void CClientConnection::OnSocketEncrypted()
{
    m_activity.restart();
    Send(QByteArray(ServerProtocol::GREETING));
}

// A plain client on this port, or one that gave up the handshake.
void CClientConnection::OnSocketError()
{
    if (m_bClosed || m_pSslSocket->isEncrypted())
        return;
    Drop(QStringLiteral("TLS handshake failed: ") + m_pSslSocket->errorString());
}

void CClientConnection::OnPauseTimer()
{
    if (!Sending() && m_reader.Examine() == CRequestReader::Provisional)
        return Reply(m_reader.Take());
    Process();
}

void CClientConnection::OnRestTimer()
{
    if (Sending() || m_reader.Examine() != CRequestReader::Partial)
        return Process();
    Refuse(m_reader.Take(), QStringLiteral("sent half a request"));
}

void CClientConnection::OnWatchTimer()
{
    const qint64 quiet = m_activity.elapsed();
    if (m_bClosing && !Sending() && quiet >= WATCH_MS)
        Close(); // its farewell went unanswered
    else if (Sending() && quiet >= m_nStallMs)
        Drop(QStringLiteral("stopped reading its answers"));
    else if (!Sending() && m_nIdleMs > 0 && quiet >= m_nIdleMs)
        Drop(QStringLiteral("idle too long"));
}

void CClientConnection::OnFirstRequestTimer()
{
    Drop(QStringLiteral("sent no request in time"));
}

// One request, if one is whole; the next waits until its answer is out.
void CClientConnection::Process()
{
    if (m_pauseTimer.isActive())
        m_pauseTimer.stop();
    if (m_bClosed || m_bClosing || Sending())
        return;
    ReadMore();
    UpdateLimits();
    switch (m_reader.Examine()) {
    case CRequestReader::Empty: m_restTimer.stop(); return;
    case CRequestReader::Partial:
        if (!m_restTimer.isActive())
            m_restTimer.start();
        return;
    case CRequestReader::Provisional: m_pauseTimer.start(); return;
    case CRequestReader::Overlong: return Drop(QStringLiteral("request too long"));
    case CRequestReader::Unknown:
    case CRequestReader::Malformed:
        return Refuse(m_reader.Take(), QStringLiteral("sent a request the server does not know"));
    case CRequestReader::Complete: m_restTimer.stop(); return Reply(m_reader.Take());
    }
}

// No more than one request can need.
void CClientConnection::ReadMore()
{
    const qint64 room = qint64(m_nMaxRequestBytes) + 1 - m_reader.Buffered();
    if (room <= 0 || m_pSocket->bytesAvailable() <= 0)
        return;
    m_reader.Append(m_pSocket->read(room));
    m_activity.restart();
}

void CClientConnection::Reply(const SERVER_REQUEST& request)
{
    m_firstRequestTimer.stop();
    Send(m_pHandler->Answer(request, m_session));
    // A wrong key, or a request before one: this answer is the last.
    m_bClosing = m_session.refused;
}

// The failed answer, then the end: what follows cannot be told apart from
// the rest of what failed.
void CClientConnection::Refuse(const SERVER_REQUEST& request, const QString& why)
{
    m_restTimer.stop();
    Log(why + QStringLiteral(", closing"));
    m_bClosing = true;
    Send(m_pHandler->Answer(request, m_session));
}

void CClientConnection::Send(const QByteArray& answer)
{
    m_answer = answer;
    m_nSent = 0;
    SendSlice();
}

// The socket copies the slice; the whole answer is let go with the last.
void CClientConnection::SendSlice()
{
    const qsizetype size = std::min(SLICE_BYTES, m_answer.size() - m_nSent);
    m_nQueued += std::max<qint64>(0, m_pSocket->write(m_answer.constData() + m_nSent, size));
    m_nSent += size;
    if (m_nSent < m_answer.size())
        return;
    m_answer = QByteArray();
    m_nSent = 0;
}

bool CClientConnection::Sending() const
{
    return !m_answer.isNull() || Unsent() > 0;
}

// Counted, not asked: a TLS socket tells no bytes to write for what it
// has yet to encrypt. What it encrypted and holds counts too, or a peer
// that reads nothing would have every answer piled up there.
qint64 CClientConnection::Unsent() const
{
    return m_nQueued + (m_pSslSocket ? m_pSslSocket->encryptedBytesToWrite() : 0);
}

void CClientConnection::Drop(const QString& why)
{
    if (m_bClosed)
        return;
    Log(QStringLiteral("dropped: ") + why);
    Close();
}

void CClientConnection::Log(const QString& text)
{
    ServerLog::Peer(m_session.address, m_session.port, text);
}

// A record index is whole once one more digit would pass the last record.
void CClientConnection::UpdateLimits()
{
    IDevice* device = m_pPool->Device(m_session.device);
    const qint64 count = device ? device->GetCurrentRecordIndex() : 0;
    m_reader.SetLimit(ServerProtocol::GetRecord, std::max<qint64>(0, count - 1));
}
