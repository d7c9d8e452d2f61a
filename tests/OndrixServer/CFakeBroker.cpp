#include "CFakeBroker.h"

#include <QTcpSocket>

namespace {

// MQTT's variable byte integer: false until all its bytes are there.
bool ReadLength(const QByteArray& bytes, int& at, qint64& value)
{
    value = 0;
    for (int shift = 0; at < bytes.size() && shift <= 21; shift += 7) {
        const auto byte = quint8(bytes.at(at++));
        value |= qint64(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

qint64 Number(const QByteArray& bytes, int at, int size)
{
    qint64 value = 0;
    for (int i = 0; i < size && at + i < bytes.size(); ++i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

// The CONNECT properties libmosquitto may send: numbers of a known size,
// and strings or binary data behind their length.
qint64 MaxPacket(const QByteArray& properties)
{
    qint64 found = 0;
    for (int at = 0; at < properties.size();) {
        const int id = quint8(properties.at(at++));
        const int size = id == 0x11 || id == 0x27 ? 4 : id == 0x21 || id == 0x22 ? 2 : id == 0x17 || id == 0x19 ? 1 : 0;
        if (id == 0x27)
            found = Number(properties, at, 4);
        if (size > 0)
            at += size;
        else if (id == 0x15 || id == 0x16)
            at += 2 + int(Number(properties, at, 2));
        else
            return -1;
    }
    return found;
}

} // namespace

CFakeBroker::CFakeBroker(Answer answer)
    : m_answer(answer)
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &CFakeBroker::OnConnection);
}

void CFakeBroker::OnConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnData(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

// Fixed header, protocol name, level, flags, keep-alive, then in MQTT 5
// the properties.
void CFakeBroker::OnData(QTcpSocket* socket)
{
    const QByteArray bytes = socket->peek(socket->bytesAvailable());
    int at = 1;
    qint64 remaining = 0;
    if (bytes.isEmpty() || !ReadLength(bytes, at, remaining) || bytes.size() < at + remaining)
        return;
    socket->read(at + remaining);
    at += 2 + int(Number(bytes, at, 2));
    CONNECT connect;
    connect.level = quint8(bytes.at(at));
    at += 4;
    qint64 length = 0;
    if (connect.level == 5 && ReadLength(bytes, at, length))
        connect.maxPacket = MaxPacket(bytes.mid(at, int(length)));
    m_connects.append(connect);
    Reply(socket, connect);
}

void CFakeBroker::Reply(QTcpSocket* socket, const CONNECT& connect)
{
    if (m_answer == Hangup) {
        socket->disconnectFromHost();
        return;
    }
    // A 3.1.1 CONNACK either way: return code 1 refuses the protocol level.
    socket->write(QByteArray::fromHex(connect.level == 5 ? "20020001" : "20020000"));
    if (connect.level == 5)
        socket->disconnectFromHost();
}
