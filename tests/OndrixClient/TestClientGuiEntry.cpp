// A device GUI plug-in that records what the client asks of it; its type
// is chosen when it is built.
#include "CRecordingDeviceGui.h"

#include <new>

extern "C" Q_DECL_EXPORT bool QueryInterface(IDeviceGui** out)
{
    if (!out)
        return false;
    *out = new (std::nothrow) CRecordingDeviceGui(QStringLiteral(TEST_GUI_TYPE));
    return true;
}
