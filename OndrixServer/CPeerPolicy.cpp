#include "CPeerPolicy.h"

namespace {

// The IPv4 address sits in the last 32 of the 128 bits of a mapped one.
constexpr int MAPPED_PREFIX = 96;

} // namespace

CPeerPolicy::CPeerPolicy(const SERVER_SETTINGS& settings)
    : m_allow(Unmapped(settings.allow))
    , m_control(Unmapped(settings.control))
    , m_bControlLoopback(settings.controlLoopback)
{
}

bool CPeerPolicy::IsAllowed(const QHostAddress& peer) const
{
    return m_allow.isEmpty() || IsLoopback(peer) || InAny(m_allow, peer);
}

bool CPeerPolicy::MayControl(const QHostAddress& peer) const
{
    if (IsLoopback(peer))
        return m_bControlLoopback;
    return InAny(m_control, peer);
}

bool CPeerPolicy::IsLoopback(const QHostAddress& peer)
{
    return Unmapped(peer).isLoopback();
}

QHostAddress CPeerPolicy::Unmapped(const QHostAddress& address)
{
    bool isMapped = false;
    const quint32 ipv4 = address.toIPv4Address(&isMapped);
    if (isMapped && address.protocol() == QAbstractSocket::IPv6Protocol)
        return QHostAddress(ipv4);
    return address;
}

QList<NETWORK> CPeerPolicy::Unmapped(const QList<NETWORK>& networks)
{
    QList<NETWORK> plain;
    for (const NETWORK& network : networks) {
        const QHostAddress address = Unmapped(network.first);
        const bool wasMapped = address.protocol() != network.first.protocol();
        // A prefix inside the mapping's fixed bits spans more than IPv4: keep it as written.
        if (wasMapped && network.second >= MAPPED_PREFIX)
            plain.append({ address, network.second - MAPPED_PREFIX });
        else
            plain.append(network);
    }
    return plain;
}

bool CPeerPolicy::InAny(const QList<NETWORK>& networks, const QHostAddress& peer)
{
    const QHostAddress plain = Unmapped(peer);
    for (const NETWORK& network : networks) {
        if (plain.isInSubnet(network))
            return true;
    }
    return false;
}
