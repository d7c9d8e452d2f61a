// A driver plug-in whose device is the fake; its name is chosen when it is
// built.
#include "CFakeDevice.h"

#include <new>

extern "C" Q_DECL_EXPORT bool QueryInterface(IDevice** out)
{
    if (!out)
        return false;
    *out = new (std::nothrow) CFakeDevice(QStringLiteral(TEST_DEVICE_ID));
    return true;
}
