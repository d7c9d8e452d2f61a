// Makes the README's screenshots from the real client: its windows and
// plug-ins as installed beside this program, the simulated detector served
// on a pseudo-terminal inside this process so that the pictures can be
// steered, and settings and storage in a temporary folder so that nobody's
// own are read or touched. tools/screenshots.sh builds and runs it.

#include "CModalAnswerer.h"
#include "CPtyServer.h"
#include "CRZ450Simulator.h"
#include "CShotSequence.h"
#include "app/CClientProgram.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

const QRect WINDOW_GEOMETRY(0, 0, 1280, 800);
const char* const LANGUAGE = "en_US";

void Prepare(const QTemporaryDir& home)
{
    // The default storage folder follows the data location.
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("config")));
    // The program reads the language in its start-up scope, the window in
    // its own.
    QSettings(QStringLiteral("KV"), QStringLiteral("Ondrix Client"))
        .setValue(QStringLiteral("General/Language"), LANGUAGE);
    QSettings window(QStringLiteral("Korvent"), QStringLiteral("RZ450 Ondrix"));
    window.setValue(QStringLiteral("General/Language"), LANGUAGE);
    window.setValue(QStringLiteral("Window/Geometry"), WINDOW_GEOMETRY);
}

int Fail(const QString& text)
{
    std::fprintf(stderr, "ondrixshots: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Saves the README screenshots of the client, live with a simulated detector."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Where the PNG files go."));
    parser.process(application);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QDir folder(parser.positionalArguments().first());
    if (!QDir().mkpath(folder.path()))
        return Fail(QStringLiteral("cannot make the folder %1").arg(folder.path()));

    QTemporaryDir home;
    if (!home.isValid())
        return Fail(QStringLiteral("no temporary folder"));
    Prepare(home);
    CRZ450Simulator simulator;
    simulator.SetMode(CRZ450Simulator::MODE_AUTO);
    CPtyServer server(&simulator);
    server.SetPaced(true);
    if (!server.Start(home.filePath(QStringLiteral("ttyRZ450"))))
        return Fail(QStringLiteral("the simulated detector did not start: %1").arg(server.ErrorString()));
    qputenv("RZ450_PORT", server.Path().toLocal8Bit());

    // The client goes first and the detector after it, as a user unplugs it.
    int result = 1;
    {
        CClientProgram program;
        if (!program.Start())
            return Fail(QStringLiteral("the client did not start (no device GUI plug-in beside this program?)"));
        CModalAnswerer answerer;
        CShotSequence shots(&simulator, program.GetMainWindow(), &answerer, folder);
        QTimer::singleShot(0, &application, [&] {
            result = shots.Run() ? 0 : Fail(shots.Error());
            QCoreApplication::exit(result);
        });
        application.exec();
    }
    server.Stop();
    return result;
}
