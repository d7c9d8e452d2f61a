// The server's command line and config file read into its settings, and
// the peer policy those settings make, IPv4 peers on dual-stack sockets
// included.
#include "app/CServerOptions.h"
#include "security/CPeerPolicy.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString PROGRAM = QStringLiteral("OndrixServer");

QString Addresses(const QList<QHostAddress>& addresses)
{
    QStringList texts;
    for (const QHostAddress& address : addresses)
        texts << (address == QHostAddress(QHostAddress::Any) ? QStringLiteral("any") : address.toString());
    return texts.join(QLatin1Char(','));
}

QString Networks(const QList<NETWORK>& networks)
{
    QStringList texts;
    for (const NETWORK& network : networks)
        texts << network.first.toString() + QLatin1Char('/') + QString::number(network.second);
    return texts.join(QLatin1Char(','));
}

// Every field, so a row can name the ones it is about.
QString Summary(const SERVER_SETTINGS& s)
{
    return QStringLiteral(
        "listen=%1 allow=%2 control=%3 loopback=%4 conn=%5 idle=%6 req=%7 pending=%8 plain=%9 per=%10")
        .arg(Addresses(s.listen), Networks(s.allow), Networks(s.control))
        .arg(s.controlLoopback)
        .arg(s.maxConnections)
        .arg(s.idleSeconds)
        .arg(s.maxRequestBytes)
        .arg(s.maxPendingBytes)
        .arg(s.allowPlainNetwork)
        .arg(s.maxPerAddress);
}

bool Parse(QStringList arguments, SERVER_SETTINGS& settings, QString& message, int& exitCode)
{
    arguments.prepend(PROGRAM);
    return CServerOptions::Parse(arguments, settings, message, exitCode);
}

} // namespace

class CTestServerOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void parse_data();
    void parse();
    void help_data();
    void help();
    void policy_data();
    void policy();

private:
    QTemporaryDir m_dir;
};

