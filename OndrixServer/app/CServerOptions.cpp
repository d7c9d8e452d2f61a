#include "app/CServerOptions.h"

#include "mqtt/CMqttOptions.h"

#include "app/SERVER_OPTION.h"
#include "protocol/CNetworkText.h"
#include "protocol/ServerCommandLine.h"
#include "security/CServerIdentity.h"

#include "protocol/ServerProtocol.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <limits>
#include <type_traits>

namespace {

constexpr qint64 CONNECTIONS_LIMIT = 1024;
// Idle timers count milliseconds in an int.
constexpr qint64 IDLE_SECONDS_LIMIT = std::numeric_limits<int>::max() / 1000;
// The longest request, a settings block behind its command, is 108 bytes.
constexpr qint64 REQUEST_BYTES_MIN = 128;
constexpr qint64 REQUEST_BYTES_LIMIT = 1024 * 1024;
// Less would drop a client on the first screenful of records it is sent.
constexpr qint64 PENDING_BYTES_MIN = 64 * 1024;
constexpr qint64 UNBOUNDED = std::numeric_limits<qint64>::max();

using ServerCommandLine::ANY;
using ServerCommandLine::NOBODY;
const char* const CONFIG = "config";

using OPTION_ENTRY = SERVER_OPTION;

QStringList Items(const QString& value)
{
    QStringList items = value.split(QLatin1Char(ServerCommandLine::LIST_SEPARATOR));
    for (QString& item : items)
        item = item.trimmed();
    return items;
}

// Why an item is no address or network, as precisely as the text tells.
QString Refusal(const QString& item, const QString& expected)
{
    if (CNetworkText::HasScope(item))
        return CServerOptions::tr("'%1' names an interface (%): a rule on addresses holds on every interface, "
                                  "give the address without it")
            .arg(item);
    if (CNetworkText::HasMask(item))
        return CServerOptions::tr("'%1' gives a mask: give the prefix as a length (10.0.0.0/8)").arg(item);
    return CServerOptions::tr("'%1' is not %2 (host names are not accepted; numbers are plain decimals, "
                              "without leading zeros)")
        .arg(item, expected);
}

bool ParseAddress(const QString& item, QHostAddress& address, QString& error)
{
    if (item.compare(QLatin1String(ANY), Qt::CaseInsensitive) == 0) {
        address = QHostAddress::Any;
        return true;
    }
    if (CNetworkText::ParseAddress(item, address))
        return true;
    error = Refusal(item, CServerOptions::tr("an IP address"));
    return false;
}

bool ParseListen(const QString& value, QList<QHostAddress>& addresses, QString& error)
{
    const QStringList items = Items(value);
    if (items.size() > 1 && items.contains(QLatin1String(ANY), Qt::CaseInsensitive)) {
        error = CServerOptions::tr("'%1' already takes every address, give it alone").arg(QLatin1String(ANY));
        return false;
    }
    addresses.clear();
    for (const QString& item : items) {
        QHostAddress address;
        if (!ParseAddress(item, address, error))
            return false;
        addresses.append(address);
    }
    return true;
}

bool ApplyListen(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    return ParseListen(value, settings.listen, error);
}

bool ApplyTlsListen(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    return ParseListen(value, settings.tlsListen, error);
}

bool ApplyStateDir(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    settings.stateDir = value.trimmed();
    if (!settings.stateDir.isEmpty())
        return true;
    error = CServerOptions::tr("no folder given");
    return false;
}

// Flags that make the program print and end; given on the command line only.
template <bool SERVER_SETTINGS::*FIELD>
bool ApplyCommand(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    settings.*FIELD = true;
    if (value == QLatin1String("1"))
        return true;
    error = CServerOptions::tr("is for the command line only");
    return false;
}

bool ParseNetworks(const QString& value, QList<NETWORK>& networks, QString& error)
{
    networks.clear();
    for (const QString& item : Items(value)) {
        NETWORK network;
        if (!CNetworkText::ParseNetwork(item, network)) {
            error = Refusal(item, CServerOptions::tr("a network: an IP address, optionally with /prefix"));
            return false;
        }
        networks.append(network);
    }
    return true;
}

bool ApplyAllow(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    return ParseNetworks(value, settings.allow, error);
}

// A list given holds for this computer too: it controls only when named.
bool ApplyControl(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    const QStringList items = Items(value);
    settings.controlLoopback = false;
    if (!items.contains(QLatin1String(NOBODY), Qt::CaseInsensitive))
        return ParseNetworks(value, settings.control, error);
    settings.control.clear();
    if (items.size() == 1)
        return true;
    error = CServerOptions::tr("'%1' cannot be combined with networks").arg(QLatin1String(NOBODY));
    return false;
}

// Given bare on the command line; in the file as "key = true" or "false".
bool ApplyAllowPlain(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    return SERVER_OPTION::ParseSwitch(value, settings.allowPlainNetwork, error);
}

template <auto FIELD, qint64 LOW, qint64 HIGH>
bool ApplyNumber(const QString& value, SERVER_SETTINGS& settings, QString& error)
{
    bool ok = false;
    const qint64 number = value.trimmed().toLongLong(&ok, 10);
    if (ok && number >= LOW && number <= HIGH) {
        settings.*FIELD = std::remove_reference_t<decltype(settings.*FIELD)>(number);
        return true;
    }
    if constexpr (HIGH == UNBOUNDED)
        error = CServerOptions::tr("'%1' is not a whole number of at least %2").arg(value).arg(LOW);
    else
        error = CServerOptions::tr("'%1' is not a whole number from %2 to %3").arg(value).arg(LOW).arg(HIGH);
    return false;
}

QList<OPTION_ENTRY> Entries()
{
    using S = SERVER_SETTINGS;
    const S defaults;
    return QList<OPTION_ENTRY> {
        { QLatin1String(ServerCommandLine::LISTEN), CServerOptions::tr("addresses"),
            CServerOptions::tr("Listen on these IP addresses, separated by commas: 'any' for every network "
                               "interface, 0.0.0.0 for every IPv4 one, :: for every IPv6 one. Host names are not "
                               "accepted. An address other than this computer's needs --%1. Default: this "
                               "computer only (127.0.0.1 and ::1).")
                .arg(QLatin1String(ServerCommandLine::ALLOW_PLAIN_NETWORK)),
            true, &ApplyListen },
        { QLatin1String(ServerCommandLine::ALLOW_PLAIN_NETWORK), QString(),
            CServerOptions::tr("Let --listen take addresses other computers reach, for clients that cannot "
                               "encrypt: requests and answers then cross the network in the clear. A warning "
                               "is logged at start."),
            false, &ApplyAllowPlain, true },
        { QLatin1String(ServerCommandLine::TLS_LISTEN), CServerOptions::tr("addresses"),
            CServerOptions::tr("Listen with TLS on these IP addresses ('any' for every interface): clients "
                               "check the server by its fingerprint and give an access key first. Default: no "
                               "encrypted port."),
            true, &ApplyTlsListen },
        { QStringLiteral("tls-port"), CServerOptions::tr("port"),
            CServerOptions::tr("The encrypted port, 1 to 65535. Default: %1.").arg(defaults.tlsPort), false,
            &ApplyNumber<&S::tlsPort, 1, 65535> },
        { QStringLiteral("state-dir"), CServerOptions::tr("folder"),
            CServerOptions::tr("Keep the server's private key, certificate and access keys here, readable by "
                               "its user only; made at the first start that needs them. Default: the unit's "
                               "StateDirectory=, else the user's data folder (%1).")
                .arg(CServerIdentity::DefaultFolder()),
            false, &ApplyStateDir },
        { QLatin1String(ServerCommandLine::FINGERPRINT), QString(),
            CServerOptions::tr("Print the SHA-256 fingerprint of the server's certificate and end."), false,
            &ApplyCommand<&S::printFingerprint>, true },
        { QLatin1String(ServerCommandLine::SHOW_KEYS), QString(),
            CServerOptions::tr("Print the access keys, 'view KEY' and 'control KEY', and end."), false,
            &ApplyCommand<&S::printKeys>, true },
        { QStringLiteral("new-keys"), QString(),
            CServerOptions::tr("Replace both access keys, print the new ones and end; a running server takes "
                               "them when it starts again."),
            false, &ApplyCommand<&S::newKeys>, true },
        { QLatin1String(ServerCommandLine::ALLOW), CServerOptions::tr("networks"),
            CServerOptions::tr("Let in only computers in these networks, separated by commas, each an address "
                               "with an optional /prefix (192.168.1.0/24, fd00::/8; a bare address is that one "
                               "computer). Others are disconnected at once, this computer too unless a network "
                               "holds it (127.0.0.0/8, ::1). Default: anyone who reaches a listening address."),
            true, &ApplyAllow },
        { QLatin1String(ServerCommandLine::CONTROL), CServerOptions::tr("networks"),
            CServerOptions::tr("Let computers in these networks change the detector (keys, requests, settings, "
                               "clock, clearing); they must be let in as well. Others may only watch, this "
                               "computer too unless a network holds it; 'none' lets nobody. Default: this "
                               "computer only."),
            true, &ApplyControl },
        { QStringLiteral("max-connections"), CServerOptions::tr("count"),
            CServerOptions::tr("Serve at most this many clients at once, 1 to %1. Default: %2.")
                .arg(CONNECTIONS_LIMIT)
                .arg(defaults.maxConnections),
            false, &ApplyNumber<&S::maxConnections, 1, CONNECTIONS_LIMIT> },
        { QStringLiteral("max-per-address"), CServerOptions::tr("count"),
            CServerOptions::tr("Serve at most this many clients of one address (of one IPv6 /64) at once, 1 to %1, "
                               "and never more than half of --max-connections. Default: %2.")
                .arg(CONNECTIONS_LIMIT)
                .arg(defaults.maxPerAddress),
            false, &ApplyNumber<&S::maxPerAddress, 1, CONNECTIONS_LIMIT> },
        { QStringLiteral("idle-timeout"), CServerOptions::tr("seconds"),
            CServerOptions::tr("Disconnect a client that sends nothing this long; 0 never does. Default: %1.")
                .arg(defaults.idleSeconds),
            false, &ApplyNumber<&S::idleSeconds, 0, IDLE_SECONDS_LIMIT> },
        { QStringLiteral("max-request"), CServerOptions::tr("bytes"),
            CServerOptions::tr("Refuse requests longer than this, %1 to %2. Default: %3.")
                .arg(REQUEST_BYTES_MIN)
                .arg(REQUEST_BYTES_LIMIT)
                .arg(defaults.maxRequestBytes),
            false, &ApplyNumber<&S::maxRequestBytes, REQUEST_BYTES_MIN, REQUEST_BYTES_LIMIT> },
        { QStringLiteral("max-pending"), CServerOptions::tr("bytes"),
            CServerOptions::tr("Accepted for old configurations, at least %1; it has no effect any more: a client "
                               "is sent its next answer only once it took the last, and one that stops taking it "
                               "is disconnected.")
                .arg(PENDING_BYTES_MIN),
            false, &ApplyNumber<&S::maxPendingBytes, PENDING_BYTES_MIN, UNBOUNDED> },
    }
    + CMqttOptions::Entries();
}

void Describe(QCommandLineParser& parser, const QList<OPTION_ENTRY>& entries)
{
    parser.setApplicationDescription(
        CServerOptions::tr("Shares the detectors attached to this computer with Ondrix clients over TCP port %1.\n"
                           "By default it listens on this computer only (127.0.0.1 and ::1), and only this "
                           "computer may change the detector. Use --%3 and --allow to serve other computers "
                           "encrypted on port %4, with an access key each (--%5), and --control to let them "
                           "change the detector; --listen with --%2 serves them unencrypted.")
            .arg(ServerProtocol::PORT)
            .arg(QLatin1String(ServerCommandLine::ALLOW_PLAIN_NETWORK), QLatin1String(ServerCommandLine::TLS_LISTEN))
            .arg(ServerProtocol::TLS_PORT)
            .arg(QLatin1String(ServerCommandLine::SHOW_KEYS)));
    parser.addOption({ QLatin1String(CONFIG),
        CServerOptions::tr("Read options from this INI file first: lines of key = value, the keys being the "
                           "option names (listen = any). The command line wins over the file."),
        CServerOptions::tr("file") });
    for (const OPTION_ENTRY& entry : entries)
        parser.addOption(entry.flag ? QCommandLineOption(entry.name, entry.description)
                                    : QCommandLineOption(entry.name, entry.description, entry.valueName));
}

const OPTION_ENTRY* Find(const QList<OPTION_ENTRY>& entries, const QString& name)
{
    for (const OPTION_ENTRY& entry : entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

QString FileValue(const QVariant& value)
{
    // QSettings hands back a value with commas as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

bool ReadConfig(const QString& path, const QList<OPTION_ENTRY>& entries, SERVER_SETTINGS& settings, QString& error)
{
    const QString where = CServerOptions::tr("config file '%1'").arg(path);
    QFile readable(path);
    if (!QFileInfo(path).isFile() || !readable.open(QIODevice::ReadOnly)) {
        error = CServerOptions::tr("%1 cannot be read").arg(where);
        return false;
    }
    QSettings file(path, QSettings::IniFormat);
    // The file is read, and its status known, on first use.
    const QStringList keys = file.allKeys();
    if (file.status() != QSettings::NoError) {
        error = CServerOptions::tr("%1 is not made of key = value lines").arg(where);
        return false;
    }
    for (const QString& key : keys) {
        const OPTION_ENTRY* entry = Find(entries, key);
        QString problem = CServerOptions::tr("no such option");
        if (!entry || !entry->apply(FileValue(file.value(key)), settings, problem)) {
            error = CServerOptions::tr("%1, key '%2': %3").arg(where, key, problem);
            return false;
        }
    }
    return true;
}

bool ReadCommandLine(const QCommandLineParser& parser, const QList<OPTION_ENTRY>& entries, SERVER_SETTINGS& settings,
    QString& error)
{
    for (const OPTION_ENTRY& entry : entries) {
        if (!parser.isSet(entry.name))
            continue;
        // A flag has no value: given is on.
        const QString value = entry.list ? parser.values(entry.name).join(QLatin1Char(',')) : parser.value(entry.name);
        if (!entry.apply(entry.flag ? QStringLiteral("1") : value, settings, error)) {
            error = QLatin1String("--") + entry.name + QLatin1String(": ") + error;
            return false;
        }
    }
    return true;
}

bool Fail(const QString& error, QString& message, int& exitCode)
{
    message = QLatin1String(CServerOptions::PROGRAM_NAME) + QLatin1String(": ") + error + QLatin1Char('\n')
        + CServerOptions::tr("Run '%1 --help' to see the options.").arg(QLatin1String(CServerOptions::PROGRAM_NAME));
    exitCode = CServerOptions::EXIT_USAGE;
    return false;
}

} // namespace

bool CServerOptions::Parse(const QStringList& arguments, SERVER_SETTINGS& settings, QString& message, int& exitCode)
{
    const QList<OPTION_ENTRY> entries = Entries();
    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    Describe(parser, entries);
    exitCode = 0;
    if (!parser.parse(arguments))
        return Fail(parser.errorText(), message, exitCode);
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        message = parser.helpText();
        return false;
    }
    if (parser.isSet(version)) {
        message = QLatin1String(PROGRAM_NAME) + QLatin1Char(' ') + QLatin1String(ONDRIX_VERSION);
        return false;
    }
    if (!parser.positionalArguments().isEmpty())
        return Fail(tr("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()), message, exitCode);
    QString error;
    if (parser.isSet(QLatin1String(CONFIG))
        && !ReadConfig(parser.value(QLatin1String(CONFIG)), entries, settings, error))
        return Fail(error, message, exitCode);
    if (!ReadCommandLine(parser, entries, settings, error))
        return Fail(error, message, exitCode);
    // Wrong only together, whichever of the file and the command line gave them.
    if (!CMqttOptions::Check(settings.mqtt, error))
        return Fail(error, message, exitCode);
    return true;
}
