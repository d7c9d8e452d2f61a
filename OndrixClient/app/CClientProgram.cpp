#include "app/CClientProgram.h"
#include "app/ClientSettingsKeys.h"

#include "app/CClientResources.h"
#include "app/CClientSession.h"
#include "app/CGuardedCall.h"
#include "app/CTranslationSet.h"
#include "connect/CStartupWindow.h"
#include "mainwindow/CMainWindow.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QSettings>

CClientProgram::CClientProgram() = default;

CClientProgram::~CClientProgram()
{
    m_pMainWindow.reset();
    m_pStartupWindow.reset();
    CClientSession::Release();
}

bool CClientProgram::Start(const QString& server)
{
    CClientResources::Init();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/CMainWindow/OndrixClient.ico")));
    qApp->setStyleSheet(CClientResources::StyleSheet());
    // Fixed names: the scope must not move with the language.
    QCoreApplication::setOrganizationName(QStringLiteral("KV"));
    QCoreApplication::setApplicationName(QStringLiteral("Ondrix Client"));
    QCoreApplication::setApplicationVersion(QStringLiteral("Version 1.0.1"));
    CTranslationSet::Instance().SetLanguage(
        QSettings().value(QLatin1String(ClientSettingsKeys::LANGUAGE), QLocale::system().name()).toString());

    m_pStartupWindow = std::make_unique<CStartupWindow>();
    if (!m_pStartupWindow->HasDeviceGuis())
        return false;
    const QString failure = Connect(server);
    CClientSession::SetCurrent(m_pStartupWindow->GetDevice(), m_pStartupWindow->GetDeviceGui());
    m_pMainWindow = std::make_unique<CMainWindow>();
    if (!failure.isEmpty())
        m_pMainWindow->ShowConnectFailure(failure);
    m_pMainWindow->show();
    return true;
}

QString CClientProgram::Connect(const QString& server)
{
    if (server.isEmpty()) {
        // A failure opens the main window offline, as without a driver.
        CGuardedCall::Run([this] { m_pStartupWindow->ConnectDevice(true, QString()); });
        return QString();
    }
    QString failure;
    bool connected = false;
    CGuardedCall::Run([&] { connected = m_pStartupWindow->ConnectDevice(false, server); }, &failure);
    if (connected)
        return QString();
    // A device GUI may ask the proxy at once; this one cannot answer.
    CGuardedCall::Run([&] { m_pStartupWindow->ConnectOffline(server); });
    return failure.isEmpty() ? tr("no device of the server %1 can be used").arg(server) : failure;
}

CMainWindow* CClientProgram::GetMainWindow() const
{
    return m_pMainWindow.get();
}

CStartupWindow* CClientProgram::GetStartupWindow() const
{
    return m_pStartupWindow.get();
}