void CTestServerOptions::parse_data()
{
    QTest::addColumn<QByteArray>("config"); // null: no --config
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    // Parts of the summary on success, of the message on failure.
    QTest::addColumn<QStringList>("expected");

    const QByteArray none;
    const QByteArray file("listen = any\nallow = 10.0.0.0/8, 192.168.0.0/16\nmax-connections = 8\ncontrol = none\n");
    QTest::newRow("defaults") << none << QStringList() << true
                              << QStringList {
                                     "listen= allow= control= loopback=1 conn=64 idle=600 req=4096 pending=67108864"
                                 };
    QTest::newRow("listen list and repeat")
        << none << QStringList { "--listen", " 127.0.0.1, ::1", "--listen", "0.0.0.0" } << true
        << QStringList { "listen=127.0.0.1,::1,0.0.0.0 " };
    QTest::newRow("listen any") << none << QStringList { "--listen", "ANY" } << true << QStringList { "listen=any " };
    QTest::newRow("networks") << none << QStringList { "--allow", "192.168.1.7/24,10.0.0.5,fd00::/8" } << true
                              << QStringList { "allow=192.168.1.0/24,10.0.0.5/32,fd00::/8 " };
    QTest::newRow("control none") << none << QStringList { "--control", "none" } << true
                                  << QStringList { "control= loopback=0" };
    QTest::newRow("lowest numbers") << none
                                    << QStringList { "--max-connections", "1", "--idle-timeout", "0", "--max-request",
                                           "128", "--max-pending", "65536" }
                                    << true << QStringList { "conn=1 idle=0 req=128 pending=65536" };
    QTest::newRow("highest connections") << none << QStringList { "--max-connections", "1024" } << true
                                         << QStringList { "conn=1024" };
    QTest::newRow("file") << file << QStringList() << true
                          << QStringList { "listen=any allow=10.0.0.0/8,192.168.0.0/16 control= loopback=0 conn=8 " };
    QTest::newRow("command line wins")
        << file << QStringList { "--max-connections", "9", "--allow", "172.16.0.0/12", "--control", "10.1.0.0/16" }
        << true << QStringList { "listen=any allow=172.16.0.0/12 control=10.1.0.0/16 loopback=0 conn=9 " };
    QTest::newRow("plain network") << none << QStringList { "--listen", "any", "--allow-plain-network" } << true
                                   << QStringList { "listen=any ", "plain=1 " };
    QTest::newRow("plain network in file") << QByteArray("allow-plain-network = no\nmax-per-address = 3\n")
                                           << QStringList() << true << QStringList { "plain=0 per=3" };
    QTest::newRow("strict network forms")
        << none << QStringList { "--allow", "0.0.0.0/0,::ffff:10.0.0.0/104,10.0.0.0/8" } << true
        << QStringList { "allow=0.0.0.0/0,::ffff:10.0.0.0/104,10.0.0.0/8 " };

    QTest::newRow("host name") << none << QStringList { "--listen", "localhost" } << false
                               << QStringList { "--listen", "'localhost'", "host names" };
    QTest::newRow("any with others") << none << QStringList { "--listen", "any,127.0.0.1" } << false
                                     << QStringList { "'any'" };
    QTest::newRow("partial address") << none << QStringList { "--listen", "10.1" } << false << QStringList { "'10.1'" };
    QTest::newRow("octal-looking network")
        << none << QStringList { "--allow", "192.168.001.010" } << false << QStringList { "'192.168.001.010'" };
    QTest::newRow("scoped address") << none << QStringList { "--allow", "fe80::1%eth0" } << false
                                    << QStringList { "'fe80::1%eth0'", "interface" };
    QTest::newRow("scoped network") << none << QStringList { "--control", "fe80::%eth0/64" } << false
                                    << QStringList { "--control", "interface" };
    QTest::newRow("scoped listen") << none << QStringList { "--listen", "fe80::1%lo" } << false
                                   << QStringList { "interface" };
    QTest::newRow("dotted mask") << none << QStringList { "--allow", "10.0.0.0/255.0.0.0" } << false
                                 << QStringList { "'10.0.0.0/255.0.0.0'", "mask" };
    QTest::newRow("octal-looking prefix")
        << none << QStringList { "--allow", "10.0.0.0/08" } << false << QStringList { "'10.0.0.0/08'" };
    QTest::newRow("octal-looking octet") << none << QStringList { "--listen", "127.0.0.010" } << false
                                         << QStringList { "leading zeros" };
    QTest::newRow("octal-looking mapped")
        << none << QStringList { "--allow", "::ffff:010.0.0.1" } << false << QStringList { "'::ffff:010.0.0.1'" };
    QTest::newRow("plain network with a value")
        << none << QStringList { "--allow-plain-network=yes" } << false << QStringList { "allow-plain-network" };
    QTest::newRow("plain network neither")
        << QByteArray("allow-plain-network = maybe\n") << QStringList() << false << QStringList { "'maybe'" };
    QTest::newRow("none per address") << none << QStringList { "--max-per-address", "0" } << false
                                      << QStringList { "'0'" };
    QTest::newRow("partial network") << none << QStringList { "--allow", "10.0" } << false
                                     << QStringList { "--allow", "'10.0'" };
    QTest::newRow("long prefix") << none << QStringList { "--control", "10.0.0.0/33" } << false
                                 << QStringList { "'10.0.0.0/33'" };
    QTest::newRow("none with networks") << none << QStringList { "--control", "none,10.0.0.0/8" } << false
                                        << QStringList { "'none'" };
    QTest::newRow("no connections") << none << QStringList { "--max-connections", "0" } << false
                                    << QStringList { "'0'", "1 to 1024" };
    QTest::newRow("too many") << none << QStringList { "--max-connections", "1025" } << false
                              << QStringList { "'1025'" };
    QTest::newRow("hex") << none << QStringList { "--max-request", "0x100" } << false
                         << QStringList { "--max-request", "'0x100'" };
    QTest::newRow("short request") << none << QStringList { "--max-request", "127" } << false
                                   << QStringList { "'127'" };
    QTest::newRow("negative idle") << none << QStringList { "--idle-timeout", "-1" } << false << QStringList { "'-1'" };
    QTest::newRow("small pending") << none << QStringList { "--max-pending", "65535" } << false
                                   << QStringList { "'65535'", "at least" };
    QTest::newRow("unknown option") << none << QStringList { "--port", "1" } << false << QStringList { "port" };
    QTest::newRow("missing value") << none << QStringList { "--listen" } << false << QStringList { "listen" };
    QTest::newRow("stray argument") << none << QStringList { "stray" } << false << QStringList { "'stray'" };
    QTest::newRow("missing file") << none << QStringList { "--config", "/nonexistent/server.ini" } << false
                                  << QStringList { "/nonexistent/server.ini" };
    QTest::newRow("bad value in file") << QByteArray("idle-timeout = soon\n") << QStringList() << false
                                       << QStringList { "server.ini", "'idle-timeout'", "'soon'" };
    QTest::newRow("unknown key in file") << QByteArray("alow = 10.0.0.0/8\n") << QStringList() << false
                                         << QStringList { "server.ini", "'alow'" };
    QTest::newRow("file not key = value")
        << QByteArray("listen\n") << QStringList() << false << QStringList { "server.ini" };
    QTest::newRow("bad file, good line") << QByteArray("max-pending = 1\n") << QStringList { "--max-pending", "70000" }
                                         << false << QStringList { "'max-pending'", "'1'" };
}

