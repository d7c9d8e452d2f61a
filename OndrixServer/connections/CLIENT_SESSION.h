#pragma once

#include <QHostAddress>

// What the server knows of one connection while it answers its requests.
struct CLIENT_SESSION
{
    // The device its requests go to: the first one until it selects
    // another, since a reconnecting proxy does not select again.
    int device = 0;
    bool mayControl = false;
    bool initialized = true;
    // On the encrypted port: nothing but "Auth:" is answered until a good
    // key came. `refused`: the answer going out is its last.
    bool needsKey = false;
    bool refused = false;
    // The peer, for the log (ServerLog::Peer).
    QHostAddress address;
    quint16 port = 0;
};
