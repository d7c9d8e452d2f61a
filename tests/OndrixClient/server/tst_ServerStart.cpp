// Start Server: the sharing choice as the server's command line, the
// sharing dialog's check of the addresses, and the start itself with a
// script standing in for the server program and a loopback server that
// begins to listen late.
#include "CFakeDevice.h"
#include "CLoopbackServer.h"
#include "CModalWatcher.h"
#include "CRecordingDeviceGui.h"
#include "app/CClientSession.h"
#include "mainwindow/CMainWindow.h"
#include "proxy/CMetaDevice.h"
#include "server/CServerSharing.h"
#include "server/CServerStarter.h"
#include "server/CShareDialog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QList<QNetworkAddressEntry> Entries(const QStringList& subnets)
{
    QList<QNetworkAddressEntry> entries;
    for (const QString& subnet : subnets) {
        QNetworkAddressEntry entry;
        entry.setIp(QHostAddress(subnet.section(QLatin1Char('/'), 0, 0)));
        entry.setPrefixLength(subnet.section(QLatin1Char('/'), 1).toInt());
        entries.append(entry);
    }
    return entries;
}

// A server already running here would be found instead of the one started.
bool PortTaken()
{
    QTcpSocket probe;
    probe.connectToHost(QStringLiteral("localhost"), CMetaDevice::SERVER_PORT);
    return probe.waitForConnected(500);
}

#define SKIP_WHEN_THE_PORT_IS_TAKEN()                                                                                  \
    if (PortTaken())                                                                                                   \
    QSKIP("Something on this machine listens on the server port.")

} // namespace

class TestServerStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void sharingBecomesTheServerArguments_data();
    void sharingBecomesTheServerArguments();
    void controlAddressesAreChecked_data();
    void controlAddressesAreChecked();
    void shareDialogOffersNetworksAndShowsTheIdentity();
    void startThatChangesNothing_data();
    void startThatChangesNothing();
    void serverListeningLateIsConnected();
    void serverNeverListeningFailsInTime();

private:
    QString Script();
    QString ConnectionText() { return m_pWindow->findChild<QLabel*>(QStringLiteral("m_pConnectionLabel"))->text(); }

    QTemporaryDir m_folder;
    std::unique_ptr<QTemporaryDir> m_pSettings;
    std::unique_ptr<CFakeDevice> m_pFake;
    std::unique_ptr<CRecordingDeviceGui> m_pGui;
    std::unique_ptr<CMainWindow> m_pWindow;
    CMetaDevice* m_pDevice = nullptr;
};

void TestServerStart::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString gui = m_folder.filePath(QStringLiteral("GuiModuleTestA") + QStringLiteral(ONDRIX_PLUGIN_SUFFIX));
    QVERIFY(QFile::copy(QStringLiteral(TEST_GUI_A), gui));
}

void TestServerStart::init()
{
    m_pSettings = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_pSettings->path());
    QCoreApplication::setOrganizationName(QStringLiteral("Korvent"));
    QCoreApplication::setApplicationName(QStringLiteral("RZ450 Ondrix"));
    QSettings().setValue(QStringLiteral("General/Language"), QStringLiteral("en_US"));
    CClientSession::SetPluginFolder(m_folder.path());
    m_pFake = std::make_unique<CFakeDevice>();
    m_pGui = std::make_unique<CRecordingDeviceGui>(QStringLiteral("FAKE"));
    m_pDevice = new CMetaDevice(m_pFake.get());
    m_pDevice->Initialize();
    CClientSession::SetCurrent(m_pDevice, m_pGui.get());
    m_pWindow = std::make_unique<CMainWindow>();
}

void TestServerStart::cleanup()
{
    qunsetenv("ONDRIX_SERVER_PROGRAM");
    m_pWindow.reset();
    CClientSession::Release();
    CClientSession::SetPluginFolder(QString());
    m_pGui.reset();
    m_pFake.reset();
}

// A server program that writes its arguments, one a line, beside itself,
// and never listens.
QString TestServerStart::Script()
{
    const QString path = m_folder.filePath(QStringLiteral("server.sh"));
    QFile::remove(path + QStringLiteral(".args"));
    QFile script(path);
    script.open(QIODevice::WriteOnly | QIODevice::Truncate);
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    qputenv("ONDRIX_SERVER_PROGRAM", path.toLocal8Bit());
    return path + QStringLiteral(".args");
}

