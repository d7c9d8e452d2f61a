#pragma once

#include <QList>
#include <QString>

class CMetaDevice;
class IDevice;
class IDeviceGui;

// The process-wide state of the client: the device and device GUI in use,
// and every object the plug-ins handed out. The objects stay alive until
// Release(), which the program calls once its windows are gone, so that the
// driver's worker is stopped and the GUI's widgets are deleted while the
// application object still exists.
class CClientSession
{
public:
    static CMetaDevice* Device();
    static IDeviceGui* DeviceGui();
    static void SetCurrent(CMetaDevice* device, IDeviceGui* gui);

    static void Keep(const QList<IDevice*>& devices);
    static void Keep(const QList<IDeviceGui*>& guis);
    static void Keep(CMetaDevice* device);
    static void Release();

    // Tests load plug-ins from a folder of their own; empty means the
    // program's folder.
    static void SetPluginFolder(const QString& folder);
    static QString PluginFolder();
};
