#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>

// Not a broker: a loopback port that reads each CONNECT a client sends,
// keeps what it announces, and answers as the test chose. A broker does
// not tell what a client announced, so this is where a test sees it.
class CFakeBroker : public QObject
{
    Q_OBJECT

public:
    enum Answer {
        Hangup,        // closes every connection after its CONNECT
        OnlyVersion311 // refuses MQTT 5 as a 3.1.1 broker does, takes 3.1.1
    };

    struct CONNECT
    {
        int level = 0;        // 4: MQTT 3.1.1, 5: MQTT 5
        qint64 maxPacket = 0; // 0: none announced, -1: properties unreadable
    };

    explicit CFakeBroker(Answer answer);
    int Port() const { return m_server.serverPort(); }
    QList<CONNECT> Connects() const { return m_connects; }

private:
    void OnConnection();
    void OnData(QTcpSocket* socket);
    void Reply(QTcpSocket* socket, const CONNECT& connect);

    QTcpServer m_server;
    Answer m_answer;
    QList<CONNECT> m_connects;
};
