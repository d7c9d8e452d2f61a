#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

class CRZ450Simulator;

// The devices the fake D2XX library can see and the handles open on them.
// One lock covers everything, simulator calls included, so that a test can
// detach a device while the driver's worker is in the middle of a call.
class CFakeD2xxBus
{
public:
    using Status = unsigned long;
    static constexpr Status OK = 0;
    static constexpr Status INVALID_HANDLE = 1;
    static constexpr Status DEVICE_NOT_FOUND = 2;
    static constexpr Status DEVICE_NOT_OPENED = 3;
    static constexpr Status IO_ERROR = 4;

    static CFakeD2xxBus& Instance();

    void Attach(const std::string& description, CRZ450Simulator* sim);
    void Detach(const std::string& description);
    void Reset();
    int OpenCount(const std::string& description);
    bool IsOpen(const std::string& description);
    int LatencyTimer(const std::string& description);

    Status Open(const std::string& description, void** handle);
    Status Close(void* handle);
    Status Write(void* handle, const void* data, unsigned count, unsigned* written);
    Status Read(void* handle, void* buffer, unsigned count, unsigned* got);
    Status GetStatus(void* handle, unsigned* rxQueue, unsigned* txQueue, unsigned* events);
    Status Purge(void* handle, unsigned long mask);
    Status SetLatencyTimer(void* handle, unsigned char ms);

private:
    struct Device
    {
        CRZ450Simulator* sim = nullptr; // null while unplugged
        std::uintptr_t handle = 0;      // 0 while not open
        int opens = 0;
        int latency = -1;
    };

    Status Use(void* handle, Device** device);
    void Unplug(Device& device);

    std::mutex m_lock;
    std::map<std::string, Device> m_devices;
    std::map<std::uintptr_t, std::string> m_handles; // handle -> description; dead handles map to ""
    std::uintptr_t m_nextHandle = 0x1000;
};
