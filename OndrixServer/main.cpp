#include "CServerCore.h"
#include "CServerOptions.h"
#include "CSignalWatcher.h"
#include "ServerLog.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void Print(std::FILE* stream, const QString& text)
{
    QByteArray bytes = text.toLocal8Bit();
    if (!bytes.endsWith('\n'))
        bytes.append('\n');
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char* argv[])
{
    // The plain event dispatcher costs less per request than the GLib one,
    // and the server does little else than answer requests.
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QLatin1String(CServerOptions::PROGRAM_NAME));
    QCoreApplication::setApplicationVersion(QLatin1String(ONDRIX_VERSION));

    SERVER_SETTINGS settings;
    QString message;
    int exitCode = 0;
    if (!CServerOptions::Parse(QCoreApplication::arguments(), settings, message, exitCode)) {
        Print(exitCode == 0 ? stdout : stderr, message);
        return exitCode;
    }

    CServerCore core(settings);
    // Before Start, so that a signal during it is served once the loop runs.
    CSignalWatcher watcher;
    QObject::connect(&watcher, &CSignalWatcher::terminationRequested, &application, [&core](int signalNumber) {
        ServerLog::Line(QCoreApplication::translate("main", "shutting down on signal %1").arg(signalNumber));
        core.Stop();
        QCoreApplication::quit();
    });
    QString error;
    if (!core.Start(error)) {
        ServerLog::Line(error);
        return 1;
    }
    return application.exec();
}
