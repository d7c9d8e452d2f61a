#include "CLoopbackDeviceServer.h"

#include "proxy/CMetaDevice.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>

QString CLoopbackDeviceServer::Listen()
{
    start();
    while (!m_bReady)
        QThread::msleep(1);
    return m_strAddress;
}

QString CLoopbackDeviceServer::RandomAddress()
{
    QRandomGenerator* random = QRandomGenerator::global();
    return QStringLiteral("127.%1.%2.%3")
        .arg(random->bounded(1, 255))
        .arg(random->bounded(0, 256))
        .arg(random->bounded(1, 255));
}

void CLoopbackDeviceServer::run()
{
    QTcpServer server;
    for (int attempt = 0; attempt < 20 && !server.isListening(); ++attempt) {
        m_strAddress = RandomAddress();
        server.listen(QHostAddress(m_strAddress), CMetaDevice::SERVER_PORT);
    }
    m_bReady = true;
    if (!server.waitForNewConnection(5000))
        return;
    QTcpSocket* socket = server.nextPendingConnection();
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->write("ack");
    while (socket->waitForReadyRead(5000)) {
        const QByteArray request = socket->readAll();
        ++requests;
        socket->write("<D>" + Answer(request) + "</D>");
        while (socket->bytesToWrite() > 0 && socket->waitForBytesWritten(5000)) { }
        if (request == "Uninitialize")
            break;
    }
}
