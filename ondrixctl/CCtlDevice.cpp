#include "CCtlDevice.h"

#include "CPlugHub.h"
#include "CTL_OPTIONS.h"
#include "RZ450Queries.h"
#include "proxy/CMetaDevice.h"

CCtlDevice::CCtlDevice() = default;

CCtlDevice::~CCtlDevice()
{
    // The proxy lets go of the driver first; the driver's worker ends there.
    m_pDevice.reset();
    qDeleteAll(m_drivers);
}

bool CCtlDevice::Open(const CTL_OPTIONS& options, QString& error)
{
    return options.device.isEmpty() ? OpenLocal(error) : OpenServer(options, error);
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

bool CCtlDevice::OpenServer(const CTL_OPTIONS& options, QString& error)
{
    const QString address = options.device;
    auto device = std::make_unique<CMetaDevice>(address);
    device->SetCredentials(options.fingerprint, options.key);
    if (!device->Initialize()) {
        error = Refused(*device);
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

// A server not trusted yet is never trusted here: the user checks the
// fingerprint with its owner and gives it, as for the first connection of
// the client.
QString CCtlDevice::Refused(const CMetaDevice& device)
{
    const QString address = device.GetUrl();
    switch (device.LastRefusal()) {
    case CMetaDevice::UnknownServer:
        return tr("the server at %1 shows the fingerprint %2; check it with the server's owner, then give it "
                  "with --fingerprint")
            .arg(address, device.PeerFingerprint());
    case CMetaDevice::ChangedServer:
        return tr("WARNING: the server at %1 shows the fingerprint %2, not the one given: someone may be standing "
                  "in for it; not connected")
            .arg(address, device.PeerFingerprint());
    case CMetaDevice::KeyRefused:
        return tr("the server at %1 refused the access key (--key-file, or the environment variable ONDRIX_KEY)")
            .arg(address);
    case CMetaDevice::NotRefused: break;
    }
    return tr("no Ondrix Server answers at %1").arg(address);
}
