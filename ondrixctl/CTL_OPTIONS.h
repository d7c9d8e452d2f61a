#pragma once

#include <QString>

// What every command takes from the command line besides its own options.
struct CTL_OPTIONS
{
    static constexpr int DEFAULT_TIMEOUT_MS = 10000;

    QString device;                       // a server's address; empty for the local detector
    int timeoutMs = DEFAULT_TIMEOUT_MS;   // for the detector to come online, or to answer a request
    bool quiet = false;                   // no progress and no notes, only errors
};
