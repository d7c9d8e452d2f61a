#include "CLoopbackServer.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace {

const quint16 PORT = 7777;
const int POLL_MS = 20;

} // namespace

CLoopbackServer::CLoopbackServer(const QString& address, Behaviour behaviour, const QString& devices)
    : m_strAddress(address)
    , m_eBehaviour(behaviour)
    , m_strDevices(devices)
{
}

CLoopbackServer::~CLoopbackServer()
{
    Stop();
    wait();
}

quint32 CLoopbackServer::RandomLoopbackBlock()
{
    QRandomGenerator* random = QRandomGenerator::global();
    return (127u << 24) | (random->bounded(1u, 255u) << 16) | (random->bounded(0u, 256u) << 8)
        | (random->bounded(1u, 31u) << 3);
}

bool CLoopbackServer::Listen()
{
    start();
    m_listening.acquire();
    return m_bListening;
}

void CLoopbackServer::Stop()
{
    m_bStop = true;
}

QStringList CLoopbackServer::Requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

void CLoopbackServer::run()
{
    QTcpServer server;
    m_bListening = server.listen(QHostAddress(m_strAddress), PORT);
    m_listening.release();
    if (!m_bListening)
        return;
    while (!m_bStop) {
        if (!server.waitForNewConnection(POLL_MS))
            continue;
        std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
        ++m_nConnections;
        Serve(socket.get());
    }
}

void CLoopbackServer::Serve(QTcpSocket* socket)
{
    if (m_eBehaviour != NoGreeting) {
        socket->write("ack");
        socket->waitForBytesWritten(1000);
    }
    while (!m_bStop && socket->state() == QAbstractSocket::ConnectedState) {
        if (!socket->waitForReadyRead(POLL_MS))
            continue;
        // Requests come one at a time: whatever arrived is one.
        const QByteArray request = socket->readAll();
        {
            QMutexLocker lock(&m_mutex);
            m_requests.append(QString::fromUtf8(request));
        }
        Answer(socket, request);
        if (m_eBehaviour == CloseOnRequest)
            break;
    }
    socket->close();
}

void CLoopbackServer::Answer(QTcpSocket* socket, const QByteArray& request)
{
    QByteArray answer;
    switch (m_eBehaviour) {
    case Normal:
        answer = "<D>" + (request == "GetServerDevicesList" ? m_strDevices.toUtf8() : QByteArray("1")) + "</D>";
        break;
    case GarbageAnswer: answer = "\x01\xfegarbage"; break;
    default: return;
    }
    socket->write(answer);
    socket->waitForBytesWritten(1000);
}
