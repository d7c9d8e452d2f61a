#include "connections/CTlsServer.h"

#include <QSslSocket>

CTlsServer::CTlsServer(const QSslConfiguration& configuration, QObject* parent)
    : QTcpServer(parent)
    , m_configuration(configuration)
{
}

void CTlsServer::incomingConnection(qintptr descriptor)
{
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setSslConfiguration(m_configuration);
    addPendingConnection(socket);
}
