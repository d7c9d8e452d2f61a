#include "CScriptedServer.h"

#include "protocol/CCertificateFingerprint.h"
#include "protocol/ServerProtocol.h"

#include <QFile>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

const int STEP_TIMEOUT_MS = 5000;

QByteArray TestData(const char* name)
{
    QFile file(QStringLiteral(GUIKIT_TEST_DATA "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QSslCertificate Certificate()
{
    return QSslCertificate(TestData("scripted-server.crt"), QSsl::Pem);
}

// Takes the connection's descriptor, so that it can be handed to a TLS
// socket before a byte is read.
class CDescriptorServer : public QTcpServer
{
public:
    qintptr m_nDescriptor = -1;

protected:
    void incomingConnection(qintptr descriptor) override { m_nDescriptor = descriptor; }
};

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

CScriptedServer& CScriptedServer::Encrypted()
{
    m_bEncrypted = true;
    return *this;
}

CScriptedServer& CScriptedServer::Refusing(int connections)
{
    m_nRefused = connections;
    return *this;
}

QString CScriptedServer::Fingerprint()
{
    return CCertificateFingerprint::Of(Certificate());
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

bool CScriptedServer::Listen(const QString& address)
{
    m_strWanted = address;
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
    CDescriptorServer server;
    const quint16 port = m_bEncrypted ? ServerProtocol::TLS_PORT : ServerProtocol::PORT;
    for (int attempt = 0; attempt < 20 && !m_bListening; ++attempt) {
        m_strAddress = m_strWanted.isEmpty() ? RandomLoopbackAddress() : m_strWanted;
        m_bListening = server.listen(QHostAddress(m_strAddress), port);
    }
    m_listening.release();
    for (int connection = 0; connection <= m_nRefused; ++connection) {
        server.m_nDescriptor = -1;
        if (!m_bListening || !server.waitForNewConnection(m_nAcceptMs) || server.m_nDescriptor < 0)
            return;
        m_bConnected = true;
        Take(server.m_nDescriptor, connection == m_nRefused);
    }
}

// Unencrypted, a TLS socket is a plain one.
void CScriptedServer::Take(qintptr descriptor, bool play)
{
    QSslSocket socket;
    socket.setSocketDescriptor(descriptor);
    if (m_bEncrypted) {
        socket.setLocalCertificate(Certificate());
        socket.setPrivateKey(QSslKey(TestData("scripted-server.key"), QSsl::Ec));
        socket.setProtocol(QSsl::TlsV1_2OrLater);
        socket.startServerEncryption();
        if (!socket.waitForEncrypted(STEP_TIMEOUT_MS))
            return;
    }
    if (play)
        Serve(socket);
    else
        socket.waitForDisconnected(STEP_TIMEOUT_MS);
}

void CScriptedServer::Serve(QTcpSocket& socket)
{
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    Play(socket);
    // Anything the client sends beyond the script is kept too, until it goes.
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(STEP_TIMEOUT_MS))
        Keep(socket.readAll());
    Keep(socket.readAll());
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
            while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(STEP_TIMEOUT_MS)) { }
            break;
        case STEP::Wait: QThread::msleep(ulong(step.ms)); break;
        case STEP::Close: socket.disconnectFromHost(); return;
        }
    }
}

void CScriptedServer::Keep(const QByteArray& bytes)
{
    QMutexLocker lock(&m_mutex);
    m_received += bytes;
}
