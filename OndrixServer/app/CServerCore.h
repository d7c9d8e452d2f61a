#pragma once

#include "app/SERVER_SETTINGS.h"
#include "connections/CAddressCounter.h"
#include "devices/CDevicePool.h"
#include "devices/CRequestHandler.h"
#include "mqtt/CMqttBridge.h"
#include "security/CAccessGate.h"
#include "security/CPeerPolicy.h"
#include "security/CServerIdentity.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class CClientConnection;
class QTcpServer;
class QTcpSocket;

// The server: listens where it was told, plainly (beyond loopback only when
// the operator allowed the plain protocol there) and with TLS, lets in the
// peers the policy allows up to the connection limits, in total and per
// address, asks those on the encrypted port for an access key first, and
// answers each connection from the shared devices.
class CServerCore : public QObject
{
    Q_OBJECT

public:
    // Loads the driver plug-ins of the program's folder at Start.
    explicit CServerCore(const SERVER_SETTINGS& settings);
    // Serves these devices instead; they stay the caller's.
    CServerCore(const SERVER_SETTINGS& settings, const QList<IDevice*>& devices);
    ~CServerCore() override;

    // Starts the devices and listens. False, with the reason, when there is
    // no device, an address is not loopback without allowPlainNetwork, the
    // identity the encrypted port needs cannot be loaded, or no address
    // could be bound.
    bool Start(QString& error);
    // Closes every connection and releases the drivers.
    void Stop();

    int ConnectionCount() const { return int(m_connections.size()); }
    const CMqttBridge& Mqtt() const { return m_mqtt; }
    // Loaded by Start when the encrypted port listens.
    const CServerIdentity& Identity() const { return m_identity; }
    static QList<QHostAddress> ListenAddresses(const SERVER_SETTINGS& settings);

private:
    bool LoadIdentity(QString& error);
    bool Listen(QString& error);
    bool ListenOn(const QList<QHostAddress>& addresses, quint16 port, bool named, bool encrypted, QString& error);
    std::unique_ptr<QTcpServer> MakeServer(bool encrypted) const;
    bool MayListen(const QHostAddress& address, QString& error) const;
    void OnServerNewConnection(QTcpServer* server, bool encrypted);
    void Accept(QTcpSocket* socket, bool encrypted);
    QString Admit(const QHostAddress& peer, bool encrypted);
    void OnConnectionClosed(CClientConnection* connection);

    SERVER_SETTINGS m_settings;
    CPeerPolicy m_policy;
    CServerIdentity m_identity;
    CAccessGate m_gate;
    CDevicePool m_pool;
    CRequestHandler m_handler;
    CMqttBridge m_mqtt;
    CAddressCounter m_counter;
    // Tells the log lines peers had left out.
    QTimer m_logTimer;
    bool m_bLoadPlugins;
    std::vector<std::unique_ptr<QTcpServer>> m_servers;
    QList<CClientConnection*> m_connections;
    bool m_bStarted = false;
};
