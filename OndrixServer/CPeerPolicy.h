#pragma once

#include "SERVER_SETTINGS.h"

#include <QHostAddress>
#include <QList>

// Whom the server lets in and who may change the detector. A dual-stack
// socket reports an IPv4 peer as ::ffff:a.b.c.d; such a peer is judged as
// the IPv4 address it is, and so is a network written that way.
class CPeerPolicy
{
public:
    explicit CPeerPolicy(const SERVER_SETTINGS& settings);

    // False: the peer is to be disconnected at once. Loopback always passes.
    bool IsAllowed(const QHostAddress& peer) const;
    // Whether the peer's requests may change the detector, not only read it.
    bool MayControl(const QHostAddress& peer) const;

    static bool IsLoopback(const QHostAddress& peer);
    // ::ffff:a.b.c.d as a.b.c.d; any other address as it is.
    static QHostAddress Unmapped(const QHostAddress& address);

private:
    static QList<NETWORK> Unmapped(const QList<NETWORK>& networks);
    static bool InAny(const QList<NETWORK>& networks, const QHostAddress& peer);

    QList<NETWORK> m_allow;
    QList<NETWORK> m_control;
    bool m_bControlLoopback;
};