void TestServerStart::sharingBecomesTheServerArguments_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("networks"); // chosen; empty: this PC's narrow ones
    QTest::addColumn<QStringList>("local");
    QTest::addColumn<QStringList>("arguments");
    const QStringList lan { QStringLiteral("192.168.1.20/24") };
    const QString loopback = QStringLiteral("127.0.0.0/8,::1/128");
    QTest::newRow("this computer") << int(CServerSharing::ThisComputer) << "10.0.0.1" << QStringList() << lan
                                   << QStringList();
    // Networks wider than a /16 (a VPN's /8) are not shared unasked.
    QTest::newRow("read-only, narrow IPv4 subnets once each")
        << int(CServerSharing::NetworkReadOnly) << "10.0.0.1" << QStringList()
        << QStringList { "192.168.1.20/24", "192.168.1.7/24", "fe80::1/64", "10.1.2.3/8", "172.17.0.1/16" }
        << QStringList { "--tls-listen", "any", "--allow", "192.168.1.0/24,172.17.0.0/16," + loopback, "--control",
               loopback };
    QTest::newRow("no network lets in only this PC")
        << int(CServerSharing::NetworkReadOnly) << "" << QStringList() << QStringList()
        << QStringList { "--tls-listen", "any", "--allow", loopback, "--control", loopback };
    QTest::newRow("chosen, a wide one included")
        << int(CServerSharing::NetworkReadOnly) << "" << QStringList { "10.0.0.0/8" } << lan
        << QStringList { "--tls-listen", "any", "--allow", "10.0.0.0/8," + loopback, "--control", loopback };
    // Whoever may control must also be let in.
    QTest::newRow("control") << int(CServerSharing::NetworkControl) << " 192.168.1.20, 10.8.0.5,fd00::1/64,"
                             << QStringList() << lan
                             << QStringList { "--tls-listen", "any", "--allow",
                                    "192.168.1.0/24,192.168.1.20/32,10.8.0.5/32,fd00::/64," + loopback, "--control",
                                    "192.168.1.20/32,10.8.0.5/32,fd00::/64," + loopback };
}

void TestServerStart::sharingBecomesTheServerArguments()
{
    QFETCH(int, mode);
    QFETCH(QString, control);
    QFETCH(QStringList, networks);
    QFETCH(QStringList, local);
    QFETCH(QStringList, arguments);
    QCOMPARE(CServerSharing(CServerSharing::Mode(mode), control, networks).Arguments(Entries(local)), arguments);
}

void TestServerStart::controlAddressesAreChecked_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("bad"); // empty: accepted
    QTest::newRow("host") << "192.168.1.20"
                          << "";
    QTest::newRow("list") << "192.168.1.20, 192.168.1.0/24 ,::1"
                          << "";
    QTest::newRow("nothing") << " , "
                             << "Enter the addresses or networks that may control the detector.";
    QTest::newRow("partial address") << "192.168.1.1, 192.168"
                                     << "Not an address or network: 192.168";
    QTest::newRow("prefix too long") << "10.0.0.0/33"
                                     << "Not an address or network: 10.0.0.0/33";
    QTest::newRow("host name") << "server"
                               << "Not an address or network: server";
}

void TestServerStart::controlAddressesAreChecked()
{
    QFETCH(QString, text);
    QFETCH(QString, bad);
    CShareDialog dialog(CServerSharing(CServerSharing::NetworkControl, text));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("m_pOkButton"));
    QCOMPARE(ok->isEnabled(), bad.isEmpty());
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("m_pErrorLabel"))->text(), bad);
    // Only the choice with control reads the addresses.
    dialog.findChild<QRadioButton*>(QStringLiteral("m_pReadOnlyRadio"))->setChecked(true);
    QVERIFY(ok->isEnabled());
    QVERIFY(!dialog.findChild<QLineEdit*>(QStringLiteral("m_pControlEdit"))->isEnabled());
}

