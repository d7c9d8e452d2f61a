#include "app/ServerLog.h"

#include "app/CServerOptions.h"
#include "connections/CPeerLogLimiter.h"
#include "security/CPeerPolicy.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <cstdio>

namespace {

QMutex g_mutex;
std::atomic<bool> g_bQuiet { false };
CPeerLogLimiter g_limiter;

qint64 SteadyMs()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

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

QString SuppressedText(const QString& origin, int count)
{
    return origin
        + (count == 1 ? QStringLiteral(": 1 line suppressed") : QStringLiteral(": %1 lines suppressed").arg(count));
}

// Under the lock.
void WriteLocked(const QString& text)
{
    const QByteArray line = (Timestamp() + QLatin1Char(' ') + QLatin1String(CServerOptions::PROGRAM_NAME)
        + QLatin1String(": ") + text + QLatin1Char('\n'))
                                .toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void Write(const QString& text)
{
    if (g_bQuiet)
        return;
    // Stamped under the lock, so the lines keep the order of their times.
    const QMutexLocker locker(&g_mutex);
    WriteLocked(text);
}

} // namespace

void ServerLog::Line(const QString& text)
{
    Write(text);
}

void ServerLog::Peer(const QHostAddress& peer, quint16 port, const QString& text)
{
    if (g_bQuiet)
        return;
    const QString origin = CPeerPolicy::Origin(peer);
    const QMutexLocker locker(&g_mutex);
    int ended = 0;
    const bool admitted = g_limiter.Admit(origin, SteadyMs(), ended);
    if (ended > 0)
        WriteLocked(SuppressedText(origin, ended));
    if (admitted)
        WriteLocked(PeerText(peer, port) + QLatin1Char(' ') + text);
}

void ServerLog::FlushSuppressed()
{
    if (g_bQuiet)
        return;
    const QMutexLocker locker(&g_mutex);
    for (const CPeerLogLimiter::SUPPRESSED& suppressed : g_limiter.Expire(SteadyMs()))
        WriteLocked(SuppressedText(suppressed.first, suppressed.second));
}

void ServerLog::SetQuiet(bool quiet)
{
    g_bQuiet = quiet;
}
