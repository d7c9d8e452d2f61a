#include "devices/CDevicePool.h"

#include "CPlugHub.h"
#include "IDevice.h"
#include "IRZ450Device.h"
#include "RZ450Queries.h"
#include "app/ServerLog.h"

CDevicePool::CDevicePool(const QList<IDevice*>& devices, QObject* parent)
    : QObject(parent)
    , m_devices(devices)
{
    m_recoveryTimer.setInterval(RECOVERY_INTERVAL_MS);
    connect(&m_recoveryTimer, &QTimer::timeout, this, &CDevicePool::OnRecoveryTimer);
}

CDevicePool::~CDevicePool()
{
    Stop();
}

bool CDevicePool::Load(QString& error)
{
    CPlugHub hub;
    hub.Init();
    QList<IDevice*> loaded;
    hub.LoadDevices(loaded);
    for (IDevice* device : loaded) {
        if (!device)
            continue;
        m_devices.append(device);
        m_owned.emplace_back(device);
    }
    if (m_devices.isEmpty()) {
        error = QStringLiteral("no device driver plug-in (Module*) in ") + hub.GetFolder();
        return false;
    }
    return true;
}

void CDevicePool::Start()
{
    if (m_bStarted)
        return;
    m_bStarted = true;
    m_online = QList<bool>(m_devices.size(), false);
    for (IDevice* device : m_devices)
        device->Initialize();
    for (const QString& name : Names())
        ServerLog::Line(QStringLiteral("sharing device ") + name);
    m_recoveryTimer.start();
}

void CDevicePool::Stop()
{
    if (!m_bStarted)
        return;
    m_bStarted = false;
    m_recoveryTimer.stop();
    for (IDevice* device : m_devices)
        device->Uninitialize();
}

IDevice* CDevicePool::Device(int index) const
{
    return index >= 0 && index < m_devices.size() ? m_devices.at(index) : nullptr;
}

QStringList CDevicePool::Names() const
{
    QStringList names;
    for (IDevice* device : m_devices)
        names.append(NameOf(device));
    return names;
}

int CDevicePool::Find(const QString& name) const
{
    return int(Names().indexOf(name));
}

QString CDevicePool::NameOf(IDevice* device)
{
    if (dynamic_cast<IRZ450Device*>(device))
        return QLatin1String(RZ450Queries::DEVICE_TYPE);
    return QString::fromLatin1(device->metaObject()->className());
}

// A driver that failed keeps failing until it is released to no reference
// and taken again; the server does that for every client.
void CDevicePool::OnRecoveryTimer()
{
    for (int i = 0; i < m_devices.size(); ++i) {
        IDevice* device = m_devices.at(i);
        const bool online = device->IsOnline();
        if (online != m_online.at(i))
            ServerLog::Line(NameOf(device) + (online ? QStringLiteral(" online") : QStringLiteral(" offline")));
        m_online[i] = online;
        if (!online && device->IsError()) {
            ServerLog::Line(NameOf(device) + QStringLiteral(": exchange fault, restarting it"));
            device->Uninitialize();
            device->Initialize();
        }
    }
}