void TestServerStart::shareDialogOffersNetworksAndShowsTheIdentity()
{
    const QString path = m_folder.filePath(QStringLiteral("identity.sh"));
    QFile script(path);
    QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write("#!/bin/sh\ncase \"$1\" in\n--fingerprint) printf '%064d\\n' 7 ;;\n"
                 "--show-keys) printf 'view V1\\ncontrol C2\\n' ;;\nesac\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    qputenv("ONDRIX_SERVER_PROGRAM", path.toLocal8Bit());
    CShareDialog dialog(CServerSharing(CServerSharing::NetworkReadOnly));
    dialog.SetLocalNetworks(Entries({ QStringLiteral("192.168.1.20/24"), QStringLiteral("10.1.2.3/8") }));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("m_pNetworkList"));
    auto* wide = dialog.findChild<QLabel*>(QStringLiteral("m_pWideLabel"));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);
    QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
    QVERIFY(wide->text().isEmpty());
    list->item(1)->setCheckState(Qt::Checked);
    QVERIFY(wide->text().contains(QStringLiteral("10.0.0.0/8")));
    QCOMPARE(dialog.GetSharing().GetNetworks(), QStringList({ "192.168.1.0/24", "10.0.0.0/8" }));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("m_pFingerprintLabel"))->text(),
        QStringLiteral("0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0007"));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("m_pControlKeyLabel"))->text(), QStringLiteral("C2"));
    QVERIFY(!dialog.GetSharing().KeepsSharing());
}

void TestServerStart::startThatChangesNothing_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("program");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("starts");
    QTest::newRow("cancelled") << false << true << QStringList() << 1;
    QTest::newRow("no program") << true << false
                                << QStringList { "Failed to run Ondrix Server! OndrixServer.exe file is missing!" }
                                << 2;
}

void TestServerStart::startThatChangesNothing()
{
    SKIP_WHEN_THE_PORT_IS_TAKEN();
    QFETCH(bool, accept);
    QFETCH(bool, program);
    QFETCH(QStringList, messages);
    QFETCH(int, starts);
    const QString arguments = Script();
    if (!program)
        qputenv("ONDRIX_SERVER_PROGRAM", m_folder.filePath(QStringLiteral("no-such-server")).toLocal8Bit());
    CModalWatcher watcher;
    watcher.SetShareAccepted(accept);
    m_pWindow->OnFileStartServerAction();
    QCOMPARE(watcher.MessageTexts(), messages);
    QVERIFY(!QFile::exists(arguments));
    QCOMPARE(m_pFake->Starts(), starts);
    QCOMPARE(m_pFake->Users(), 1);
    QCOMPARE(CClientSession::Device(), m_pDevice);
    QCOMPARE(ConnectionText(), QStringLiteral("Local device"));
    QCOMPARE(QSettings().contains(QStringLiteral("StartServer/Sharing")), accept);
}

void TestServerStart::serverListeningLateIsConnected()
{
    SKIP_WHEN_THE_PORT_IS_TAKEN();
    QSettings().setValue(QStringLiteral("StartServer/Sharing"), QStringLiteral("read-only"));
    const QString arguments = Script();
    CLoopbackServer server(QStringLiteral("127.0.0.1"), CLoopbackServer::Normal, QStringLiteral("DeviceA"));
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!QFile::exists(arguments))
            return;
        poll.stop();
        // Half a second after the program ran: some connects are refused first.
        QTimer::singleShot(500, &poll, [&server] { server.Listen(); });
    });
    poll.start(20);
    CModalWatcher watcher;
    m_pWindow->OnFileStartServerAction();
    QCOMPARE(watcher.MessageTexts(), QStringList { "Ondrix Server was successfully started on this computer!" });
    QFile written(arguments);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(written.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        CServerSharing(CServerSharing::NetworkReadOnly).Arguments());
    QCOMPARE(CClientSession::Device()->GetUrl(), QStringLiteral("localhost"));
    QCOMPARE(m_pFake->Users(), 0);
    QCOMPARE(ConnectionText(), QStringLiteral("Server: localhost · shared: local network, encrypted, read-only"));
}

void TestServerStart::serverNeverListeningFailsInTime()
{
    SKIP_WHEN_THE_PORT_IS_TAKEN();
    Script();
    CModalWatcher watcher;
    QElapsedTimer clock;
    clock.start();
    m_pWindow->OnFileStartServerAction();
    QVERIFY2(clock.elapsed() < CServerStarter::CONNECT_WINDOW_MS + 2000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_pWindow->statusBar()->currentMessage(), QStringLiteral("Failed to connect: Network error!"));
    QCOMPARE(m_pWindow->GetState(), CMainWindow::StateOffline);
    // The detector was given to the server, which may still come up.
    QCOMPARE(m_pFake->Users(), 0);
}

QTEST_MAIN(TestServerStart)
#include "tst_ServerStart.moc"
