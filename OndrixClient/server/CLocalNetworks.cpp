#include "server/CLocalNetworks.h"

#include <QNetworkInterface>

QList<QNetworkAddressEntry> CLocalNetworks::AddressEntries()
{
    QList<QNetworkAddressEntry> entries;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& network : interfaces) {
        const QNetworkInterface::InterfaceFlags flags = network.flags();
        if (flags.testFlag(QNetworkInterface::IsLoopBack) || !flags.testFlag(QNetworkInterface::IsRunning))
            continue;
        entries += network.addressEntries();
    }
    return entries;
}
