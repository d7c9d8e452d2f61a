// The loader against a folder laid out like an installed program: the real
// driver plug-in, a text file whose name looks like a driver, and GUI
// plug-ins that answer, answer with nothing, refuse, or have no entry point.
#include "CPlugHub.h"
#include "IDevice.h"
#include "IDeviceGui.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString PluginName(const char* stem)
{
    return QLatin1String(stem) + QLatin1String(ONDRIX_PLUGIN_SUFFIX);
}

bool CopyAs(const char* source, const QString& folder, const char* stem)
{
    return QFile::copy(QString::fromLocal8Bit(source), folder + QLatin1Char('/') + PluginName(stem));
}

template <typename Object>
void DeleteAll(QList<Object*>& objects)
{
    qDeleteAll(objects);
    objects.clear();
}

} // namespace

class TestPlugHub : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void entryPoint();
    void eachPatternFillsItsOwnList();
    void loadingTwiceGivesIndependentObjects();
    void noMatchReturnsFalseAndLeavesTheListAlone();
    void defaultFolderIsTheProgramFolder();

private:
    QTemporaryDir m_full;
    QTemporaryDir m_guisOnly;
};

void TestPlugHub::initTestCase()
{
    const QString full = m_full.path();
    QVERIFY(CopyAs(ONDRIX_DRIVER_PLUGIN, full, "ModuleRZ450"));
    QFile text(full + QLatin1Char('/') + PluginName("ModuleNotes"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a library\n");
    text.close();
    for (const QString& folder : { full, m_guisOnly.path() }) {
        QVERIFY(CopyAs(ONDRIX_TEST_GUI, folder, "GuiModuleAlpha"));
        QVERIFY(CopyAs(ONDRIX_TEST_GUI_NO_ENTRY, folder, "GuiModuleBeta"));
        QVERIFY(CopyAs(ONDRIX_TEST_GUI_NULL, folder, "GuiModuleGamma"));
        QVERIFY(CopyAs(ONDRIX_TEST_GUI_REFUSES, folder, "GuiModuleDelta"));
    }
}

void TestPlugHub::entryPoint()
{
    QVERIFY(!QueryPlugHubInterface(nullptr));
    IPlugHub* hub = nullptr;
    QVERIFY(QueryPlugHubInterface(&hub));
    QVERIFY(hub);
    hub->Init();
    delete hub;
}

void TestPlugHub::eachPatternFillsItsOwnList()
{
    CPlugHub hub(m_full.path());
    QList<IDevice*> devices { nullptr }; // what the caller had stays first
    QVERIFY(hub.LoadDevices(devices));
    QCOMPARE(devices.size(), 2);
    QVERIFY(devices[1]);
    QCOMPARE(devices[1]->GetDevID(), QStringLiteral("RZ450"));

    QList<IDeviceGui*> guis;
    QVERIFY(hub.LoadDeviceGuis(guis));
    QCOMPARE(guis.size(), 2); // alpha, then gamma's null; beta and delta yield nothing
    QVERIFY(guis[0] && !guis[1]);
    // The library stays loaded after the loader is done with it.
    QCOMPARE(guis[0]->GetDeviceType(), QStringLiteral("TestGui"));
    DeleteAll(devices);
    DeleteAll(guis);
}

void TestPlugHub::loadingTwiceGivesIndependentObjects()
{
    CPlugHub hub(m_full.path());
    QList<IDevice*> devices;
    QList<IDeviceGui*> guis;
    QVERIFY(hub.LoadDevices(devices) && hub.LoadDevices(devices));
    QVERIFY(hub.LoadDeviceGuis(guis) && hub.LoadDeviceGuis(guis));
    QCOMPARE(devices.size(), 2);
    QVERIFY(devices[0] && devices[1] && devices[0] != devices[1]);
    QCOMPARE(guis.size(), 4);
    QVERIFY(guis[0] && guis[2] && guis[0] != guis[2]);
    DeleteAll(devices);
    DeleteAll(guis);
}

void TestPlugHub::noMatchReturnsFalseAndLeavesTheListAlone()
{
    QTemporaryDir empty;
    QList<IDevice*> devices { nullptr };
    QList<IDeviceGui*> guis { nullptr };
    QVERIFY(!CPlugHub(empty.path()).LoadDevices(devices));
    QVERIFY(!CPlugHub(empty.path()).LoadDeviceGuis(guis));
    // "GuiModule..." files are no match for the driver pattern.
    QVERIFY(!CPlugHub(m_guisOnly.path()).LoadDevices(devices));
    QCOMPARE(devices.size(), 1);
    QCOMPARE(guis.size(), 1);
}

void TestPlugHub::defaultFolderIsTheProgramFolder()
{
    QCOMPARE(CPlugHub().GetFolder(), QCoreApplication::applicationDirPath());
    QCOMPARE(CPlugHub(m_full.path()).GetFolder(), m_full.path());
}

QTEST_GUILESS_MAIN(TestPlugHub)
#include "tst_PlugHub.moc"
