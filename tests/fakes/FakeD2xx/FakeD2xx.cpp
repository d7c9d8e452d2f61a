// The D2XX entry points the driver resolves, with the vendor's calling
// conventions on Linux, and the test control functions of FakeD2xx.h.

#include "FakeD2xx.h"

#include "CFakeD2xxBus.h"

#define FAKE_D2XX_EXPORT extern "C" __attribute__((visibility("default")))

using FT_HANDLE = void*;
using FT_STATUS = unsigned long;
using DWORD = unsigned int;
using ULONG = unsigned long;
using UCHAR = unsigned char;

namespace {

constexpr DWORD OPEN_BY_DESCRIPTION = 2;

CFakeD2xxBus& Bus()
{
    return CFakeD2xxBus::Instance();
}

} // namespace

FAKE_D2XX_EXPORT FT_STATUS FT_OpenEx(void* arg, DWORD flags, FT_HANDLE* handle)
{
    if (!arg || !handle || flags != OPEN_BY_DESCRIPTION)
        return CFakeD2xxBus::DEVICE_NOT_FOUND;
    return Bus().Open(static_cast<const char*>(arg), handle);
}

FAKE_D2XX_EXPORT FT_STATUS FT_Close(FT_HANDLE handle)
{
    return Bus().Close(handle);
}

FAKE_D2XX_EXPORT FT_STATUS FT_Write(FT_HANDLE handle, void* buffer, DWORD count, DWORD* written)
{
    return Bus().Write(handle, buffer, count, written);
}

FAKE_D2XX_EXPORT FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD count, DWORD* got)
{
    return Bus().Read(handle, buffer, count, got);
}

FAKE_D2XX_EXPORT FT_STATUS FT_GetStatus(FT_HANDLE handle, DWORD* rxQueue, DWORD* txQueue, DWORD* eventStatus)
{
    return Bus().GetStatus(handle, rxQueue, txQueue, eventStatus);
}

FAKE_D2XX_EXPORT FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask)
{
    return Bus().Purge(handle, mask);
}

FAKE_D2XX_EXPORT FT_STATUS FT_SetLatencyTimer(FT_HANDLE handle, UCHAR ms)
{
    return Bus().SetLatencyTimer(handle, ms);
}

// Resolved by the driver but never used: no device is found this way.
FAKE_D2XX_EXPORT FT_STATUS FT_ListDevices(void*, void*, DWORD)
{
    return CFakeD2xxBus::DEVICE_NOT_FOUND;
}

FAKE_D2XX_EXPORT FT_STATUS FT_Open(int, FT_HANDLE*)
{
    return CFakeD2xxBus::DEVICE_NOT_FOUND;
}

FAKE_D2XX_EXPORT FT_STATUS FT_EE_Read(FT_HANDLE, void*)
{
    return CFakeD2xxBus::IO_ERROR;
}

FAKE_D2XX_EXPORT FT_STATUS FT_EE_Program(FT_HANDLE, void*)
{
    return CFakeD2xxBus::IO_ERROR;
}

FAKE_D2XX_EXPORT void FakeD2xx_Attach(const char* description, CRZ450Simulator* sim)
{
    if (description)
        Bus().Attach(description, sim);
}

FAKE_D2XX_EXPORT void FakeD2xx_Detach(const char* description)
{
    if (description)
        Bus().Detach(description);
}

FAKE_D2XX_EXPORT void FakeD2xx_Reset()
{
    Bus().Reset();
}

FAKE_D2XX_EXPORT int FakeD2xx_OpenCount(const char* description)
{
    return description ? Bus().OpenCount(description) : 0;
}

FAKE_D2XX_EXPORT int FakeD2xx_IsOpen(const char* description)
{
    return description && Bus().IsOpen(description) ? 1 : 0;
}

FAKE_D2XX_EXPORT int FakeD2xx_LatencyTimer(const char* description)
{
    return description ? Bus().LatencyTimer(description) : -1;
}
