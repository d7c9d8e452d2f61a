#pragma once

#include "mqtt/MQTT_SETTINGS.h"
#include "protocol/ServerProtocol.h"

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
    // The plain protocol crosses the network unencrypted: listening on an
    // address other than loopback takes the operator's word for it.
    bool allowPlainNetwork = false;
    // Where the encrypted port listens; empty: nowhere.
    QList<QHostAddress> tlsListen;
    quint16 tlsPort = ServerProtocol::TLS_PORT;
    // The identity's folder; empty: CServerIdentity::DefaultFolder().
    QString stateDir;
    // Instead of serving: print the fingerprint, print the access keys,
    // or make new ones (and print them).
    bool printFingerprint = false;
    bool printKeys = false;
    bool newKeys = false;
    // Peers outside every network named here are closed at once, this
    // computer's included; empty lets in anyone who reaches a listening
    // address.
    QList<NETWORK> allow;
    // Peers that may change the detector (keys, requests, settings, clock,
    // Clear). Loopback may without being named only while no list was
    // given (controlLoopback); a list, or "none", holds for it too.
    QList<NETWORK> control;
    bool controlLoopback = true;

    int maxConnections = 64;
    // The most connections from one address (an IPv6 /64), so that one
    // peer never takes every slot; never more than half of maxConnections.
    int maxPerAddress = 8;
    // A connection that sends nothing this long is closed.
    int idleSeconds = 600;
    // A connection that sends no valid request this long after it opened.
    int firstRequestSeconds = 5;
    // A connection that takes nothing of its answer this long: it stopped
    // reading, and holds an answer others may have moved past.
    int stallSeconds = 30;
    // The longest request accepted; a settings block is 108 bytes.
    int maxRequestBytes = 4096;
    // No longer used: a connection is sent one answer at a time, so unread
    // answers never pile up. Read so that old configurations still start.
    qint64 maxPendingBytes = qint64(64) * 1024 * 1024;

    MQTT_SETTINGS mqtt;
};
