#include "app/CClientProgram.h"
#include "app/CScreenshotTaker.h"
#include "mainwindow/CMainWindow.h"
#include "replay/CReplayController.h"

#include <QApplication>
#include <QCommandLineParser>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ONDRIX_APP_ID));

    // Parsed before the language is known: the option texts stay English.
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
        QStringLiteral("Save a PNG of the main window once live records are drawn, then quit."),
        QStringLiteral("file"));
    parser.addOption(screenshot);
    const QCommandLineOption server(QStringLiteral("server"),
        QStringLiteral("Use the device of the Ondrix Server at this address instead of the local device."),
        QStringLiteral("address"));
    parser.addOption(server);
    const QCommandLineOption replay(QStringLiteral("replay"),
        QStringLiteral("Replay this recording or realtime data file once the window is up."), QStringLiteral("file"));
    parser.addOption(replay);
    parser.process(application);

    CClientProgram program;
    if (!program.Start(parser.value(server)))
        return 1;
    if (parser.isSet(replay))
        program.GetMainWindow()->findChild<CReplayController*>()->Start(parser.value(replay));
    std::unique_ptr<CScreenshotTaker> taker;
    if (parser.isSet(screenshot))
        taker = std::make_unique<CScreenshotTaker>(program.GetMainWindow(), parser.value(screenshot));
    return application.exec();
}
