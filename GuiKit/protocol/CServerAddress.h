#pragma once

#include "GuiKitExport.h"

#include <QString>

// Where a server is and how to reach it, from what the user typed: a bare
// host name or address reaches the plain port on this computer's network as
// before; "ondrixs://host[:port]" reaches the encrypted port, and
// "ondrix://host[:port]" names a plain port explicitly. An IPv6 address with
// a port goes in brackets: "ondrixs://[::1]:7778".
class GUIKIT_EXPORT CServerAddress
{
public:
    static constexpr char TLS_SCHEME[] = "ondrixs://";
    static constexpr char PLAIN_SCHEME[] = "ondrix://";

    CServerAddress() = default;
    explicit CServerAddress(const QString& text);

    bool IsValid() const { return !m_strHost.isEmpty(); }
    QString Host() const { return m_strHost; }
    quint16 Port() const { return m_nPort; }
    bool IsEncrypted() const { return m_bEncrypted; }
    // On this computer: nothing goes over a network, encrypted or not.
    bool IsLoopback() const;
    // One text per server, to store what is known of it under.
    QString Key() const;

private:
    bool ParseScheme(QString rest);

    QString m_strHost;
    quint16 m_nPort = 0;
    bool m_bEncrypted = false;
};