void CTestServerOptions::parse()
{
    QFETCH(QByteArray, config);
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    QFETCH(QStringList, expected);

    if (!config.isNull()) {
        QFile file(m_dir.filePath(QStringLiteral("server.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(config);
        arguments = QStringList { "--config", file.fileName() } + arguments;
    }
    SERVER_SETTINGS settings;
    QString message;
    int exitCode = -1;
    QCOMPARE(Parse(arguments, settings, message, exitCode), ok);
    if (!ok)
        QCOMPARE(exitCode, CServerOptions::EXIT_USAGE);
    const QString text = ok ? Summary(settings) : message;
    for (const QString& part : expected)
        QVERIFY2(text.contains(part), qPrintable(text));
}

void CTestServerOptions::help_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("help") << "--help"
                          << QStringList { "--listen", "--allow", "--control", "--max-connections", "--idle-timeout",
                                 "--max-request", "--max-pending", "--config", "--version", "127.0.0.1 and ::1",
                                 "only this computer may change", "--allow-plain-network", "--max-per-address" };
    QTest::newRow("version") << "--version"
                             << QStringList { PROGRAM + QLatin1Char(' ') + QLatin1String(ONDRIX_VERSION) };
}

void CTestServerOptions::help()
{
    QFETCH(QString, option);
    QFETCH(QStringList, expected);

    SERVER_SETTINGS settings;
    QString message;
    int exitCode = -1;
    // Printing wins over a bad option that follows.
    QVERIFY(!Parse({ option, "--max-connections", "0" }, settings, message, exitCode));
    QCOMPARE(exitCode, 0);
    for (const QString& part : expected)
        QVERIFY2(message.contains(part), qPrintable(part));
}

void CTestServerOptions::policy_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("peer");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<bool>("mayControl");

    const QStringList defaults;
    const QStringList lan { "--allow", "192.168.1.0/24" };
    const QStringList lanControl { "--control", "192.168.1.0/24" };
    const QStringList nobody { "--control", "none" };
    QTest::newRow("loopback") << defaults << "127.0.0.1" << true << true;
    QTest::newRow("loopback elsewhere in 127/8") << defaults << "127.4.5.6" << true << true;
    QTest::newRow("IPv6 loopback") << defaults << "::1" << true << true;
    QTest::newRow("mapped loopback") << defaults << "::ffff:127.0.0.1" << true << true;
    QTest::newRow("anyone watches") << defaults << "192.168.1.5" << true << false;
    QTest::newRow("in network") << lan << "192.168.1.5" << true << false;
    QTest::newRow("mapped in network") << lan << "::ffff:192.168.1.5" << true << false;
    QTest::newRow("outside network") << lan << "192.168.2.5" << false << false;
    QTest::newRow("mapped outside network") << lan << "::ffff:192.168.2.5" << false << false;
    // Lists given hold for this computer too.
    QTest::newRow("loopback outside the networks") << lan << "::ffff:127.0.0.1" << false << false;
    QTest::newRow("loopback in the networks")
        << QStringList { "--allow", "127.0.0.0/8" } << "127.0.0.2" << true << true;
    QTest::newRow("other loopback outside")
        << QStringList { "--allow", "127.0.0.1/32" } << "127.0.0.2" << false << false;
    QTest::newRow("unmapped ::/96") << QStringList { "--allow", "::/96" } << "10.1.2.3" << false << false;
    QTest::newRow("unmapped ::/96, mapped peer")
        << QStringList { "--allow", "::/96" } << "::ffff:10.1.2.3" << false << false;
    QTest::newRow("compatible address is IPv6") << QStringList { "--allow", "::/96" } << "::10.1.2.3" << true << false;
    QTest::newRow("mapped /96 is every IPv4")
        << QStringList { "--allow", "::ffff:0:0/96" } << "10.1.2.3" << true << false;
    QTest::newRow("bare address is one host") << QStringList { "--allow", "10.0.0.5" } << "10.0.0.6" << false << false;
    QTest::newRow("IPv6 network") << QStringList { "--allow", "fd00::/8" } << "fd12::1" << true << false;
    QTest::newRow("outside IPv6 network") << QStringList { "--allow", "fd00::/8" } << "fe80::1" << false << false;
    QTest::newRow("mapped network") << QStringList { "--allow", "::ffff:10.0.0.0/104" } << "10.1.2.3" << true << false;
    QTest::newRow("mapped controller") << lanControl << "::ffff:192.168.1.9" << true << true;
    QTest::newRow("outside control") << lanControl << "192.168.2.9" << true << false;
    QTest::newRow("loopback outside control") << lanControl << "127.0.0.1" << true << false;
    QTest::newRow("other loopback outside control")
        << QStringList { "--control", "127.0.0.1" } << "127.0.0.2" << true << false;
    QTest::newRow("loopback named for control")
        << QStringList { "--control", "127.0.0.1" } << "::ffff:127.0.0.1" << true << true;
    QTest::newRow("control needs entry") << QStringList { "--allow", "10.0.0.0/8", "--control", "192.168.1.0/24" }
                                         << "192.168.1.9" << false << false;
    QTest::newRow("control none") << nobody << "127.0.0.1" << true << false;
    QTest::newRow("control none, IPv6") << nobody << "::1" << true << false;
}

void CTestServerOptions::policy()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, peer);
    QFETCH(bool, allowed);
    QFETCH(bool, mayControl);

    SERVER_SETTINGS settings;
    QString message;
    int exitCode = -1;
    QVERIFY2(Parse(arguments, settings, message, exitCode), qPrintable(message));
    const CPeerPolicy policy(settings);
    const QHostAddress address(peer);
    QCOMPARE(policy.IsAllowed(address), allowed);
    QCOMPARE(policy.MayControl(address), mayControl);
}

QTEST_GUILESS_MAIN(CTestServerOptions)
#include "tst_ServerOptions.moc"
