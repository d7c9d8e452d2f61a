#include "CServerSharing.h"

#include "CLocalNetworks.h"
#include "CNetworkText.h"
#include "ServerCommandLine.h"

#include <QHostAddress>
#include <QSettings>

#include <iterator>

namespace {

const char* const KEY_SHARING = "StartServer/Sharing";
const char* const KEY_CONTROL = "StartServer/Control";
// Stored by name: a reordered enum must not change what a user chose.
const char* const MODE_NAMES[] = { "local", "read-only", "control" };

// The server's lists hold for this computer too: it is named in them, so
// that the user at this PC, who reaches the server through localhost, keeps
// watching and controlling it.
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

CServerSharing::CServerSharing(Mode mode, const QString& control)
    : m_eMode(mode)
    , m_strControl(control)
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

QStringList CServerSharing::Arguments(const QList<QNetworkAddressEntry>& local) const
{
    if (m_eMode == ThisComputer)
        return {};
    QStringList loopback;
    for (const char* network : LOOPBACK_NETWORKS)
        loopback.append(QLatin1String(network));
    QStringList allowed = LocalSubnets(local);
    QStringList control;
    QString bad;
    if (m_eMode == NetworkControl && ParseNetworks(m_strControl, control, bad))
        control += loopback;
    control.removeDuplicates();
    // The server closes at once whoever no allowed network holds: the
    // addresses that may control must also be let in.
    allowed += control + loopback;
    allowed.removeDuplicates();
    // Clients on the network cannot encrypt yet.
    QStringList arguments { Option(ServerCommandLine::LISTEN), QLatin1String(ServerCommandLine::ANY),
        Option(ServerCommandLine::ALLOW_PLAIN_NETWORK), Option(ServerCommandLine::ALLOW), allowed.join(LIST_SEPARATOR) };
    if (!control.isEmpty())
        arguments += QStringList { Option(ServerCommandLine::CONTROL), control.join(LIST_SEPARATOR) };
    return arguments;
}

QStringList CServerSharing::Arguments() const
{
    return Arguments(CLocalNetworks::AddressEntries());
}

QString CServerSharing::Description() const
{
    switch (m_eMode) {
    case NetworkReadOnly: return tr("local network, read-only");
    case NetworkControl: return tr("local network, control for %1").arg(Items(m_strControl).join(QStringLiteral(", ")));
    default: return tr("this computer only");
    }
}

CServerSharing CServerSharing::Load()
{
    QSettings settings;
    const QString name = settings.value(KEY_SHARING).toString();
    Mode mode = ThisComputer;
    for (int i = 0; i < int(std::size(MODE_NAMES)); ++i) {
        if (name == QLatin1String(MODE_NAMES[i]))
            mode = Mode(i);
    }
    return CServerSharing(mode, settings.value(KEY_CONTROL).toString());
}

void CServerSharing::Save() const
{
    QSettings settings;
    settings.setValue(KEY_SHARING, QLatin1String(MODE_NAMES[m_eMode]));
    settings.setValue(KEY_CONTROL, m_strControl);
}
