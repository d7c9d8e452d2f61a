#pragma once

#include <QSslConfiguration>
#include <QTcpServer>

// The encrypted port's listener: every connection comes out as a
// QSslSocket set up with the server's identity, its handshake not yet
// begun, so that a peer the server turns away costs it no cryptography.
class CTlsServer : public QTcpServer
{
    Q_OBJECT

public:
    CTlsServer(const QSslConfiguration& configuration, QObject* parent = nullptr);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QSslConfiguration m_configuration;
};
