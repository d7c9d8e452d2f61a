#include "CRZ450Device.h"

#include <new>

// The plug-in's entry points: each call hands out a new, independent
// driver object that the caller owns.
extern "C" Q_DECL_EXPORT bool QueryInterface(IDevice** out)
{
    if (!out)
        return false;
    *out = new (std::nothrow) CRZ450Device;
    return true;
}

extern "C" Q_DECL_EXPORT bool QueryRZ450Interface(IRZ450Device** out)
{
    if (!out)
        return false;
    *out = new (std::nothrow) CRZ450Device;
    return true;
}
