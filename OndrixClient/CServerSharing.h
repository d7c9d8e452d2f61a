#pragma once

#include <QCoreApplication>
#include <QList>
#include <QNetworkAddressEntry>
#include <QString>
#include <QStringList>

// How a server started from the client shares the detector: with this
// computer only, with the local network to watch, or with the local network
// to watch and with some addresses to control. It becomes the server's
// command line and a short text for the user.
class CServerSharing
{
    Q_DECLARE_TR_FUNCTIONS(CServerSharing)

public:
    enum Mode { ThisComputer, NetworkReadOnly, NetworkControl };

    CServerSharing() = default;
    // control: the networks as the user typed them, for NetworkControl.
    explicit CServerSharing(Mode mode, const QString& control = QString());

    Mode GetMode() const { return m_eMode; }
    QString GetControl() const { return m_strControl; }

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
    static QStringList LocalSubnets(const QList<QNetworkAddressEntry>& local);

    Mode m_eMode = ThisComputer;
    QString m_strControl;
};
