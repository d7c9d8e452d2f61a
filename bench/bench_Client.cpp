// Usage: bench_Client [idle seconds]
// Client benchmarks, with the simulated detector in a separate process so
// that this process's CPU time is the client's own:
//  - start-up: plug-ins loaded, the device connected, the main window built
//    and drawn (goal <= 1 s)
//  - one poll tick that hands 200 new records to the diagram (goal <= 5 ms)
//  - CPU of the running client while idle, the detector online at line rate
//    in manual mode, in automatic mode and on the scan band
//    (reported as a share of one core)
//
// Built a second time as a device GUI plug-in (BENCH_GUI_PLUGIN): a GUI that
// draws the records the way the RZ450 GUI does in manual mode (level and
// threshold lines), used when the real one is not built.
#include "CBenchStats.h"
#include "CProcessUsage.h"
#include "CRecord.h"
#include "IDevice.h"
#include "IDeviceGui.h"
#include "diagram/CQDiagramWidget.h"

#include <new>

namespace {

class CBenchDeviceGui : public IDeviceGui
{
public:
    bool SetDevice(IDevice* device) override
    {
        m_pDevice = device;
        return true;
    }
    QString GetDeviceType() override { return QStringLiteral("RZ450"); }
    IVirtualDevice* GetVirtualDevice() override { return nullptr; }
    void Start() override { }
    void Stop() override { }
    void SetSpecificControls(ISpecificControls*) override { }
    void InitRealtimeDiagram(CQDiagramWidget* diagram, bool, int) override
    {
        diagram->Clear(false);
        diagram->SetSingleDiagramArea();
        diagram->AddLine(0, QStringLiteral("Level"), QPen(Qt::blue), 0, true);
        diagram->AddLine(0, QStringLiteral("Threshold"), QPen(Qt::red), 0, true);
        diagram->SetDiagramType(0, DIAGRAM_TIME_LINES);
        diagram->SetMaxYRange(-100.0, 0.0, 1.0);
        diagram->SetAxisYWidth(30);
    }
    void AddRealtimeRecord(CQDiagramWidget* diagram, const CRecord& record, int) override
    {
        if (record.values.isEmpty())
            return;
        const QVariant time = QVariant::fromValue<quint64>(record.time);
        diagram->AddValue(0, 0, time, record.values.first().level, 1);
        diagram->AddValue(0, 1, time, record.values.first().threshold, 1);
    }
    void InitLogList(QTreeWidget*) override { }
    void FillLogList(QTreeWidget*, const QList<CRecord>&) override { }
    void SetLanguage(const QString&) override { }
    void ShowManual(const QString&, QTextBrowser*) override { }

private:
    IDevice* m_pDevice = nullptr;
};

} // namespace

#if defined(BENCH_GUI_PLUGIN)

extern "C" Q_DECL_EXPORT bool QueryInterface(IDeviceGui** out)
{
    if (!out)
        return false;
    *out = new (std::nothrow) CBenchDeviceGui;
    return true;
}

#else

#include "CFakeDeviceBase.h"
#include "CSimulatorProcess.h"
#include "app/CClientProgram.h"
#include "app/CClientSession.h"
#include "mainwindow/CMainWindow.h"
#include "proxy/CMetaDevice.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const int STARTS = 5;
const int TICKS = 200;
const int RECORDS_PER_TICK = 200;

// Runs the event loop as the program does: sleeping between events.
void Pump(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QtMessageHandler g_defaultHandler = nullptr;

void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // The offscreen platform says so for every dialog and window.
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    g_defaultHandler(type, context, message);
}

// The program's folder as the client sees it: the driver plug-in, and the
// RZ450 GUI plug-in when it is built, else the benchmark's own.
bool PreparePlugins(const QString& folder)
{
    const QString bin = QCoreApplication::applicationDirPath();
    const QString suffix = QStringLiteral(ONDRIX_PLUGIN_SUFFIX);
    const QString realGui = bin + QStringLiteral("/GuiModuleRZ450") + suffix;
    const QString gui = QFile::exists(realGui) ? realGui : QStringLiteral(BENCH_GUI_PLUGIN_FILE);
    std::printf("device GUI plug-in: %s\n", qPrintable(QFileInfo(gui).fileName()));
    return QFile::copy(bin + QStringLiteral("/ModuleRZ450") + suffix, folder + QStringLiteral("/ModuleRZ450") + suffix)
        && QFile::copy(gui, folder + QStringLiteral("/GuiModuleBench") + suffix);
}

