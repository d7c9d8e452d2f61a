#include "protocol/CServerAddress.h"

#include "protocol/ServerProtocol.h"

#include <QHostAddress>

CServerAddress::CServerAddress(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String(TLS_SCHEME), Qt::CaseInsensitive)) {
        m_bEncrypted = true;
        m_nPort = ServerProtocol::TLS_PORT;
        if (!ParseScheme(trimmed.mid(int(sizeof(TLS_SCHEME)) - 1)))
            *this = CServerAddress();
    } else if (trimmed.startsWith(QLatin1String(PLAIN_SCHEME), Qt::CaseInsensitive)) {
        m_nPort = ServerProtocol::PORT;
        if (!ParseScheme(trimmed.mid(int(sizeof(PLAIN_SCHEME)) - 1)))
            *this = CServerAddress();
    } else if (!trimmed.contains(QLatin1Char('/'))) {
        // A bare host, an IPv6 address included: colons are no port here.
        m_strHost = trimmed;
        m_nPort = ServerProtocol::PORT;
    }
}

// "host", "host:port", "[v6]", "[v6]:port"; nothing after the port.
bool CServerAddress::ParseScheme(QString rest)
{
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);
    QString port;
    if (rest.startsWith(QLatin1Char('['))) {
        const int close = int(rest.indexOf(QLatin1Char(']')));
        if (close < 0)
            return false;
        m_strHost = rest.mid(1, close - 1);
        const QString after = rest.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(QLatin1Char(':')))
            return false;
        port = after.mid(1);
        if (QHostAddress(m_strHost).protocol() != QAbstractSocket::IPv6Protocol)
            return false;
    } else {
        const int colon = int(rest.indexOf(QLatin1Char(':')));
        m_strHost = colon < 0 ? rest : rest.left(colon);
        port = colon < 0 ? QString() : rest.mid(colon + 1);
        if (colon >= 0 && port.isEmpty())
            return false;
    }
    if (m_strHost.isEmpty() || m_strHost.contains(QLatin1Char('/')))
        return false;
    if (port.isEmpty())
        return true;
    bool ok = false;
    const uint number = port.toUInt(&ok);
    if (!ok || number == 0 || number > 65535 || port.startsWith(QLatin1Char('+')))
        return false;
    m_nPort = quint16(number);
    return true;
}

QString CServerAddress::Key() const
{
    const QString host
        = m_strHost.contains(QLatin1Char(':')) ? QLatin1Char('[') + m_strHost + QLatin1Char(']') : m_strHost;
    return (m_bEncrypted ? QLatin1String(TLS_SCHEME) : QLatin1String(PLAIN_SCHEME)) + host.toLower() + QLatin1Char(':')
        + QString::number(m_nPort);
}

bool CServerAddress::IsLoopback() const
{
    return m_strHost.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
        || QHostAddress(m_strHost).isLoopback();
}
