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
    // An IP address. Dotted parts only as four plain decimals, since the
    // address parser would also read "10.1" as 10.0.0.1 and "010.0.0.1" as
    // the octal 8.0.0.1. No scope ("fe80::1%eth0"): a rule on addresses
    // cannot keep to one interface, so it would hold on every one.
    static bool ParseAddress(const QString& text, QHostAddress& address);
    // An address with an optional /prefix, as its network (a bare address
    // is that one host). The prefix is a length in plain decimals: a mask
    // (/255.0.0.0) is refused, and so is "10.1", which parseSubnet would
    // take for 10.1.0.0/16, too easily a typo.
    static bool ParseNetwork(const QString& text, QPair<QHostAddress, int>& network);

    // For the message that says why text was refused.
    static bool HasScope(const QString& text);
    static bool HasMask(const QString& text);
};
