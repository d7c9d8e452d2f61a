#pragma once

#include "GuiKitExport.h"

#include <QHostAddress>
#include <QPair>
#include <QString>

// Addresses and networks as a user writes them for the server: read the
// same way where the client offers them and where the server takes them,
// so that the client never passes what the server would refuse.
class GUIKIT_EXPORT CNetworkText
{
public:
    // An IP address; an IPv4 one only as four plain decimals, since the
    // address parser would also read "10.1" as 10.0.0.1 and "010.0.0.1" as
    // the octal 8.0.0.1.
    static bool ParseAddress(const QString& text, QHostAddress& address);
    // An address with an optional /prefix, as its network (a bare address
    // is that one host). "10.1" is refused: parseSubnet would take it for
    // 10.1.0.0/16, too easily a typo.
    static bool ParseNetwork(const QString& text, QPair<QHostAddress, int>& network);
};
