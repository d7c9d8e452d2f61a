#pragma once

#include <QCoreApplication>
#include <QList>
#include <QNetworkAddressEntry>
#include <QString>
#include <QStringList>

// How a server started from the client shares the detector: with this
// computer only, or over the encrypted port with the networks chosen, to
// watch, or to watch and with some addresses to control (whoever connects
// from them still needs a key). It becomes the server's command line and a
// short text for the user.
class CServerSharing
{
    Q_DECLARE_TR_FUNCTIONS(CServerSharing)

public:
    enum Mode { ThisComputer, NetworkReadOnly, NetworkControl };

    CServerSharing() = default;
    // Wider than this, a network holds more computers than anyone can vouch
    // for: it is not chosen unasked, and the user is warned.
    static constexpr int WIDEST_PREFIX = 16;

    // control: the networks as the user typed them, for NetworkControl.
    // networks: those that may connect, "address/prefix"; none: this PC's
    // own subnets no wider than WIDEST_PREFIX.
    explicit CServerSharing(Mode mode, const QString& control = QString(), const QStringList& networks = {},
        bool keep = false);

    Mode GetMode() const { return m_eMode; }
    QString GetControl() const { return m_strControl; }
    QStringList GetNetworks() const { return m_networks; }
    // The server outlives the client; otherwise it stops when the client quits.
    bool KeepsSharing() const { return m_bKeep; }
    // This PC's IPv4 subnets, each once.
    static QStringList LocalSubnets(const QList<QNetworkAddressEntry>& local);
    static bool IsWide(const QString& network);

    // A comma-separated list of addresses and networks ("192.168.1.20,
    // 10.0.0.0/8"); a bare address is a single host. False when the list is
    // empty or an item is no address or network; `bad` is then that item
    // (empty for an empty list). On success `networks` holds each in its
    // exact "address/prefix" form.
    static bool ParseNetworks(const QString& text, QStringList& networks, QString& bad);
    bool IsValid() const;

    // The server's arguments; `local` stands for this PC's address entries.
    QStringList Arguments(const QList<QNetworkAddressEntry>& local) const;
    QStringList Arguments() const;
    QString Description() const;

    static CServerSharing Load();
    void Save() const;

private:
    QStringList Allowed(const QList<QNetworkAddressEntry>& local) const;

    Mode m_eMode = ThisComputer;
    QString m_strControl;
    QStringList m_networks;
    bool m_bKeep = false;
};
