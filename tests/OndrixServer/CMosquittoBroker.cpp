#include "CMosquittoBroker.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

CMosquittoBroker::CMosquittoBroker() = default;

CMosquittoBroker::~CMosquittoBroker()
{
    Stop();
}

int CMosquittoBroker::FreePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

bool CMosquittoBroker::Start(const QString& user, const QString& password, bool keep)
{
    m_nPort = FreePort();
    QByteArray config = "listener " + QByteArray::number(m_nPort) + " 127.0.0.1\nlog_dest none\n";
    // Started as root it would become another user who cannot read the
    // test's folder; as anyone else the line has no effect.
    if (const passwd* self = getpwuid(getuid()))
        config += "user " + QByteArray(self->pw_name) + "\n";
    if (keep)
        config += "persistence true\npersistence_location " + m_folder.path().toUtf8() + "/\n";
    else
        config += "persistence false\n";
    if (user.isEmpty()) {
        config += "allow_anonymous true\n";
    } else {
        const QString passwords = m_folder.filePath(QStringLiteral("passwords"));
        QFile(passwords).open(QIODevice::WriteOnly);
        if (QProcess::execute(QStringLiteral("mosquitto_passwd"), { QStringLiteral("-b"), passwords, user, password })
            != 0)
            return false;
        config += "allow_anonymous false\npassword_file " + passwords.toUtf8() + "\n";
    }
    QFile file(m_folder.filePath(QStringLiteral("mosquitto.conf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
        return false;
    file.close();
    return Launch();
}

bool CMosquittoBroker::Launch()
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(QStringLiteral("mosquitto"),
        { QStringLiteral("-c"), m_folder.filePath(QStringLiteral("mosquitto.conf")) });
    if (!m_process.waitForStarted(5000))
        return false;
    for (int i = 0; i < 250; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(m_nPort));
        if (socket.waitForConnected(100))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(20);
    }
    return false;
}

bool CMosquittoBroker::Restart()
{
    Stop();
    return Launch();
}

void CMosquittoBroker::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
