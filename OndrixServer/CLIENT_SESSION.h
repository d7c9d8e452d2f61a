#pragma once

#include <QString>

// What the server knows of one connection while it answers its requests.
struct CLIENT_SESSION
{
    // The device its requests go to: the first one until it selects
    // another, since a reconnecting proxy does not select again.
    int device = 0;
    bool mayControl = false;
    bool initialized = true;
    QString peer; // "address:port", for the log
};
