#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QThread>

#include <atomic>

// A stand-in for the device server on the proxy's fixed port. It listens on
// a random address of 127.0.0.0/8, so tests running side by side never meet,
// and plays a script on the first connection: read a request of the expected
// length, send bytes, pause, or hang up. Whatever the client sends is kept
// for byte-for-byte comparison.
class CScriptedServer : public QThread
{
public:
    // acceptMs: how long to wait for the client to connect.
    explicit CScriptedServer(int acceptMs = 5000);
    ~CScriptedServer() override;

    // On the encrypted port, with the test certificate in data/.
    CScriptedServer& Encrypted();
    // The first connections are only taken (and encrypted) until the client
    // hangs up: the script plays on the one after them.
    CScriptedServer& Refusing(int connections);
    CScriptedServer& Greet(const QByteArray& greeting = "ack");
    CScriptedServer& Expect(const QByteArray& request);
    CScriptedServer& Send(const QByteArray& bytes);
    // Answers the request just expected with a framed payload.
    CScriptedServer& Answer(const QByteArray& payload);
    CScriptedServer& Pause(int ms);
    CScriptedServer& Hangup();

    // Starts listening, on the address given or a random one; false when no
    // address could be bound.
    bool Listen(const QString& address = QString());
    QString Address() const { return m_strAddress; }
    // Waits until the client has gone (or the script timed out).
    bool Finish(int ms = 5000);
    bool WasConnected() const { return m_bConnected; }
    // The SHA-256 of the test certificate, as the proxy must be given it.
    static QString Fingerprint();
    QByteArray Received() const;
    QByteArray Expected() const { return m_expected; }

protected:
    void run() override;

private:
    struct STEP
    {
        enum Kind { Read, Write, Wait, Close } kind;
        QByteArray bytes;
        int ms;
    };

    void Play(class QTcpSocket& socket);
    void Keep(const QByteArray& bytes);

    void Serve(QTcpSocket& socket);
    void Take(qintptr descriptor, bool play);

    int m_nAcceptMs;
    bool m_bEncrypted = false;
    int m_nRefused = 0;
    QString m_strWanted;
    QList<STEP> m_steps;
    QByteArray m_expected;
    QString m_strAddress;
    QSemaphore m_listening;
    bool m_bListening = false;
    std::atomic<bool> m_bConnected { false };
    mutable QMutex m_mutex;
    QByteArray m_received;
};
