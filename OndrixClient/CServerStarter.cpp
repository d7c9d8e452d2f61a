#include "CServerStarter.h"

#include "CClientSession.h"
#include "CGuardedCall.h"
#include "CMetaDevice.h"
#include "CStartupWindow.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>

namespace {

#if defined(Q_OS_WIN)
const char* const SERVER_PROGRAM = "OndrixServer.exe";
#else
const char* const SERVER_PROGRAM = "OndrixServer";
#endif

const char* const LOCAL_SERVER = "localhost";

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

QString CServerStarter::ProgramPath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(SERVER_PROGRAM);
}

CServerStarter::Result CServerStarter::Start(CMetaDevice* current, QString& error)
{
    const QString title = QCoreApplication::applicationName();
    auto* probe = new CMetaDevice(QLatin1String(LOCAL_SERVER));
    CClientSession::Keep(probe);
    if (probe->Initialize()) {
        QMessageBox::information(m_pWindow, title, tr("Ondrix Server is already running on this computer!"));
        return Unchanged;
    }
    // The detector serves one driver at a time: the server's.
    CGuardedCall::Uninitialize(current);
    if (!QProcess::startDetached(ProgramPath(), {}, QCoreApplication::applicationDirPath())) {
        QMessageBox::critical(m_pWindow, title, tr("Failed to run Ondrix Server! OndrixServer.exe file is missing!"));
        current->Initialize();
        return Unchanged;
    }
    QMessageBox::information(m_pWindow, title, tr("Ondrix Server was successfully started on this computer!"));
    m_pConnection = std::make_unique<CStartupWindow>();
    CStartupWindow& window = *m_pConnection;
    bool connected = false;
    // The new server may still be starting.
    const auto connect = [&] {
        connected = window.HasDeviceGuis() && window.ConnectDevice(false, QLatin1String(LOCAL_SERVER));
    };
    if (!CGuardedCall::Run(connect, &error))
        return Failed;
    return connected ? Connected : Unchanged;
}
