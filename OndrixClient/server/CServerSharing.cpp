#include "server/CServerSharing.h"
#include "app/ClientSettingsKeys.h"

#include "protocol/CNetworkText.h"
#include "protocol/ServerCommandLine.h"
#include "server/CLocalNetworks.h"

#include <QHostAddress>
#include <QSettings>

#include <iterator>

namespace {

// Stored by name: a reordered enum must not change what a user chose.
const char* const MODE_NAMES[] = { "local", "read-only", "control" };

// The client itself reaches the server it started through loopback, and
// explicit lists govern loopback too.
const char* const LOOPBACK_NETWORKS[] = { "127.0.0.0/8", "::1/128" };
const QChar LIST_SEPARATOR = QLatin1Char(ServerCommandLine::LIST_SEPARATOR);

QString Option(const char* name)
{
    return QStringLiteral("--") + QLatin1String(name);
}

QStringList Items(const QString& text)
{
    QStringList items;
    const QStringList parts = text.split(LIST_SEPARATOR);
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty())
            items.append(part.trimmed());
    }
    return items;
}

bool ParseNetwork(const QString& item, QString& network)
{
    QPair<QHostAddress, int> subnet;
    if (!CNetworkText::ParseNetwork(item, subnet))
        return false;
    network = subnet.first.toString() + QLatin1Char('/') + QString::number(subnet.second);
    return true;
}

} // namespace

CServerSharing::CServerSharing(Mode mode, const QString& control, const QStringList& networks, bool keep)
    : m_eMode(mode)
    , m_strControl(control)
    , m_networks(networks)
    , m_bKeep(keep)
{
}

bool CServerSharing::ParseNetworks(const QString& text, QStringList& networks, QString& bad)
{
    networks.clear();
    bad.clear();
    const QStringList items = Items(text);
    for (const QString& item : items) {
        QString network;
        if (!ParseNetwork(item, network)) {
            bad = item;
            return false;
        }
        networks.append(network);
    }
    return !networks.isEmpty();
}

bool CServerSharing::IsValid() const
{
    QStringList networks;
    QString bad;
    return m_eMode != NetworkControl || ParseNetworks(m_strControl, networks, bad);
}

QStringList CServerSharing::LocalSubnets(const QList<QNetworkAddressEntry>& local)
{
    QStringList subnets;
    for (const QNetworkAddressEntry& entry : local) {
        if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        const QHostAddress network(entry.ip().toIPv4Address() & entry.netmask().toIPv4Address());
        subnets.append(network.toString() + QLatin1Char('/') + QString::number(entry.prefixLength()));
    }
    subnets.removeDuplicates();
    return subnets;
}

bool CServerSharing::IsWide(const QString& network)
{
    QPair<QHostAddress, int> subnet;
    if (!CNetworkText::ParseNetwork(network, subnet))
        return false;
    const int bits = subnet.first.protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128;
    return bits - subnet.second > 32 - WIDEST_PREFIX;
}

QStringList CServerSharing::Allowed(const QList<QNetworkAddressEntry>& local) const
{
    if (!m_networks.isEmpty())
        return m_networks;
    QStringList narrow = LocalSubnets(local);
    narrow.removeIf([](const QString& network) { return IsWide(network); });
    return narrow;
}

QStringList CServerSharing::Arguments(const QList<QNetworkAddressEntry>& local) const
{
    if (m_eMode == ThisComputer)
        return {};
    QStringList control;
    QString bad;
    if (m_eMode == NetworkControl)
        ParseNetworks(m_strControl, control, bad);
    for (const char* loopback : LOOPBACK_NETWORKS)
        control.append(QLatin1String(loopback));
    // The server closes at once whoever no allowed network holds: the
    // addresses that may control must also be let in.
    QStringList allowed = Allowed(local) + control;
    allowed.removeDuplicates();
    control.removeDuplicates();
    return { Option(ServerCommandLine::TLS_LISTEN), QLatin1String(ServerCommandLine::ANY),
        Option(ServerCommandLine::ALLOW), allowed.join(LIST_SEPARATOR), Option(ServerCommandLine::CONTROL),
        control.join(LIST_SEPARATOR) };
}

QStringList CServerSharing::Arguments() const
{
    return Arguments(CLocalNetworks::AddressEntries());
}

QString CServerSharing::Description() const
{
    switch (m_eMode) {
    case NetworkReadOnly: return tr("local network, encrypted, read-only");
    case NetworkControl:
        return tr("local network, encrypted, control for %1").arg(Items(m_strControl).join(QStringLiteral(", ")));
    default: return tr("this computer only");
    }
}

CServerSharing CServerSharing::Load()
{
    QSettings settings;
    const QString name = settings.value(ClientSettingsKeys::SHARING_MODE).toString();
    Mode mode = ThisComputer;
    for (int i = 0; i < int(std::size(MODE_NAMES)); ++i) {
        if (name == QLatin1String(MODE_NAMES[i]))
            mode = Mode(i);
    }
    return CServerSharing(mode, settings.value(ClientSettingsKeys::SHARING_CONTROL).toString(),
        settings.value(ClientSettingsKeys::SHARING_NETWORKS).toStringList(),
        settings.value(ClientSettingsKeys::SHARING_KEEP, false).toBool());
}

void CServerSharing::Save() const
{
    QSettings settings;
    settings.setValue(ClientSettingsKeys::SHARING_MODE, QLatin1String(MODE_NAMES[m_eMode]));
    settings.setValue(ClientSettingsKeys::SHARING_CONTROL, m_strControl);
    settings.setValue(ClientSettingsKeys::SHARING_NETWORKS, m_networks);
    settings.setValue(ClientSettingsKeys::SHARING_KEEP, m_bKeep);
}
