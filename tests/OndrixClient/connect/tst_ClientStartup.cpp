// The client's start and its connection choice, with plug-ins loaded from
// folders laid out like an installed program: fake drivers, recording GUIs
// and loopback servers stand in for the detector and the network.
#include "CLoopbackServer.h"
#include "CModalWatcher.h"
#include "IDeviceGui.h"
#include "app/CClientProgram.h"
#include "app/CClientResources.h"
#include "app/CClientSession.h"
#include "connect/CStartupWindow.h"
#include "mainwindow/CMainWindow.h"
#include "proxy/CMetaDevice.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <stdexcept>

namespace {

bool CopyAs(const char* source, const QString& folder, const char* stem)
{
    return QFile::copy(QString::fromLocal8Bit(source),
        folder + QLatin1Char('/') + QLatin1String(stem) + QLatin1String(ONDRIX_PLUGIN_SUFFIX));
}

QStringList CallsOf(QObject* gui)
{
    return gui ? gui->property("calls").toStringList() : QStringList();
}

void UseFirstScope()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KV"));
    QCoreApplication::setApplicationName(QStringLiteral("Ondrix Client"));
}

QString LoopbackAddress()
{
    return QHostAddress(CLoopbackServer::RandomLoopbackBlock() + 1).toString();
}

} // namespace

class TestClientStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void oneLocalDeviceStartsWithoutAsking();
    void styleSheetAndIconResolve();
    void twoLocalDevicesAskAndPairByPosition();
    void cancelledChooserConnectsNothing();
    void noGuiPluginEndsWithTheMessage();
    void noDriverPluginOpensOfflineWithTheNetworkChoice();
    void serverOptionUsesThatServer_data();
    void serverOptionUsesThatServer();

    void serverWithoutDevices();
    void serverWithOneDeviceNeedsNoChooser();
    void serverWithTwoDevicesAsks();
    void serverWithAnUnsupportedDevice();
    void refusedConnectionIsANetworkError();
    void badServerFailsWithAMessageInTime_data();
    void badServerFailsWithAMessageInTime();

    void urlHistoryPutsTheUsedAddressFirst();
    void emptyHistoryOffersLocalhost();

private:
    std::unique_ptr<CStartupWindow> NetworkWindow();
    QComboBox* Urls(CStartupWindow& window);
    void PressOk(CStartupWindow& window, const QString& url);

    QTemporaryDir m_oneLocal;
    QTemporaryDir m_twoLocal;
    QTemporaryDir m_noGui;
    QTemporaryDir m_guisOnly;
    std::unique_ptr<QTemporaryDir> m_pSettings;
};

void TestClientStartup::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(CopyAs(TEST_DEVICE_A, m_oneLocal.path(), "ModuleTestA"));
    QVERIFY(CopyAs(TEST_GUI_A, m_oneLocal.path(), "GuiModuleTestA"));
    QVERIFY(CopyAs(TEST_DEVICE_A, m_twoLocal.path(), "ModuleTestA"));
    QVERIFY(CopyAs(TEST_DEVICE_B, m_twoLocal.path(), "ModuleTestB"));
    QVERIFY(CopyAs(TEST_GUI_A, m_twoLocal.path(), "GuiModuleTestA"));
    QVERIFY(CopyAs(TEST_GUI_B, m_twoLocal.path(), "GuiModuleTestB"));
    QVERIFY(CopyAs(TEST_DEVICE_A, m_noGui.path(), "ModuleTestA"));
    QVERIFY(CopyAs(TEST_GUI_A, m_guisOnly.path(), "GuiModuleTestA"));
    QVERIFY(CopyAs(TEST_GUI_B, m_guisOnly.path(), "GuiModuleTestB"));
}

void TestClientStartup::init()
{
    // Every test starts from empty settings.
    m_pSettings = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_pSettings->path());
    CClientSession::SetPluginFolder(m_guisOnly.path());
    CMetaDevice::SetTimeouts(1000, 1000);
}

