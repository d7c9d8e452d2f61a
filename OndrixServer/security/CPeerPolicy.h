#pragma once

#include "app/SERVER_SETTINGS.h"

#include <QHostAddress>
#include <QList>
#include <QString>

// Whom the server lets in and who may change the detector. A dual-stack
// socket reports an IPv4 peer as ::ffff:a.b.c.d; such a peer is judged as
// the IPv4 address it is, and so is a network written that way. A list the
// operator gave holds for every peer, this computer's included.
class CPeerPolicy
{
public:
    explicit CPeerPolicy(const SERVER_SETTINGS& settings);

    // False: the peer is to be disconnected at once.
    bool IsAllowed(const QHostAddress& peer) const;
    // Whether the peer's requests may change the detector, not only read it.
    bool MayControl(const QHostAddress& peer) const;
    // For a peer that gave the control key: any allowed one, unless the
    // operator named who may control ("none" included).
    bool MayControlWithKey(const QHostAddress& peer) const;

    static bool IsLoopback(const QHostAddress& peer);
    // ::ffff:a.b.c.d as a.b.c.d; any other address as it is.
    static QHostAddress Unmapped(const QHostAddress& address);
    // Where a peer counts as coming from, for limits one address must not
    // pass: an IPv4 address, or the /64 an IPv6 host is given whole.
    static QString Origin(const QHostAddress& peer);

private:
    static bool IsMapped(const QHostAddress& address);
    static QList<NETWORK> Unmapped(const QList<NETWORK>& networks);
    static bool InAny(const QList<NETWORK>& networks, const QHostAddress& peer);

    QList<NETWORK> m_allow;
    QList<NETWORK> m_control;
    bool m_bControlLoopback;
};
