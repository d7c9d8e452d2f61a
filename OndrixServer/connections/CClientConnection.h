#pragma once

#include "app/SERVER_SETTINGS.h"
#include "connections/CLIENT_SESSION.h"
#include "protocol/CRequestReader.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class CRequestHandler;
class CDevicePool;
class QSslSocket;
class QTcpSocket;

// One client of the server. It takes one request at a time: the next is
// not even read until the answer to the last has gone out, so a peer that
// sends many and reads none makes the server hold one answer for it, not
// many. A large answer goes out a slice per turn of the event loop, so no
// peer holds the others up. The first request nobody knows (or that is
// malformed, or left half) is answered with the failed answer and the
// connection closed: the reader never looks for a request further on,
// where a page posting to the port could have put one. Lives on the
// server's thread; owns its socket. On the encrypted port it greets once
// the handshake is done, and counts what TLS still holds as not yet sent.
class CClientConnection : public QObject
{
    Q_OBJECT

public:
    // How long a request that more bytes could still extend waits for them:
    // bytes of one write that the network split arrive well within it.
    static constexpr int PAUSE_MS = 3;
    // How long the rest of a request that has begun may take.
    static constexpr int REST_MS = 500;
    // What one turn of the event loop sends of a large answer.
    static constexpr qsizetype SLICE_BYTES = 64 * 1024;
    // How often the peer's silence is looked at.
    static constexpr int WATCH_MS = 1000;

    CClientConnection(QTcpSocket* socket, CRequestHandler* handler, CDevicePool* pool, const SERVER_SETTINGS& settings,
        const CLIENT_SESSION& session, QObject* parent = nullptr);
    ~CClientConnection() override;

    const CLIENT_SESSION& Session() const { return m_session; }
    void Close();

Q_SIGNALS:
    void closed(CClientConnection* connection);

private:
    void OnSocketReadyRead();
    void OnSocketBytesWritten(qint64 bytes);
    void OnSocketEncryptedBytesWritten();
    void OnSocketDisconnected();
    void OnSocketEncrypted();
    void OnSocketError();
    void OnPauseTimer();
    void OnRestTimer();
    void OnWatchTimer();
    void OnFirstRequestTimer();
    void Process();
    void ReadMore();
    void Reply(const SERVER_REQUEST& request);
    void Refuse(const SERVER_REQUEST& request, const QString& why);
    void Send(const QByteArray& answer);
    void SendSlice();
    bool Sending() const;
    qint64 Unsent() const;
    void Drop(const QString& why);
    void Log(const QString& text);
    void UpdateLimits();

    QTcpSocket* m_pSocket;
    QSslSocket* m_pSslSocket; // the same socket on the encrypted port
    CRequestHandler* m_pHandler;
    CDevicePool* m_pPool;
    int m_nMaxRequestBytes;
    qint64 m_nIdleMs;
    qint64 m_nStallMs;
    CRequestReader m_reader;
    CLIENT_SESSION m_session;
    // The answer on its way out (shared with the cache when large) and how
    // much of it the socket has taken.
    QByteArray m_answer;
    qsizetype m_nSent = 0;
    // Written to the socket and not yet reported gone by bytesWritten.
    qint64 m_nQueued = 0;
    QTimer m_pauseTimer;
    QTimer m_restTimer;
    QTimer m_watchTimer;
    QTimer m_firstRequestTimer;
    // Since the peer last sent a byte or took one of its answer.
    QElapsedTimer m_activity;
    bool m_bClosing = false; // its last answer is on the way; closed once out
    bool m_bClosed = false;
};
