#pragma once

#include <QList>
#include <QNetworkAddressEntry>

// The address entries of this PC's networks: those of every running,
// non-loopback interface. The server search probes their hosts, and a
// server shared on the local network lets their subnets in.
class CLocalNetworks
{
public:
    static QList<QNetworkAddressEntry> AddressEntries();
};
