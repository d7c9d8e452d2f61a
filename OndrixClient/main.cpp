#include "CClientProgram.h"
#include "CMainWindow.h"
#include "CScreenshotTaker.h"

#include <QApplication>
#include <QCommandLineParser>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);

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
    parser.process(application);

    CClientProgram program;
    if (!program.Start(parser.value(server)))
        return 1;
    std::unique_ptr<CScreenshotTaker> taker;
    if (parser.isSet(screenshot))
        taker = std::make_unique<CScreenshotTaker>(program.GetMainWindow(), parser.value(screenshot));
    return application.exec();
}
