#include "CClientConnection.h"

#include "CDevicePool.h"
#include "CRequestHandler.h"
#include "IDevice.h"
#include "ServerLog.h"
#include "ServerProtocol.h"

#include <QTcpSocket>

CClientConnection::CClientConnection(QTcpSocket* socket, CRequestHandler* handler, CDevicePool* pool,
    const SERVER_SETTINGS& settings, bool mayControl, QObject* parent)
    : QObject(parent)
    , m_pSocket(socket)
    , m_pHandler(handler)
    , m_pPool(pool)
    , m_nMaxPendingBytes(settings.maxPendingBytes)
    , m_reader(CRequestHandler::Forms(), settings.maxRequestBytes)
{
    m_pSocket->setParent(this);
    m_pSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_session.mayControl = mayControl;
    m_session.peer = ServerLog::PeerText(m_pSocket->peerAddress(), m_pSocket->peerPort());
    m_pauseTimer.setSingleShot(true);
    m_restTimer.setSingleShot(true);
    m_idleTimer.setSingleShot(true);
    m_pauseTimer.setTimerType(Qt::PreciseTimer);
    m_pauseTimer.setInterval(PAUSE_MS);
    m_restTimer.setInterval(REST_MS);
    m_idleTimer.setInterval(settings.idleSeconds * 1000);
    connect(m_pSocket, &QTcpSocket::readyRead, this, &CClientConnection::OnSocketReadyRead);
    connect(m_pSocket, &QTcpSocket::disconnected, this, &CClientConnection::OnSocketDisconnected);
    connect(&m_pauseTimer, &QTimer::timeout, this, &CClientConnection::OnPauseTimer);
    connect(&m_restTimer, &QTimer::timeout, this, &CClientConnection::OnRestTimer);
    connect(&m_idleTimer, &QTimer::timeout, this, &CClientConnection::OnIdleTimer);
    m_activity.start();
    if (settings.idleSeconds > 0)
        m_idleTimer.start();
    m_pSocket->write(ServerProtocol::GREETING);
}

CClientConnection::~CClientConnection() = default;

void CClientConnection::Close()
{
    if (m_bClosed)
        return;
    m_bClosed = true;
    m_pauseTimer.stop();
    m_restTimer.stop();
    m_idleTimer.stop();
    m_pSocket->abort();
    Q_EMIT closed(this);
}

void CClientConnection::OnSocketReadyRead()
{
    if (m_bClosed)
        return;
    // Cheaper than restarting the idle timer for every request.
    m_activity.restart();
    m_reader.Append(m_pSocket->readAll());
    Process();
}

void CClientConnection::OnSocketDisconnected()
{
    ServerLog::Line(m_session.peer + QStringLiteral(" disconnected"));
    Close();
}

void CClientConnection::OnPauseTimer()
{
    if (m_reader.Examine() == CRequestReader::Provisional)
        Reply(m_reader.Take());
    Process();
}

// The rest never came: the request is answered as a failed one.
void CClientConnection::OnRestTimer()
{
    if (m_reader.Examine() != CRequestReader::Partial)
        return Process();
    const SERVER_REQUEST request = m_reader.Take();
    ServerLog::Line(m_session.peer + QStringLiteral(" sent half a request"));
    Reply(request);
    Process();
}

void CClientConnection::OnIdleTimer()
{
    const qint64 left = m_idleTimer.interval() - m_activity.elapsed();
    if (left > 0)
        return m_idleTimer.start(int(left));
    Drop(QStringLiteral("idle too long"));
}

void CClientConnection::Process()
{
    if (m_pauseTimer.isActive())
        m_pauseTimer.stop();
    while (!m_bClosed) {
        UpdateLimits();
        switch (m_reader.Examine()) {
        case CRequestReader::Empty:
            if (m_restTimer.isActive())
                m_restTimer.stop();
            return;
        case CRequestReader::Partial:
            if (!m_restTimer.isActive())
                m_restTimer.start();
            return;
        case CRequestReader::Provisional:
            m_pauseTimer.start();
            return;
        case CRequestReader::Overlong:
            Drop(QStringLiteral("request too long"));
            return;
        case CRequestReader::Unknown:
        case CRequestReader::Malformed:
            ServerLog::Line(m_session.peer + QStringLiteral(" sent a request the server does not know"));
            [[fallthrough]];
        case CRequestReader::Complete:
            if (m_restTimer.isActive())
                m_restTimer.stop();
            Reply(m_reader.Take());
            break;
        }
    }
}

void CClientConnection::Reply(const SERVER_REQUEST& request)
{
    const QByteArray answer = m_pHandler->Answer(request, m_session);
    // An honest client reads each answer before it asks again.
    if (m_pSocket->bytesToWrite() + answer.size() > m_nMaxPendingBytes && m_pSocket->bytesToWrite() > 0)
        return Drop(QStringLiteral("stopped reading its answers"));
    // Out now rather than at the next turn of the event loop: the peer is
    // waiting for it.
    m_pSocket->write(answer);
    m_pSocket->flush();
}

void CClientConnection::Drop(const QString& why)
{
    if (m_bClosed)
        return;
    ServerLog::Line(m_session.peer + QStringLiteral(" dropped: ") + why);
    Close();
}

// A record index is whole once one more digit would pass the last record.
void CClientConnection::UpdateLimits()
{
    IDevice* device = m_pPool->Device(m_session.device);
    const qint64 count = device ? device->GetCurrentRecordIndex() : 0;
    m_reader.SetLimit(ServerProtocol::GetRecord, std::max<qint64>(0, count - 1));
}