void TestClientStartup::cleanup()
{
    CClientSession::Release();
    CMetaDevice::SetTimeouts(0, 0);
}

std::unique_ptr<CStartupWindow> TestClientStartup::NetworkWindow()
{
    CClientSession::SetPluginFolder(m_guisOnly.path());
    return std::make_unique<CStartupWindow>();
}

QComboBox* TestClientStartup::Urls(CStartupWindow& window)
{
    return window.findChild<QComboBox*>(QStringLiteral("m_pUrlsCombo"));
}

void TestClientStartup::PressOk(CStartupWindow& window, const QString& url)
{
    window.findChild<QRadioButton*>(QStringLiteral("m_pNetworkRadio"))->setChecked(true);
    Urls(window)->setEditText(url);
    window.findChild<QPushButton*>(QStringLiteral("m_pStartButton"))->click();
}

// ---------------------------------------------------------------------------
// Program start with local devices

void TestClientStartup::oneLocalDeviceStartsWithoutAsking()
{
    CClientSession::SetPluginFolder(m_oneLocal.path());
    CModalWatcher watcher;
    CClientProgram program;
    QVERIFY(program.Start());
    QVERIFY(watcher.ChooserLists().isEmpty());
    QVERIFY(watcher.Messages().isEmpty());

    CMetaDevice* device = CClientSession::Device();
    QVERIFY(device && device->GetLocalDevice());
    QCOMPARE(device->GetLocalDevice()->GetDevID(), QStringLiteral("DeviceA"));
    const QStringList calls = CallsOf(CClientSession::DeviceGui());
    QVERIFY(calls.contains(QStringLiteral("SetDevice:DeviceA")));
    QVERIFY(calls.contains(QStringLiteral("SetSpecificControls")));
    QVERIFY(calls.contains(QStringLiteral("InitLogList")));

    CMainWindow* window = program.GetMainWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("RZ450 Ondrix Version 3.0.03"));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Korvent"));
    QTRY_COMPARE(window->GetState(), CMainWindow::StateOnline);
}

void TestClientStartup::styleSheetAndIconResolve()
{
    const QString sheet = CClientResources::StyleSheet();
    QVERIFY(sheet.size() > 4000);
    QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
    QStringList images;
    for (const QRegularExpressionMatch& match : url.globalMatch(sheet))
        images.append(match.captured(1));
    images.removeDuplicates();
    // Every image the sheet names is compiled in, in the images folder.
    QCOMPARE(images.size(), 13);
    for (const QString& image : images) {
        QVERIFY2(image.startsWith(QLatin1String(":/images/")), qPrintable(image));
        QVERIFY2(!QImage(image).isNull(), qPrintable(image));
    }
    const QIcon icon(QStringLiteral(":/CMainWindow/OndrixClient.ico"));
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(48, 48)));
    for (const char* file : { ":/CMainWindow/Resources/file_log.ico", ":/CMainWindow/Resources/file_realtime.ico" })
        QVERIFY2(!QIcon(QLatin1String(file)).availableSizes().isEmpty(), file);
}

void TestClientStartup::twoLocalDevicesAskAndPairByPosition()
{
    CClientSession::SetPluginFolder(m_twoLocal.path());
    UseFirstScope();
    QSettings().setValue(QStringLiteral("CStartupWindow/LocalDevice"), 1);
    CModalWatcher watcher;
    watcher.SetChooserRow(1);
    CClientProgram program;
    QVERIFY(program.Start());

    QCOMPARE(watcher.ChooserLists(), QList<QStringList>({ { QStringLiteral("DeviceA"), QStringLiteral("DeviceB") } }));
    QCOMPARE(watcher.ChooserRows(), QList<int>({ 1 }));
    QCOMPARE(CClientSession::Device()->GetLocalDevice()->GetDevID(), QStringLiteral("DeviceB"));
    IDeviceGui* gui = CClientSession::DeviceGui();
    QCOMPARE(gui->GetDeviceType(), QStringLiteral("DeviceB"));
    QVERIFY(CallsOf(gui).contains(QStringLiteral("SetDevice:DeviceB")));

    // The choice is kept in the scope of the start.
    UseFirstScope();
    QCOMPARE(QSettings().value(QStringLiteral("CStartupWindow/LocalDevice")).toInt(), 1);
}

