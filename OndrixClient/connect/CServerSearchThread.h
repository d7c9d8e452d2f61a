#pragma once

#include <QList>
#include <QNetworkAddressEntry>
#include <QString>
#include <QThread>

#include <atomic>

// Probes every host of the PC's IPv4 subnets, one at a time, for an Ondrix
// Server and reports what it finds through queued signals. Tests hand it
// the address entries to search instead of the machine's interfaces.
class CServerSearchThread : public QThread
{
    Q_OBJECT

public:
    explicit CServerSearchThread(QObject* parent = nullptr);
    // Stops the search and waits for the probe in progress to return.
    ~CServerSearchThread() override;

    // Replaces the walk over the running, non-loopback interfaces.
    void SetAddressEntries(const QList<QNetworkAddressEntry>& entries);
    void StartSearch();
    void StopSearch();
    bool IsSearching() const;

    // Host addresses of an entry's subnet; none for /31, /32 and IPv6.
    static quint64 HostCount(const QNetworkAddressEntry& entry);

Q_SIGNALS:
    void serverFound(QString strServer);
    void progressChanged(int nPercent, QString strMessage);
    void finished();

protected:
    void run() override;

private:
    QList<QNetworkAddressEntry> Entries() const;
    void ProbeEntry(const QNetworkAddressEntry& entry, quint64 total, quint64& processed);
    void Probe(const QString& address);
    // Delivers a signal on the GUI thread only while its search is the
    // current one: a search cancelled while its last probe still waited
    // must not end, or report into, the search started after it.
    template <typename Fn>
    void Report(Fn emitSignal);

    std::atomic<bool> m_bRun { false };
    std::atomic<quint32> m_nSearch { 0 };
    quint32 m_nRunning = 0; // the search run() works for; worker only
    bool m_bInjected = false;
    QList<QNetworkAddressEntry> m_entries;
};
