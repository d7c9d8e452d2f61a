#include "server/CServerStarter.h"

#include "app/CGuardedCall.h"
#include "connect/CStartupWindow.h"
#include "proxy/CMetaDevice.h"
#include "server/CShareDialog.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

#if defined(Q_OS_WIN)
const char* const SERVER_PROGRAM = "OndrixServer.exe";
#else
const char* const SERVER_PROGRAM = "OndrixServer";
#endif

const char* const PROGRAM_VARIABLE = "ONDRIX_SERVER_PROGRAM";
const char* const LOCAL_SERVER = "localhost";

// The window repaints meanwhile; the user cannot start anything else.
void Pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool ServerAnswers()
{
    CMetaDevice probe { QLatin1String(LOCAL_SERVER) };
    return probe.Initialize();
}

} // namespace

CServerStarter::CServerStarter(QWidget* window)
    : QObject(window)
    , m_pWindow(window)
{
}

CServerStarter::~CServerStarter() = default;

CStartupWindow* CServerStarter::Connection() const
{
    return m_pConnection.get();
}

CServerSharing CServerStarter::GetSharing() const
{
    return m_sharing;
}

QString CServerStarter::ProgramPath()
{
    QString chosen = qEnvironmentVariable(PROGRAM_VARIABLE);
    if (!chosen.isEmpty())
        return chosen;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(SERVER_PROGRAM);
}

CServerStarter::Result CServerStarter::Start(CMetaDevice* current, QString& error)
{
    const QString title = QCoreApplication::applicationName();
    if (ServerAnswers()) {
        QMessageBox::information(m_pWindow, title, tr("Ondrix Server is already running on this computer!"));
        return Unchanged;
    }
    if (!AskSharing())
        return Unchanged;
    // The detector serves one driver at a time: the server's.
    CGuardedCall::Uninitialize(current);
    if (!Launch()) {
        QMessageBox::critical(m_pWindow, title, tr("Failed to run Ondrix Server! OndrixServer.exe file is missing!"));
        if (current)
            CGuardedCall::Run([current] { current->Initialize(); });
        return Unchanged;
    }
    QMessageBox::information(m_pWindow, title, tr("Ondrix Server was successfully started on this computer!"));
    return Connect(error);
}

bool CServerStarter::Launch()
{
    const QString folder = QCoreApplication::applicationDirPath();
    if (m_sharing.KeepsSharing())
        return QProcess::startDetached(ProgramPath(), m_sharing.Arguments(), folder);
    // Stops with the client: asked to end as the client quits, so that it
    // lets go of the detector cleanly; killed only if it does not.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setWorkingDirectory(folder);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A client that is killed, or ends on a signal, never quits properly:
    // the kernel then tells the server instead.
#ifdef Q_OS_LINUX
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    process->start(ProgramPath(), m_sharing.Arguments());
    if (!process->waitForStarted(START_MS)) {
        delete process;
        return false;
    }
    connect(qApp, &QCoreApplication::aboutToQuit, process, [process] {
        process->terminate();
        process->waitForFinished(STOP_MS);
    });
    return true;
}

bool CServerStarter::AskSharing()
{
    CShareDialog dialog(CServerSharing::Load(), m_pWindow);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_sharing = dialog.GetSharing();
    m_sharing.Save();
    return true;
}

CServerStarter::Result CServerStarter::Connect(QString& error)
{
    m_pConnection = std::make_unique<CStartupWindow>();
    CStartupWindow& window = *m_pConnection;
    if (!window.HasDeviceGuis())
        return Unchanged;
    const QDeadlineTimer deadline(CONNECT_WINDOW_MS);
    for (;;) {
        bool connected = false;
        // Refused while the new server is still starting: that throws. A
        // server that answers but offers nothing has said so to the user.
        if (CGuardedCall::Run([&] { connected = window.ConnectDevice(false, QLatin1String(LOCAL_SERVER)); }, &error))
            return connected ? Connected : Unchanged;
        if (deadline.hasExpired())
            return Failed;
        Pause(CONNECT_PAUSE_MS);
    }
}