void TestClientStartup::cancelledChooserConnectsNothing()
{
    CClientSession::SetPluginFolder(m_twoLocal.path());
    CModalWatcher watcher;
    watcher.SetChooserRow(-1);
    CStartupWindow window;
    QVERIFY(!window.ConnectDevice(true, QString()));
    QCOMPARE(watcher.ChooserLists().size(), 1);
    QVERIFY(!window.GetDevice());
    QVERIFY(!window.GetDeviceGui());
    QVERIFY(!QSettings().contains(QStringLiteral("CStartupWindow/LocalDevice")));
}

void TestClientStartup::noGuiPluginEndsWithTheMessage()
{
    CClientSession::SetPluginFolder(m_noGui.path());
    CModalWatcher watcher;
    CClientProgram program;
    QVERIFY(!program.Start());
    QCOMPARE(watcher.MessageTexts(),
        QStringList({ QStringLiteral("No one device GUI library was found! Cannot continue!") }));
    QCOMPARE(watcher.Messages().first().icon, int(QMessageBox::Critical));
    QVERIFY(!program.GetMainWindow());
}

void TestClientStartup::noDriverPluginOpensOfflineWithTheNetworkChoice()
{
    CClientSession::SetPluginFolder(m_guisOnly.path());
    UseFirstScope();
    QSettings().setValue(QStringLiteral("CStartupWindow/LocalRadio"), true);
    QSettings().setValue(QStringLiteral("CStartupWindow/NetworkRadio"), false);
    CModalWatcher watcher;
    CClientProgram program;
    QVERIFY(program.Start());
    CStartupWindow* startup = program.GetStartupWindow();
    QVERIFY(!startup->findChild<QRadioButton*>(QStringLiteral("m_pLocalRadio"))->isEnabled());
    QVERIFY(startup->findChild<QRadioButton*>(QStringLiteral("m_pNetworkRadio"))->isChecked());

    CMainWindow* window = program.GetMainWindow();
    QVERIFY(window);
    QTest::qWait(5 * CMainWindow::POLL_MS);
    QCOMPARE(window->GetState(), CMainWindow::StateOffline);
    QVERIFY(!CClientSession::Device()->GetLocalDevice());
    QVERIFY(watcher.Messages().isEmpty());
}

void TestClientStartup::serverOptionUsesThatServer_data()
{
    QTest::addColumn<bool>("listening");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("message");
    QTest::newRow("answers") << true << int(CMainWindow::StateOnline) << QString();
    QTest::newRow("nobody there") << false << int(CMainWindow::StateOffline) << "Failed to connect: Network error!";
}

void TestClientStartup::serverOptionUsesThatServer()
{
    QFETCH(bool, listening);
    QFETCH(int, state);
    QFETCH(QString, message);
    CClientSession::SetPluginFolder(m_oneLocal.path());
    CLoopbackServer server(LoopbackAddress(), CLoopbackServer::Normal, QStringLiteral("DeviceA"));
    QVERIFY(!listening || server.Listen());
    CModalWatcher watcher;
    CClientProgram program;
    QVERIFY(program.Start(server.Address()));
    QVERIFY(watcher.Messages().isEmpty());
    QCOMPARE(CClientSession::Device()->GetUrl(), server.Address());
    QVERIFY(!CClientSession::Device()->GetLocalDevice());
    CMainWindow* window = program.GetMainWindow();
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("m_pConnectionLabel"))->text(),
        QStringLiteral("Server: ") + server.Address());
    QTRY_COMPARE(int(window->GetState()), state);
    // A failure stays readable: the poll leaves an unreachable server alone.
    QTest::qWait(5 * CMainWindow::POLL_MS);
    if (!message.isEmpty())
        QCOMPARE(window->statusBar()->currentMessage(), message);
}