bool WaitExposed(QWidget* window)
{
    QElapsedTimer timer;
    timer.start();
    while (!(window->windowHandle() && window->windowHandle()->isExposed()) && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    window->repaint();
    return window->windowHandle() && window->windowHandle()->isExposed();
}

void MeasureStartup()
{
    std::printf("\n== start-up to the main window shown (goal <= 1000 ms)\n");
    QTemporaryDir folder;
    CSimulatorProcess simulator({ QStringLiteral("--paced") });
    if (!simulator.Ready() || !PreparePlugins(folder.path())) {
        std::printf("simulator or plug-ins not available\n");
        return;
    }
    CClientSession::SetPluginFolder(folder.path());
    std::vector<double> shown;
    std::vector<double> online;
    for (int run = 0; run < STARTS; ++run) {
        QElapsedTimer timer;
        timer.start();
        CClientProgram program;
        if (!program.Start()) {
            std::printf("the client did not start\n");
            return;
        }
        CMainWindow* window = program.GetMainWindow();
        WaitExposed(window);
        shown.push_back(timer.nsecsElapsed() / 1e6);
        while (window->GetState() != CMainWindow::StateOnline && timer.elapsed() < 10000)
            Pump(5);
        online.push_back(timer.nsecsElapsed() / 1e6);
        window->close();
        std::printf("run %d: shown after %.1f ms, online after %.1f ms\n", run + 1, shown.back(), online.back());
    }
    std::printf("first (plug-ins loaded from disk): %.1f ms; median of all: %.1f ms; online median %.1f ms\n",
        shown.front(), CBenchStats::Median(shown), CBenchStats::Median(online));
}

// A device whose count grows by exactly what the benchmark adds.
class CGrowingDevice : public CFakeDeviceBase
{
public:
    void Grow(int count) { m_nCount += count; }

    void Clear() override { m_nCount = 0; }
    int GetCurrentRecordIndex() override { return m_nCount; }
    CRecord GetRecord(int index) override
    {
        // A record each 3.3 ms, a second apart every 300: live rate.
        CRecord record;
        record.band = 1;
        record.bandName = QStringLiteral("GSM 900");
        record.time = m_nStart + quint64(index / 300);
        record.values.append({ -70.0 + (index * 7) % 30, -50.0, 0, 0 });
        return record;
    }

private:
    int m_nCount = 0;
    quint64 m_nStart = quint64(QDateTime::currentSecsSinceEpoch());
};

void MeasureTick()
{
    std::printf("\n== one poll tick handing %d new records to the diagram (goal <= 5 ms)\n", RECORDS_PER_TICK);
    CGrowingDevice driver;
    CBenchDeviceGui gui;
    auto* device = new CMetaDevice(&driver);
    CClientSession::SetCurrent(device, &gui);
    {
        CMainWindow window;
        window.findChild<QTimer*>(QStringLiteral("m_timer"))->stop();
        window.resize(1000, 700);
        window.show();
        WaitExposed(&window);
        std::vector<double> ticks;
        std::vector<double> paints;
        for (int i = 0; i < TICKS; ++i) {
            driver.Grow(RECORDS_PER_TICK);
            QElapsedTimer timer;
            timer.start();
            window.OnTimer();
            ticks.push_back(timer.nsecsElapsed() / 1e6);
            timer.restart();
            window.repaint();
            paints.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("tick: median %.3f ms, 95th percentile %.3f ms, max %.3f ms (%d ticks, %lld records handed over)\n",
            CBenchStats::Median(ticks), CBenchStats::Percentile(ticks, 0.95),
            *std::max_element(ticks.begin(), ticks.end()), TICKS, window.GetFedRecordCount());
        std::printf("repaint of the window after it: median %.3f ms\n", CBenchStats::Median(paints));
    }
    CClientSession::Release();
}

void MeasureIdle(int seconds, const QString& mode, const QStringList& simulatorArgs)
{
    std::printf("\n== client CPU while idle, the detector online at line rate, %s (%d s)\n", qPrintable(mode), seconds);
    QTemporaryDir folder;
    CSimulatorProcess simulator(QStringList({ QStringLiteral("--paced") }) + simulatorArgs);
    if (!simulator.Ready() || !PreparePlugins(folder.path())) {
        std::printf("simulator or plug-ins not available\n");
        return;
    }
    CClientSession::SetPluginFolder(folder.path());
    CClientProgram program;
    if (!program.Start()) {
        std::printf("the client did not start\n");
        return;
    }
    CMainWindow* window = program.GetMainWindow();
    Pump(1500);
    if (window->GetState() != CMainWindow::StateOnline) {
        std::printf("the detector did not come online\n");
        return;
    }
    const qint64 fedBefore = window->GetFedRecordCount();
    const double processBefore = CProcessUsage::CpuSeconds();
    const double guiBefore = CProcessUsage::ThreadCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    Pump(seconds * 1000);
    const double wall = timer.nsecsElapsed() / 1e9;
    const double process = CProcessUsage::CpuSeconds() - processBefore;
    const double gui = CProcessUsage::ThreadCpuSeconds() - guiBefore;
    const double rate = double(window->GetFedRecordCount() - fedBefore) / wall;
    std::printf("records fed: %.0f/s\n", rate);
    std::printf("GUI thread (poll, diagram, painting): %.1f%% of one core\n", 100.0 * gui / wall);
    std::printf("whole client (GUI thread and the driver's worker): %.1f%% of one core\n", 100.0 * process / wall);
    window->close();
}

} // namespace

int main(int argc, char* argv[])
{
    // Without a display the window is drawn offscreen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    g_defaultHandler = qInstallMessageHandler(QuietOffscreen);
    // Never the user's own settings.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    const int idleSeconds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    MeasureStartup();
    MeasureTick();
    // The scan band also has its spectrum read, shown and recorded.
    MeasureIdle(idleSeconds, QStringLiteral("manual mode"), {});
    MeasureIdle(idleSeconds, QStringLiteral("automatic mode"), { QStringLiteral("--mode"), QStringLiteral("auto") });
    MeasureIdle(idleSeconds, QStringLiteral("the scan band"),
        { QStringLiteral("--mode"), QStringLiteral("manual"), QStringLiteral("--band"), QStringLiteral("18") });
    return 0;
}

#endif
