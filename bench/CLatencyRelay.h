#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QPointer>
#include <QQueue>
#include <QSemaphore>
#include <QString>
#include <QThread>

class QTcpServer;
class QTcpSocket;
class QTimer;

// A slow network between two loopback addresses: it listens on one at the
// server port and hands every connection on to the other, each byte
// arriving `delayUs` later in either direction. It runs in a thread of its
// own, so that a client blocked on an answer does not hold the bytes up.
class CLatencyRelay : public QThread
{
public:
    CLatencyRelay(const QString& listenAddress, const QString& targetAddress, int delayUs);
    ~CLatencyRelay() override;

    // False when the listening address could not be bound.
    bool Start();
    void Stop();

protected:
    void run() override;

private:
    struct CHUNK
    {
        qint64 dueNs;
        QPointer<QTcpSocket> to;
        QByteArray bytes;
        bool close; // the sender hung up: so does the relay, in order
    };

    void Accept(QTcpServer* server);
    void Pipe(QTcpSocket* from, QTcpSocket* to);
    void Enqueue(QTcpSocket* to, const QByteArray& bytes, bool close);
    void Deliver();
    void Arm();

    QString m_strListen;
    QString m_strTarget;
    qint64 m_nDelayNs;
    QSemaphore m_started;
    bool m_bListening = false;
    QElapsedTimer m_clock;
    QQueue<CHUNK> m_queue;
    QTimer* m_pTimer = nullptr;
};
