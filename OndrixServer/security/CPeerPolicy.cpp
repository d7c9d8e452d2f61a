#include "security/CPeerPolicy.h"

#include <algorithm>
#include <iterator>

namespace {

// The IPv4 address sits in the last 32 of the 128 bits of a mapped one,
// behind ten zero bytes and two 0xff ones.
constexpr int MAPPED_PREFIX = 96;
constexpr int MAPPED_ZEROS = 10;
constexpr int MAPPED_ONES = 12;
// What a host on an IPv6 network has to itself.
constexpr int HOST_PREFIX = 64;

} // namespace

CPeerPolicy::CPeerPolicy(const SERVER_SETTINGS& settings)
    : m_allow(Unmapped(settings.allow))
    , m_control(Unmapped(settings.control))
    , m_bControlLoopback(settings.controlLoopback)
{
}

bool CPeerPolicy::IsAllowed(const QHostAddress& peer) const
{
    return m_allow.isEmpty() || InAny(m_allow, peer);
}

bool CPeerPolicy::MayControl(const QHostAddress& peer) const
{
    if (!IsAllowed(peer))
        return false;
    return InAny(m_control, peer) || (m_bControlLoopback && IsLoopback(peer));
}

bool CPeerPolicy::MayControlWithKey(const QHostAddress& peer) const
{
    const bool named = !m_control.isEmpty() || !m_bControlLoopback;
    return named ? MayControl(peer) : IsAllowed(peer);
}

bool CPeerPolicy::IsLoopback(const QHostAddress& peer)
{
    return Unmapped(peer).isLoopback();
}

// Not toIPv4Address(): it takes :: and ::/96 for mapped addresses too, and
// a network written so would let in every IPv4 peer.
bool CPeerPolicy::IsMapped(const QHostAddress& address)
{
    if (address.protocol() != QAbstractSocket::IPv6Protocol)
        return false;
    const Q_IPV6ADDR bytes = address.toIPv6Address();
    for (int i = 0; i < MAPPED_ONES; ++i) {
        if (bytes[i] != (i < MAPPED_ZEROS ? 0x00 : 0xff))
            return false;
    }
    return true;
}

QHostAddress CPeerPolicy::Unmapped(const QHostAddress& address)
{
    if (!IsMapped(address))
        return address;
    const Q_IPV6ADDR bytes = address.toIPv6Address();
    return QHostAddress(quint32(bytes[12]) << 24 | quint32(bytes[13]) << 16 | quint32(bytes[14]) << 8 | bytes[15]);
}

QString CPeerPolicy::Origin(const QHostAddress& peer)
{
    const QHostAddress plain = Unmapped(peer);
    if (plain.protocol() != QAbstractSocket::IPv6Protocol)
        return plain.toString();
    Q_IPV6ADDR bytes = plain.toIPv6Address();
    std::fill(std::begin(bytes.c) + HOST_PREFIX / 8, std::end(bytes.c), quint8(0));
    return QHostAddress(bytes).toString() + QLatin1Char('/') + QString::number(HOST_PREFIX);
}

QList<NETWORK> CPeerPolicy::Unmapped(const QList<NETWORK>& networks)
{
    QList<NETWORK> plain;
    for (const NETWORK& network : networks) {
        // A prefix inside the mapping's fixed bits spans more than IPv4: keep it as written.
        if (IsMapped(network.first) && network.second >= MAPPED_PREFIX)
            plain.append({ Unmapped(network.first), network.second - MAPPED_PREFIX });
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
