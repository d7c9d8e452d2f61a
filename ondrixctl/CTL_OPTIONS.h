#pragma once

#include <QString>
#include <QStringList>

// What every command takes from the command line besides its own options.
struct CTL_OPTIONS
{
    static constexpr int DEFAULT_TIMEOUT_MS = 10000;

    QString device;                     // a server's address; empty for the local detector
    QStringList devices;                // every --device given, in order, for a command of several
    QStringList fingerprints;           // every --fingerprint given, in order
    QString fingerprint;                // an encrypted server's, as it must show it
    QString key;                        // the access key for it
    int timeoutMs = DEFAULT_TIMEOUT_MS; // for the detector to come online, or to answer a request
    bool quiet = false;                 // no progress and no notes, only errors
};
