#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

class QTcpSocket;

// An Ondrix Server stand-in on one loopback address and the proxy's fixed
// port, running its own event loop. It serves any number of connections
// in turn and behaves well or badly as told.
class CLoopbackServer : public QThread
{
public:
    enum Behaviour {
        Normal,         // greets, lists its devices, answers "1" to the rest
        GarbageAnswer,  // greets, then answers without the frame
        CloseOnRequest, // greets, then hangs up at the first request
        NeverAnswer,    // greets, then keeps silent
        NoGreeting      // accepts and keeps silent
    };

    CLoopbackServer(const QString& address, Behaviour behaviour, const QString& devices = QString());
    ~CLoopbackServer() override;

    // False when the address could not be bound.
    bool Listen();
    void Stop();
    QString Address() const { return m_strAddress; }
    QStringList Requests() const;
    int Connections() const { return m_nConnections; }

    // A free-looking block of 8 addresses in 127.0.0.0/8 (its first is the
    // network address), so that tests running side by side do not meet.
    static quint32 RandomLoopbackBlock();

protected:
    void run() override;

private:
    void Serve(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const QByteArray& request);

    QString m_strAddress;
    Behaviour m_eBehaviour;
    QString m_strDevices;
    QSemaphore m_listening;
    bool m_bListening = false;
    std::atomic<bool> m_bStop { false };
    std::atomic<int> m_nConnections { 0 };
    mutable QMutex m_mutex;
    QStringList m_requests;
};
