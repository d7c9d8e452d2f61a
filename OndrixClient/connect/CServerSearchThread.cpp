#include "connect/CServerSearchThread.h"

#include "protocol/CServerAddress.h"
#include "proxy/CMetaDevice.h"
#include "server/CLocalNetworks.h"

#include <QHostAddress>

#include <exception>

namespace {

bool IsIPv4(const QNetworkAddressEntry& entry)
{
    return entry.ip().protocol() == QAbstractSocket::IPv4Protocol;
}

quint32 HostBits(const QNetworkAddressEntry& entry)
{
    return ~entry.netmask().toIPv4Address();
}

} // namespace

CServerSearchThread::CServerSearchThread(QObject* parent)
    : QThread(parent)
{
}

CServerSearchThread::~CServerSearchThread()
{
    StopSearch();
    wait();
}

void CServerSearchThread::SetAddressEntries(const QList<QNetworkAddressEntry>& entries)
{
    m_entries = entries;
    m_bInjected = true;
}

void CServerSearchThread::StartSearch()
{
    // A search cancelled while its last probe still runs ends first.
    wait();
    // Raised here, not in run(): a cancel that comes before the thread is
    // scheduled must not be undone by it.
    m_bRun = true;
    m_nRunning = ++m_nSearch;
    start();
}

template <typename Fn>
void CServerSearchThread::Report(Fn emitSignal)
{
    const quint32 search = m_nRunning;
    // The thread object lives on the GUI thread: the call is queued there.
    QMetaObject::invokeMethod(
        this,
        [this, search, emitSignal] {
            if (search == m_nSearch)
                emitSignal();
        },
        Qt::QueuedConnection);
}

void CServerSearchThread::StopSearch()
{
    m_bRun = false;
}

bool CServerSearchThread::IsSearching() const
{
    return m_bRun;
}

quint64 CServerSearchThread::HostCount(const QNetworkAddressEntry& entry)
{
    if (!IsIPv4(entry))
        return 0;
    // Network and broadcast addresses are no hosts; a /31 or /32 subnet has
    // no others.
    const quint64 span = quint64(HostBits(entry)) + 1;
    return span > 2 ? span - 2 : 0;
}

QList<QNetworkAddressEntry> CServerSearchThread::Entries() const
{
    return m_bInjected ? m_entries : CLocalNetworks::AddressEntries();
}

void CServerSearchThread::run()
{
    quint64 processed = 0;
    quint64 total = 0;
    try {
        const QList<QNetworkAddressEntry> entries = Entries();
        for (const QNetworkAddressEntry& entry : entries) {
            if (!m_bRun)
                break;
            total += HostCount(entry);
        }
        for (const QNetworkAddressEntry& entry : entries) {
            if (!m_bRun)
                break;
            ProbeEntry(entry, total, processed);
        }
    } catch (const std::exception&) {
        // The search ends; what was found stays listed.
    }
    m_bRun = false;
    Report([this] { Q_EMIT finished(); });
}

void CServerSearchThread::ProbeEntry(const QNetworkAddressEntry& entry, quint64 total, quint64& processed)
{
    const quint64 hosts = HostCount(entry);
    const quint64 network = entry.ip().toIPv4Address() & entry.netmask().toIPv4Address();
    for (quint64 host = 1; host <= hosts; ++host) {
        if (!m_bRun)
            return;
        const QString address = QHostAddress(quint32(network + host)).toString();
        Probe(address);
        ++processed;
        const int percent = int(processed * 100 / total);
        Report([this, percent, address] { Q_EMIT progressChanged(percent, address); });
    }
}

// The encrypted port first: a server there is found by its handshake, as
// the probe knows no fingerprint and gives no key.
void CServerSearchThread::Probe(const QString& address)
{
    for (const QString& url : QStringList { QLatin1String(CServerAddress::TLS_SCHEME) + address, address }) {
        try {
            CMetaDevice probe(url);
            if (probe.Initialize() || probe.LastRefusal() != CMetaDevice::NotRefused) {
                Report([this, url] { Q_EMIT serverFound(url); });
                return;
            }
        } catch (const std::exception&) {
            // A host that answers badly is simply no server.
        }
    }
}
