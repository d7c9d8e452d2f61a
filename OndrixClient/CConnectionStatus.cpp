#include "CConnectionStatus.h"

#include "CGuardedCall.h"
#include "CMetaDevice.h"
#include "ClientLog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

CConnectionStatus::CConnectionStatus(QMainWindow* window, QStatusBar* statusBar, CMetaDevice* device)
    : QObject(window)
    , m_pWindow(window)
    , m_pLabel(new QLabel(statusBar))
{
    m_pLabel->setObjectName(QStringLiteral("m_pConnectionLabel"));
    // Permanent: the poll's messages must not hide where the device is.
    statusBar->addPermanentWidget(m_pLabel, 0);
    Follow(device);
    Retranslate();
}

void CConnectionStatus::Follow(CMetaDevice* device)
{
    m_strUrl = device ? device->GetUrl() : QString();
    m_bLocal = device && device->GetLocalDevice();
    m_bShared = false;
    m_bDown = false;
}

void CConnectionStatus::Show(CMetaDevice* device)
{
    Follow(device);
    // The title goes without the name of a device that cannot be asked.
    m_strName = device ? CGuardedCall::Value([device] { return device->GetDevID(); }, QString()) : QString();
    m_bNamed = true;
    Retranslate();
}

void CConnectionStatus::ShowSharing(const CServerSharing& sharing)
{
    m_sharing = sharing;
    m_bShared = true;
    Retranslate();
}

void CConnectionStatus::Fail(CMetaDevice* device, const QString& failure)
{
    qCWarning(lcClient) << "connecting failed:" << failure;
    // A local driver keeps looking for its detector: it is polled on.
    m_bDown = device && !device->GetLocalDevice();
}

bool CConnectionStatus::IsDown() const
{
    return m_bDown;
}

void CConnectionStatus::ShowReplay(const QString& fileName)
{
    m_strReplay = fileName;
    Retranslate();
}

void CConnectionStatus::Retranslate()
{
    m_pLabel->setText(LabelText());
    m_pWindow->setWindowTitle(TitleText());
}

QString CConnectionStatus::Place() const
{
    if (!m_strUrl.isEmpty())
        return tr("Server: %1").arg(m_strUrl);
    return m_bLocal ? tr("Local device") : tr("No device");
}

QString CConnectionStatus::LabelText() const
{
    if (!m_bShared)
        return Place();
    return tr("%1 · shared: %2").arg(Place(), m_sharing.Description());
}

QString CConnectionStatus::TitleText() const
{
    if (!m_strReplay.isEmpty())
        return ConnectionTitle() + tr(" - Replay: %1").arg(m_strReplay);
    return ConnectionTitle();
}

QString CConnectionStatus::ConnectionTitle() const
{
    const QString application = QCoreApplication::applicationName();
    const QString version = QCoreApplication::applicationVersion();
    if (!m_bNamed)
        return application + tr(" Version ") + version;
    return application + QStringLiteral(" - [") + m_strName + tr(" on ")
        + (m_strUrl.isEmpty() ? tr("Local Computer") : m_strUrl) + QStringLiteral("] - ") + tr("Version ") + version;
}
