#include "app/CServerCore.h"
#include "app/CServerOptions.h"
#include "app/CSignalWatcher.h"
#include "app/ServerLog.h"
#include "security/CServerIdentity.h"

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

// --fingerprint, --show-keys and --new-keys: what an administrator hands
// to the people who connect. -1 when none was asked for.
int IdentityCommand(const SERVER_SETTINGS& settings)
{
    if (!settings.printFingerprint && !settings.printKeys && !settings.newKeys)
        return -1;
    CServerIdentity identity;
    QString error;
    const QString folder = settings.stateDir.isEmpty() ? CServerIdentity::DefaultFolder() : settings.stateDir;
    if (!identity.Load(folder, error) || (settings.newKeys && !identity.NewKeys(error))) {
        Print(stderr, error);
        return 1;
    }
    if (settings.printFingerprint)
        Print(stdout, identity.Fingerprint());
    if (settings.printKeys || settings.newKeys)
        Print(stdout,
            QStringLiteral("%1 %2\n%3 %4")
                .arg(QLatin1String(CServerIdentity::VIEW_WORD), QString::fromLatin1(identity.ViewKey()),
                    QLatin1String(CServerIdentity::CONTROL_WORD), QString::fromLatin1(identity.ControlKey())));
    return 0;
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

    const int commandExit = IdentityCommand(settings);
    if (commandExit >= 0)
        return commandExit;

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
