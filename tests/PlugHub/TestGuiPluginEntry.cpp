// One source, four behaviours of a GUI plug-in's entry point, chosen when
// the test plug-in is built.
#include "CTestDeviceGui.h"

#include <new>

#if !defined(TEST_GUI_NO_ENTRY)
extern "C" Q_DECL_EXPORT bool QueryInterface(IDeviceGui** out)
{
    if (!out)
        return false;
#if defined(TEST_GUI_REFUSES)
    return false;
#elif defined(TEST_GUI_NULL)
    *out = nullptr;
    return true;
#else
    *out = new (std::nothrow) CTestDeviceGui;
    return true;
#endif
}
#else
extern "C" Q_DECL_EXPORT bool SomethingElse()
{
    return true;
}
#endif