// ---------------------------------------------------------------------------
// The network branch

void TestClientStartup::serverWithoutDevices()
{
    CLoopbackServer server(LoopbackAddress(), CLoopbackServer::Normal, QString());
    QVERIFY(server.Listen());
    CModalWatcher watcher;
    auto window = NetworkWindow();
    QVERIFY(!window->ConnectDevice(false, server.Address()));
    QCOMPARE(watcher.MessageTexts(),
        QStringList(
            { QStringLiteral("No devices are connected to server ") + server.Address() + QStringLiteral("!") }));
    QVERIFY(!window->GetDevice());
}

void TestClientStartup::serverWithOneDeviceNeedsNoChooser()
{
    CLoopbackServer server(LoopbackAddress(), CLoopbackServer::Normal, QStringLiteral("DeviceB"));
    QVERIFY(server.Listen());
    CModalWatcher watcher;
    auto window = NetworkWindow();
    QVERIFY(window->ConnectDevice(false, server.Address()));
    QVERIFY(watcher.ChooserLists().isEmpty());
    QCOMPARE(window->GetDevice()->GetUrl(), server.Address());
    QVERIFY(!window->GetDevice()->GetLocalDevice());
    QCOMPARE(window->GetDeviceGui()->GetDeviceType(), QStringLiteral("DeviceB"));
    QVERIFY(CallsOf(window->GetDeviceGui()).contains(QStringLiteral("SetDevice:1")));
    QVERIFY(server.Requests().contains(QStringLiteral("SelectServerDevice:DeviceB")));
    QCOMPARE(QSettings().value(QStringLiteral("CStartupWindow/NetworkDevice")).toInt(), 0);
}

void TestClientStartup::serverWithTwoDevicesAsks()
{
    CLoopbackServer server(LoopbackAddress(), CLoopbackServer::Normal, QStringLiteral("DeviceA:DeviceB"));
    QVERIFY(server.Listen());
    QSettings().setValue(QStringLiteral("CStartupWindow/NetworkDevice"), 1);
    CModalWatcher watcher;
    watcher.SetChooserRow(1);
    auto window = NetworkWindow();
    QVERIFY(window->ConnectDevice(false, server.Address()));
    QCOMPARE(watcher.ChooserRows(), QList<int>({ 1 }));
    QCOMPARE(window->GetDeviceGui()->GetDeviceType(), QStringLiteral("DeviceB"));
    QVERIFY(server.Requests().contains(QStringLiteral("SelectServerDevice:DeviceB")));
}

void TestClientStartup::serverWithAnUnsupportedDevice()
{
    CLoopbackServer server(LoopbackAddress(), CLoopbackServer::Normal, QStringLiteral("OtherModel"));
    QVERIFY(server.Listen());
    CModalWatcher watcher;
    auto window = NetworkWindow();
    QVERIFY(!window->ConnectDevice(false, server.Address()));
    QCOMPARE(watcher.MessageTexts(), QStringList({ QStringLiteral("Unsupported device!") }));
    QVERIFY(!window->GetDevice());
    QVERIFY(!window->GetDeviceGui());
}

void TestClientStartup::refusedConnectionIsANetworkError()
{
    const QString nobody = LoopbackAddress();
    auto window = NetworkWindow();
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, window->ConnectDevice(false, nobody));

    // Through the OK button the user reads it, and the window stays.
    CModalWatcher watcher;
    PressOk(*window, nobody);
    QCOMPARE(watcher.MessageTexts(), QStringList({ QStringLiteral("Error occurred: Network error!") }));
    QCOMPARE(watcher.Messages().first().icon, int(QMessageBox::Critical));
    QCOMPARE(window->result(), int(QDialog::Rejected));
    QVERIFY(!QSettings().contains(QStringLiteral("CStartupWindow/URLs")));
}

