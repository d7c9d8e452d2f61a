#pragma once

#include <QString>

#include <functional>

// A TCP handshake with a host and port, closed at once, that gives up when
// asked to. The broker library's MQTT 5 connection waits for its handshake
// as long as the system retries it: a broker behind a firewall that drops
// it would hold the client's thread, and the server's stop, for minutes.
// Called in the client's thread; looks the host up as the library does.
class CTcpProbe
{
public:
    // True once the host took the connection. False when it refused, could
    // not be reached or looked up (`error` says why), or when `stopping`
    // turned true first (`error` empty); it is asked every `sliceMs`.
    static bool Reach(const QString& host, int port, const std::function<bool()>& stopping, QString& error,
        int sliceMs = 100);
};
