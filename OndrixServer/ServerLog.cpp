#include "ServerLog.h"

#include "CPeerPolicy.h"
#include "CServerOptions.h"

#include <QDateTime>
#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <cstdio>

namespace {

QMutex g_mutex;
std::atomic<bool> g_bQuiet{ false };

// With its offset from UTC, so lines from servers in other zones compare.
QString Timestamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

} // namespace

QString ServerLog::PeerText(const QHostAddress& peer, quint16 port)
{
    const QHostAddress plain = CPeerPolicy::Unmapped(peer);
    const QString address = plain.protocol() == QAbstractSocket::IPv6Protocol
        ? QLatin1Char('[') + plain.toString() + QLatin1Char(']')
        : plain.toString();
    return address + QLatin1Char(':') + QString::number(port);
}

namespace {

void Write(const QString& text)
{
    if (g_bQuiet)
        return;
    // Stamped under the lock, so the lines keep the order of their times.
    const QMutexLocker locker(&g_mutex);
    const QByteArray line = (Timestamp() + QLatin1Char(' ') + QLatin1String(CServerOptions::PROGRAM_NAME)
        + QLatin1String(": ") + text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

void ServerLog::Line(const QString& text)
{
    Write(text);
}

void ServerLog::Peer(const QHostAddress& peer, quint16 port, const QString& text)
{
    Write(PeerText(peer, port) + QLatin1Char(' ') + text);
}

void ServerLog::SetQuiet(bool quiet)
{
    g_bQuiet = quiet;
}