void TestClientStartup::badServerFailsWithAMessageInTime_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<QString>("message");
    QTest::newRow("garbage") << int(CLoopbackServer::GarbageAnswer)
                             << QStringLiteral("Error occurred: Network transmission error!");
    QTest::newRow("closes") << int(CLoopbackServer::CloseOnRequest)
                            << QStringLiteral("Error occurred: Network timed out!");
    QTest::newRow("silent") << int(CLoopbackServer::NeverAnswer)
                            << QStringLiteral("Error occurred: Network timed out!");
    QTest::newRow("no greeting") << int(CLoopbackServer::NoGreeting)
                                 << QStringLiteral("Error occurred: Network error!");
}

void TestClientStartup::badServerFailsWithAMessageInTime()
{
    QFETCH(int, behaviour);
    QFETCH(QString, message);
    const int waitMs = 300;
    CMetaDevice::SetTimeouts(1000, waitMs);
    CLoopbackServer server(LoopbackAddress(), CLoopbackServer::Behaviour(behaviour), QStringLiteral("DeviceA"));
    QVERIFY(server.Listen());
    auto window = NetworkWindow();
    CModalWatcher watcher;
    QElapsedTimer clock;
    clock.start();
    PressOk(*window, server.Address());
    QCOMPARE(watcher.MessageTexts(), QStringList({ message }));
    // The request's wait, and the goodbye's wait of the dropped proxy.
    QVERIFY2(clock.elapsed() < 3 * waitMs + 500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!window->GetDevice());
    QCOMPARE(window->result(), int(QDialog::Rejected));
}

// ---------------------------------------------------------------------------
// Address history

void TestClientStartup::urlHistoryPutsTheUsedAddressFirst()
{
    QCOMPARE(CStartupWindow::MergeUrls(QStringLiteral("b"),
                 { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c") }),
        QStringList({ QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c") }));
    QCOMPARE(CStartupWindow::MergeUrls(QStringLiteral("new"), { QStringLiteral("a") }),
        QStringList({ QStringLiteral("new"), QStringLiteral("a") }));

    CLoopbackServer server(LoopbackAddress(), CLoopbackServer::Normal, QStringLiteral("DeviceA"));
    QVERIFY(server.Listen());
    const QStringList history { QStringLiteral("127.0.0.9"), server.Address(), QStringLiteral("other") };
    QSettings().setValue(QStringLiteral("CStartupWindow/URLs"), history);
    auto window = NetworkWindow();
    QCOMPARE(Urls(*window)->count(), 3);
    CModalWatcher watcher;
    PressOk(*window, server.Address());
    QVERIFY2(watcher.Messages().isEmpty(), qPrintable(watcher.MessageTexts().join(QLatin1Char('|'))));
    QCOMPARE(window->result(), int(QDialog::Accepted));

    QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("CStartupWindow/URLs")).toStringList(),
        QStringList({ server.Address(), QStringLiteral("127.0.0.9"), QStringLiteral("other") }));
    QCOMPARE(settings.value(QStringLiteral("CStartupWindow/LocalRadio")).toBool(), false);
    QCOMPARE(settings.value(QStringLiteral("CStartupWindow/NetworkRadio")).toBool(), true);
    // Every GUI is stopped before the connect; the chosen one is started.
    const QStringList calls = CallsOf(window->GetDeviceGui());
    QVERIFY(calls.indexOf(QStringLiteral("Stop")) < calls.indexOf(QStringLiteral("Start")));
    QCOMPARE(calls.last(), QStringLiteral("Start"));
}

void TestClientStartup::emptyHistoryOffersLocalhost()
{
    auto window = NetworkWindow();
    QCOMPARE(Urls(*window)->count(), 0);
    QCOMPARE(Urls(*window)->currentText(), QStringLiteral("localhost"));
    // Network is the default choice; local is offered only with a driver.
    QVERIFY(window->findChild<QRadioButton*>(QStringLiteral("m_pNetworkRadio"))->isChecked());
}

QTEST_MAIN(TestClientStartup)
#include "tst_ClientStartup.moc"
