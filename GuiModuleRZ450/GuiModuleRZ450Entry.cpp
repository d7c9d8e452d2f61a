#include "CRZ450DeviceGui.h"

#include <new>

extern "C" Q_DECL_EXPORT bool QueryInterface(IDeviceGui** out)
{
    if (!out)
        return false;
    *out = new (std::nothrow) CRZ450DeviceGui();
    return true;
}
