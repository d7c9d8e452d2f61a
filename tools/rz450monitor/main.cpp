#include "CConsoleMonitor.h"

#include "IDevice.h"
#include "IPlugHub.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <csignal>

namespace {

// Driver plug-ins are found the way the client finds them: through the
// loader, in the program's own folder. Objects beyond the first are not used.
IDevice* LoadFirstDriver()
{
    IPlugHub* hub = nullptr;
    if (!QueryPlugHubInterface(&hub) || !hub)
        return nullptr;
    hub->Init();
    QList<IDevice*> devices;
    hub->LoadDevices(devices);
    delete hub;
    IDevice* first = nullptr;
    for (IDevice* device : std::as_const(devices)) {
        if (!first)
            first = device;
        else
            delete device;
    }
    return first;
}

volatile std::sig_atomic_t g_nStopRequested = 0;

void OnSignal(int)
{
    g_nStopRequested = 1;
}

bool ParseKeyPress(const QString& text, QPair<int, int>& press)
{
    const QStringList parts = text.split(QLatin1Char('@'));
    bool okKey = false, okSecond = false;
    if (parts.size() != 2)
        return false;
    press.second = parts[0].toInt(&okKey);
    press.first = parts[1].toInt(&okSecond);
    return okKey && okSecond && press.second >= 0 && press.second <= 15 && press.first > 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rz450monitor"));
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Watches an RZ450 detector through the driver plug-in beside this program and prints its\n"
                       "state once a second. The detector is found on a serial adapter (RZ450_PORT names the port\n"
                       "explicitly) or on its FTDI chip. Typed commands: key K, download, quit."));
    parser.addHelpOption();
    parser.addOption({ QStringLiteral("seconds"), QStringLiteral("Stop after N seconds (0: until Ctrl-C)."),
        QStringLiteral("N"), QStringLiteral("0") });
    parser.addOption(
        { QStringLiteral("key"), QStringLiteral("Press key K at second S (repeatable)."), QStringLiteral("K@S") });
    parser.addOption({ QStringLiteral("download"), QStringLiteral("Download and print the event log once online.") });
    parser.process(app);

    CConsoleMonitor::OPTIONS options;
    bool ok = false;
    options.seconds = parser.value(QStringLiteral("seconds")).toInt(&ok);
    if (!ok || options.seconds < 0) {
        err << "--seconds takes a whole number of seconds." << Qt::endl;
        return 2;
    }
    for (const QString& text : parser.values(QStringLiteral("key"))) {
        QPair<int, int> press;
        if (!ParseKeyPress(text, press)) {
            err << "--key takes K@S, for example 1@3." << Qt::endl;
            return 2;
        }
        options.keyPresses.append(press);
    }
    options.download = parser.isSet(QStringLiteral("download"));

    IDevice* device = LoadFirstDriver();
    if (!device) {
        err << "No device driver plug-in was found beside " << QCoreApplication::applicationFilePath() << Qt::endl;
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    // Quitting from inside a signal handler is not safe; look at the flag
    // from the event loop instead.
    QTimer stopCheck;
    QObject::connect(&stopCheck, &QTimer::timeout, &app, [] {
        if (g_nStopRequested)
            QCoreApplication::quit();
    });
    stopCheck.start(100);

    CConsoleMonitor monitor(device, options);
    if (!monitor.Start()) {
        delete device;
        return 1;
    }
    const int result = app.exec();
    delete device;
    return result;
}
