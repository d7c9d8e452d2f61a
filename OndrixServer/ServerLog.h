#pragma once

#include <QHostAddress>
#include <QString>

// The operator's log: who connected, who was refused, who changed the
// detector. Always on, one line each on stderr, written at once so that a
// crash loses nothing; callable from any thread.
namespace ServerLog {

void Line(const QString& text);
// The peer as "address:port", an IPv6 one in brackets.
void Peer(const QHostAddress& peer, quint16 port, const QString& text);
QString PeerText(const QHostAddress& peer, quint16 port);
// For tests, whose output the lines would clutter.
void SetQuiet(bool quiet);

} // namespace ServerLog
