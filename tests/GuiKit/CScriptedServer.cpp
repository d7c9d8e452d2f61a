#include "CScriptedServer.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

const quint16 PORT = 7777;
const int STEP_TIMEOUT_MS = 5000;

QString RandomLoopbackAddress()
{
    QRandomGenerator* random = QRandomGenerator::global();
    return QStringLiteral("127.%1.%2.%3")
        .arg(random->bounded(1, 255))
        .arg(random->bounded(0, 256))
        .arg(random->bounded(1, 255));
}

} // namespace

CScriptedServer::CScriptedServer(int acceptMs)
    : m_nAcceptMs(acceptMs)
{
}

CScriptedServer::~CScriptedServer()
{
    wait(STEP_TIMEOUT_MS * 2);
}

CScriptedServer& CScriptedServer::Greet(const QByteArray& greeting)
{
    return Send(greeting);
}

CScriptedServer& CScriptedServer::Expect(const QByteArray& request)
{
    m_expected += request;
    m_steps.append({ STEP::Read, request, 0 });
    return *this;
}

CScriptedServer& CScriptedServer::Send(const QByteArray& bytes)
{
    m_steps.append({ STEP::Write, bytes, 0 });
    return *this;
}

CScriptedServer& CScriptedServer::Answer(const QByteArray& payload)
{
    return Send("<D>" + payload + "</D>");
}

CScriptedServer& CScriptedServer::Pause(int ms)
{
    m_steps.append({ STEP::Wait, QByteArray(), ms });
    return *this;
}

CScriptedServer& CScriptedServer::Hangup()
{
    m_steps.append({ STEP::Close, QByteArray(), 0 });
    return *this;
}

bool CScriptedServer::Listen()
{
    start();
    m_listening.acquire();
    return m_bListening;
}

bool CScriptedServer::Finish(int ms)
{
    return wait(ms);
}

QByteArray CScriptedServer::Received() const
{
    QMutexLocker lock(&m_mutex);
    return m_received;
}

void CScriptedServer::run()
{
    QTcpServer server;
    for (int attempt = 0; attempt < 20 && !m_bListening; ++attempt) {
        m_strAddress = RandomLoopbackAddress();
        m_bListening = server.listen(QHostAddress(m_strAddress), PORT);
    }
    m_listening.release();
    if (!m_bListening || !server.waitForNewConnection(m_nAcceptMs))
        return;
    QTcpSocket* socket = server.nextPendingConnection();
    m_bConnected = true;
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    Play(*socket);
    // Anything the client sends beyond the script is kept too, until it goes.
    while (socket->state() == QAbstractSocket::ConnectedState && socket->waitForReadyRead(STEP_TIMEOUT_MS))
        Keep(socket->readAll());
    Keep(socket->readAll());
}

void CScriptedServer::Play(QTcpSocket& socket)
{
    for (const STEP& step : std::as_const(m_steps)) {
        switch (step.kind) {
        case STEP::Read: {
            qsizetype got = 0;
            while (got < step.bytes.size()) {
                if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(STEP_TIMEOUT_MS))
                    return;
                const QByteArray bytes = socket.read(step.bytes.size() - got);
                got += bytes.size();
                Keep(bytes);
            }
            break;
        }
        case STEP::Write:
            socket.write(step.bytes);
            while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(STEP_TIMEOUT_MS)) {
            }
            break;
        case STEP::Wait:
            QThread::msleep(ulong(step.ms));
            break;
        case STEP::Close:
            socket.disconnectFromHost();
            return;
        }
    }
}

void CScriptedServer::Keep(const QByteArray& bytes)
{
    QMutexLocker lock(&m_mutex);
    m_received += bytes;
}
