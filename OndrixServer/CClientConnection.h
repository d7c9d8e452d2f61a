#pragma once

#include "CLIENT_SESSION.h"
#include "CRequestReader.h"
#include "SERVER_SETTINGS.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class CRequestHandler;
class CDevicePool;
class QTcpSocket;

// One client of the server: reads its requests as they arrive, answers
// each once it is whole, and closes the connection when the peer goes
// quiet for too long, sends more than a request may hold, or stops reading
// its answers.
class CClientConnection : public QObject
{
    Q_OBJECT

public:
    // How long a request that more bytes could still extend waits for them:
    // bytes of one write that the network split arrive well within it.
    static constexpr int PAUSE_MS = 3;
    // How long the rest of a request that has begun may take.
    static constexpr int REST_MS = 500;

    CClientConnection(QTcpSocket* socket, CRequestHandler* handler, CDevicePool* pool,
        const SERVER_SETTINGS& settings, bool mayControl, QObject* parent = nullptr);
    ~CClientConnection() override;

    const CLIENT_SESSION& Session() const { return m_session; }
    void Close();

Q_SIGNALS:
    void closed(CClientConnection* connection);

private:
    void OnSocketReadyRead();
    void OnSocketDisconnected();
    void OnPauseTimer();
    void OnRestTimer();
    void OnIdleTimer();
    void Process();
    void Reply(const SERVER_REQUEST& request);
    void Drop(const QString& why);
    void UpdateLimits();

    QTcpSocket* m_pSocket;
    CRequestHandler* m_pHandler;
    CDevicePool* m_pPool;
    qint64 m_nMaxPendingBytes;
    CRequestReader m_reader;
    CLIENT_SESSION m_session;
    QTimer m_pauseTimer;
    QTimer m_restTimer;
    QTimer m_idleTimer;
    QElapsedTimer m_activity;
    bool m_bClosed = false;
};
