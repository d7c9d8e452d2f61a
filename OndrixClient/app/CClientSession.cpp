#include "app/CClientSession.h"

#include "IDeviceGui.h"
#include "proxy/CMetaDevice.h"

namespace {

struct SESSION
{
    CMetaDevice* device = nullptr;
    IDeviceGui* gui = nullptr;
    QList<IDevice*> devices;
    QList<IDeviceGui*> guis;
    QList<CMetaDevice*> proxies;
    QString pluginFolder;
};

SESSION& Session()
{
    static SESSION session;
    return session;
}

template <typename Object>
void KeepOnce(QList<Object*>& kept, Object* object)
{
    if (object && !kept.contains(object))
        kept.append(object);
}

} // namespace

CMetaDevice* CClientSession::Device()
{
    return Session().device;
}

IDeviceGui* CClientSession::DeviceGui()
{
    return Session().gui;
}

void CClientSession::SetCurrent(CMetaDevice* device, IDeviceGui* gui)
{
    Session().device = device;
    Session().gui = gui;
    Keep(device);
}

void CClientSession::Keep(const QList<IDevice*>& devices)
{
    for (IDevice* device : devices)
        KeepOnce(Session().devices, device);
}

void CClientSession::Keep(const QList<IDeviceGui*>& guis)
{
    for (IDeviceGui* gui : guis)
        KeepOnce(Session().guis, gui);
}

void CClientSession::Keep(CMetaDevice* device)
{
    KeepOnce(Session().proxies, device);
}

void CClientSession::Release()
{
    SESSION& session = Session();
    session.device = nullptr;
    session.gui = nullptr;
    // GUIs first: they hold proxies; proxies next: they hold the drivers.
    qDeleteAll(session.guis);
    session.guis.clear();
    qDeleteAll(session.proxies);
    session.proxies.clear();
    qDeleteAll(session.devices);
    session.devices.clear();
}

void CClientSession::SetPluginFolder(const QString& folder)
{
    Session().pluginFolder = folder;
}

QString CClientSession::PluginFolder()
{
    return Session().pluginFolder;
}
