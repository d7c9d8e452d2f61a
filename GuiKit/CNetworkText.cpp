#include "CNetworkText.h"

bool CNetworkText::ParseAddress(const QString& text, QHostAddress& address)
{
    if (!address.setAddress(text))
        return false;
    return address.protocol() != QAbstractSocket::IPv4Protocol || address.toString() == text;
}

bool CNetworkText::ParseNetwork(const QString& text, QPair<QHostAddress, int>& network)
{
    network = QHostAddress::parseSubnet(text);
    QHostAddress address;
    return network.second >= 0 && ParseAddress(text.section(QLatin1Char('/'), 0, 0), address);
}
