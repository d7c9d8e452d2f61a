#include "CCtlDevice.h"

#include "CMetaDevice.h"
#include "CPlugHub.h"
#include "RZ450Queries.h"

CCtlDevice::CCtlDevice() = default;

CCtlDevice::~CCtlDevice()
{
    // The proxy lets go of the driver first; the driver's worker ends there.
    m_pDevice.reset();
    qDeleteAll(m_drivers);
}

bool CCtlDevice::Open(const QString& address, QString& error)
{
    return address.isEmpty() ? OpenLocal(error) : OpenServer(address, error);
}

QString CCtlDevice::Where() const
{
    return m_pDevice && !m_pDevice->GetUrl().isEmpty() ? m_pDevice->GetUrl() : QStringLiteral("local");
}

bool CCtlDevice::OpenLocal(QString& error)
{
    CPlugHub().LoadDevices(m_drivers);
    m_drivers.removeAll(nullptr);
    if (m_drivers.isEmpty()) {
        error = tr("no device driver plug-in was found beside %1").arg(QCoreApplication::applicationFilePath());
        return false;
    }
    m_pDevice = std::make_unique<CMetaDevice>(m_drivers.first());
    if (m_pDevice->Initialize())
        return true;
    error = tr("the device driver did not start");
    m_pDevice.reset();
    return false;
}

bool CCtlDevice::OpenServer(const QString& address, QString& error)
{
    auto device = std::make_unique<CMetaDevice>(address);
    if (!device->Initialize()) {
        error = tr("no Ondrix Server answers at %1").arg(address);
        return false;
    }
    const QString name = QLatin1String(RZ450Queries::DEVICE_TYPE);
    if (!device->GetServerDevicesList().contains(name) || !device->SelectServerDevice(name)) {
        error = tr("the Ondrix Server at %1 shares no %2").arg(address, name);
        return false;
    }
    m_pDevice = std::move(device);
    return true;
}
