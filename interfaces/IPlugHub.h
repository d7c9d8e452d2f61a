#pragma once

#include <QList>
#include <QtGlobal>

class IDevice;
class IDeviceGui;

#if defined(PLUGHUB_LIBRARY)
#define PLUGHUB_EXPORT Q_DECL_EXPORT
#else
#define PLUGHUB_EXPORT Q_DECL_IMPORT
#endif

// Finds the device driver and device GUI plug-ins beside the program. The
// objects appended to the lists belong to the caller.
class IPlugHub
{
public:
    virtual void Init() = 0;
    // Both return false, leaving the list alone, when no file matches.
    virtual bool LoadDevices(QList<IDevice*>& devices) = 0;
    virtual bool LoadDeviceGuis(QList<IDeviceGui*>& guis) = 0;
    // Last, so that the operations above keep their places.
    virtual ~IPlugHub() = default;
};

// False for a null address; otherwise stores a new loader (null when out of
// memory) that the caller owns, and returns true.
extern "C" PLUGHUB_EXPORT bool QueryPlugHubInterface(IPlugHub** out);
