#pragma once

#include <QHostAddress>
#include <QString>

// The operator's log: who connected, who was refused, who changed the
// detector. Always on, one line each on stderr, written at once so that a
// crash loses nothing; callable from any thread. A peer's lines are limited
// to a few a second (CPeerLogLimiter), so that none can flood the log.
namespace ServerLog {

void Line(const QString& text);
// The peer as "address:port", an IPv6 one in brackets.
void Peer(const QHostAddress& peer, quint16 port, const QString& text);
QString PeerText(const QHostAddress& peer, quint16 port);
// Tells how many lines each peer had left out in the windows now over;
// the server calls it every window.
void FlushSuppressed();
// For tests, whose output the lines would clutter.
void SetQuiet(bool quiet);

} // namespace ServerLog
