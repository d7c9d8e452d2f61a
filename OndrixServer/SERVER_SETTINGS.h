#pragma once

#include "MQTT_SETTINGS.h"

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>

// One network: an address and its prefix length, as QHostAddress::parseSubnet
// gives it.
using NETWORK = QPair<QHostAddress, int>;

// How the server listens and whom it serves. The defaults are the safe ones:
// this computer only, and control for this computer only.
struct SERVER_SETTINGS
{
    // Where to listen; empty means loopback (127.0.0.1 and ::1).
    QList<QHostAddress> listen;
    // Peers outside every network named here are closed at once; empty lets
    // in anyone who reaches a listening address. Loopback is always let in.
    QList<NETWORK> allow;
    // Peers that may change the detector (keys, requests, settings, clock,
    // Clear). Loopback may unless controlLoopback is turned off.
    QList<NETWORK> control;
    bool controlLoopback = true;

    int maxConnections = 64;
    // A connection that sends nothing this long is closed.
    int idleSeconds = 600;
    // The longest request accepted; a settings block is 108 bytes.
    int maxRequestBytes = 4096;
    // A peer whose unsent answers pass this is dropped: it stopped reading.
    // A full ring of live records is some 20 MB of text.
    qint64 maxPendingBytes = qint64(64) * 1024 * 1024;

    MQTT_SETTINGS mqtt;
};
