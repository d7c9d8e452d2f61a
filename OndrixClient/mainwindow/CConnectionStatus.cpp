#include "mainwindow/CConnectionStatus.h"

#include "app/CGuardedCall.h"
#include "app/ClientLog.h"
#include "protocol/CServerAddress.h"
#include "proxy/CMetaDevice.h"

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
    if (m_pDevice)
        disconnect(m_pDevice, nullptr, this, nullptr);
    m_pDevice = device;
    m_strUrl = device ? device->GetUrl() : QString();
    m_bLocal = device && device->GetLocalDevice();
    m_bExposed = device && !device->IsEncrypted() && !CServerAddress(m_strUrl).IsLoopback();
    m_bShared = false;
    m_bDown = false;
    // A server never reached shows its failure instead, as before.
    m_bReconnecting = false;
    m_bWaiting = false;
    if (!device)
        return;
    connect(device, &CMetaDevice::connectionLost, this, &CConnectionStatus::OnConnectionLost);
    connect(device, &CMetaDevice::reconnected, this, &CConnectionStatus::OnReconnected);
    connect(device, &CMetaDevice::waiting, this, &CConnectionStatus::OnWaiting);
}

void CConnectionStatus::OnConnectionLost()
{
    m_bReconnecting = true;
    Retranslate();
}

void CConnectionStatus::OnWaiting(bool on)
{
    m_bWaiting = on;
    Retranslate();
}

void CConnectionStatus::OnReconnected()
{
    m_bReconnecting = false;
    m_bDown = false;
    // A server never reached at the start gives its device's name now.
    if (m_bNamed && m_strName.isEmpty() && m_pDevice) {
        CMetaDevice* device = m_pDevice;
        m_strName = CGuardedCall::Value([device] { return device->GetDevID(); }, QString());
    }
    Retranslate();
    Q_EMIT reconnected();
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
    // A local driver keeps looking for its detector, and a proxy that
    // reconnects by itself wants to be asked: both are polled on.
    m_bDown = device && !device->GetLocalDevice() && !device->IsReconnecting();
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
        return m_bExposed ? tr("Server: %1 (not encrypted)").arg(m_strUrl) : tr("Server: %1").arg(m_strUrl);
    return m_bLocal ? tr("Local device") : tr("No device");
}

QString CConnectionStatus::LabelText() const
{
    QString place = Place();
    if (m_bReconnecting)
        place = tr("%1 · Reconnecting...").arg(place);
    else if (m_bWaiting)
        place = tr("%1 · Waiting for the server...").arg(place);
    if (!m_bShared)
        return place;
    return tr("%1 · shared: %2").arg(place, m_sharing.Description());
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
