#include "CClientProgram.h"

#include "CClientResources.h"
#include "CClientSession.h"
#include "CMainWindow.h"
#include "CStartupWindow.h"
#include "CTranslationSet.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QSettings>

#include <exception>

CClientProgram::CClientProgram() = default;

CClientProgram::~CClientProgram()
{
    m_pMainWindow.reset();
    m_pStartupWindow.reset();
    CClientSession::Release();
}

bool CClientProgram::Start()
{
    CClientResources::Init();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/CMainWindow/OndrixClient.ico")));
    qApp->setStyleSheet(CClientResources::StyleSheet());
    // Fixed names: the scope must not move with the language.
    QCoreApplication::setOrganizationName(QStringLiteral("KV"));
    QCoreApplication::setApplicationName(QStringLiteral("Ondrix Client"));
    QCoreApplication::setApplicationVersion(QStringLiteral("Version 1.0.1"));
    CTranslationSet::Instance().SetLanguage(
        QSettings().value(QStringLiteral("General/Language"), QLocale::system().name()).toString());

    m_pStartupWindow = std::make_unique<CStartupWindow>();
    if (!m_pStartupWindow->HasDeviceGuis())
        return false;
    try {
        m_pStartupWindow->ConnectDevice(true, QString());
    } catch (const std::exception&) {
        // The main window then opens offline, as without a driver.
    }
    CClientSession::SetCurrent(m_pStartupWindow->GetDevice(), m_pStartupWindow->GetDeviceGui());
    m_pMainWindow = std::make_unique<CMainWindow>();
    m_pMainWindow->show();
    return true;
}

CMainWindow* CClientProgram::GetMainWindow() const
{
    return m_pMainWindow.get();
}

CStartupWindow* CClientProgram::GetStartupWindow() const
{
    return m_pStartupWindow.get();
}
