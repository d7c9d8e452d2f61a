#include "CLatencyRelay.h"

#include "protocol/ServerProtocol.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

const int CONNECT_MS = 2000;
const qint64 NS_PER_MS = 1000000;
const qint64 NS_PER_US = 1000;
// An event loop's timer may wake up to a millisecond late: it is set this
// much early, and the rest of the wait is slept.
const qint64 EARLY_NS = 2 * NS_PER_MS;

} // namespace

CLatencyRelay::CLatencyRelay(const QString& listenAddress, const QString& targetAddress, int delayUs)
    : m_strListen(listenAddress)
    , m_strTarget(targetAddress)
    , m_nDelayNs(qint64(delayUs) * NS_PER_US)
{
}

CLatencyRelay::~CLatencyRelay()
{
    Stop();
}

bool CLatencyRelay::Start()
{
    start();
    m_started.acquire();
    return m_bListening;
}

void CLatencyRelay::Stop()
{
    quit();
    wait();
}

void CLatencyRelay::run()
{
    QTcpServer server;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    m_pTimer = &timer;
    m_clock.start();
    QObject::connect(&timer, &QTimer::timeout, &timer, [this] { Deliver(); });
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] { Accept(&server); });
    m_bListening = server.listen(QHostAddress(m_strListen), ServerProtocol::PORT);
    m_started.release();
    if (m_bListening)
        exec();
    m_queue.clear();
    m_pTimer = nullptr;
}

void CLatencyRelay::Accept(QTcpServer* server)
{
    while (QTcpSocket* inbound = server->nextPendingConnection()) {
        auto* outbound = new QTcpSocket(inbound);
        outbound->connectToHost(m_strTarget, ServerProtocol::PORT);
        if (!outbound->waitForConnected(CONNECT_MS)) {
            inbound->deleteLater();
            continue;
        }
        inbound->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        outbound->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        Pipe(inbound, outbound);
        Pipe(outbound, inbound);
    }
}

void CLatencyRelay::Pipe(QTcpSocket* from, QTcpSocket* to)
{
    QObject::connect(from, &QTcpSocket::readyRead, from, [this, from, to] { Enqueue(to, from->readAll(), false); });
    QObject::connect(from, &QTcpSocket::disconnected, from, [this, from, to] { Enqueue(to, from->readAll(), true); });
    // Bytes that came before the relay was listening to them.
    if (from->bytesAvailable() > 0)
        Enqueue(to, from->readAll(), false);
}

void CLatencyRelay::Enqueue(QTcpSocket* to, const QByteArray& bytes, bool close)
{
    // Sockets closing with the relay's own end have nowhere to go.
    if (!m_pTimer || (bytes.isEmpty() && !close))
        return;
    m_queue.enqueue({ m_clock.nsecsElapsed() + m_nDelayNs, to, bytes, close });
    if (!m_pTimer->isActive())
        Arm();
}

void CLatencyRelay::Deliver()
{
    while (!m_queue.isEmpty()) {
        const qint64 wait = m_queue.head().dueNs - m_clock.nsecsElapsed();
        if (wait >= EARLY_NS)
            break;
        if (wait > 0)
            QThread::usleep(unsigned(wait / NS_PER_US));
        const CHUNK chunk = m_queue.dequeue();
        if (!chunk.to)
            continue;
        if (!chunk.bytes.isEmpty())
            chunk.to->write(chunk.bytes);
        chunk.to->flush();
        if (chunk.close)
            chunk.to->disconnectFromHost();
    }
    Arm();
}

void CLatencyRelay::Arm()
{
    if (m_queue.isEmpty())
        return;
    const qint64 wait = m_queue.head().dueNs - m_clock.nsecsElapsed();
    m_pTimer->start(int(std::max<qint64>(0, (wait - EARLY_NS) / NS_PER_MS)));
}
