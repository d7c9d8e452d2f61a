#include "protocol/CNetworkText.h"

#include <QStringList>

namespace {

const QChar SCOPE = QLatin1Char('%');
const QChar PREFIX = QLatin1Char('/');
const QChar DOT = QLatin1Char('.');
const QChar COLON = QLatin1Char(':');
const int OCTETS = 4;
const int OCTET_MAX = 255;

// A number as the server writes one: digits only, no leading zero.
bool IsPlainNumber(QStringView text, int max)
{
    if (text.isEmpty() || text.size() > 3 || (text.size() > 1 && text.front() == QLatin1Char('0')))
        return false;
    for (const QChar c : text) {
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    }
    return text.toInt() <= max;
}

bool IsPlainDottedQuad(QStringView text)
{
    const QList<QStringView> octets = text.split(DOT);
    if (octets.size() != OCTETS)
        return false;
    for (const QStringView octet : octets) {
        if (!IsPlainNumber(octet, OCTET_MAX))
            return false;
    }
    return true;
}

} // namespace

bool CNetworkText::ParseAddress(const QString& text, QHostAddress& address)
{
    if (HasScope(text) || !address.setAddress(text))
        return false;
    // An IPv6 address may end in a dotted IPv4 one (::ffff:10.0.0.1).
    if (!text.contains(DOT))
        return true;
    return IsPlainDottedQuad(QStringView(text).mid(text.lastIndexOf(COLON) + 1));
}

bool CNetworkText::ParseNetwork(const QString& text, QPair<QHostAddress, int>& network)
{
    const qsizetype slash = text.indexOf(PREFIX);
    QHostAddress address;
    if (!ParseAddress(text.left(slash), address))
        return false;
    const int bits = address.protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128;
    if (slash >= 0 && !IsPlainNumber(QStringView(text).mid(slash + 1), bits))
        return false;
    network = QHostAddress::parseSubnet(text);
    return network.second >= 0;
}

bool CNetworkText::HasScope(const QString& text)
{
    return text.contains(SCOPE);
}

bool CNetworkText::HasMask(const QString& text)
{
    return text.section(PREFIX, 1).contains(DOT);
}
