#include "CFakeD2xxBus.h"

#include "CRZ450Simulator.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned long PURGE_RX = 1;

std::uintptr_t Id(void* handle)
{
    return reinterpret_cast<std::uintptr_t>(handle);
}

} // namespace

CFakeD2xxBus& CFakeD2xxBus::Instance()
{
    static CFakeD2xxBus bus;
    return bus;
}

void CFakeD2xxBus::Attach(const std::string& description, CRZ450Simulator* sim)
{
    std::lock_guard<std::mutex> lock(m_lock);
    Device& device = m_devices[description];
    Unplug(device);
    device.sim = sim;
}

void CFakeD2xxBus::Detach(const std::string& description)
{
    std::lock_guard<std::mutex> lock(m_lock);
    const auto found = m_devices.find(description);
    if (found == m_devices.end())
        return;
    Unplug(found->second);
    found->second.sim = nullptr;
}

void CFakeD2xxBus::Reset()
{
    std::lock_guard<std::mutex> lock(m_lock);
    // Handles the driver still holds stay known, so that using them reports
    // an I/O error instead of touching a simulator that may be gone.
    for (auto& handle : m_handles)
        handle.second.clear();
    m_devices.clear();
}

int CFakeD2xxBus::OpenCount(const std::string& description)
{
    std::lock_guard<std::mutex> lock(m_lock);
    const auto found = m_devices.find(description);
    return found == m_devices.end() ? 0 : found->second.opens;
}

bool CFakeD2xxBus::IsOpen(const std::string& description)
{
    std::lock_guard<std::mutex> lock(m_lock);
    const auto found = m_devices.find(description);
    return found != m_devices.end() && found->second.handle != 0;
}

int CFakeD2xxBus::LatencyTimer(const std::string& description)
{
    std::lock_guard<std::mutex> lock(m_lock);
    const auto found = m_devices.find(description);
    return found == m_devices.end() ? -1 : found->second.latency;
}

CFakeD2xxBus::Status CFakeD2xxBus::Open(const std::string& description, void** handle)
{
    std::lock_guard<std::mutex> lock(m_lock);
    const auto found = m_devices.find(description);
    if (found == m_devices.end() || !found->second.sim)
        return DEVICE_NOT_FOUND;
    Device& device = found->second;
    if (device.handle != 0)
        return DEVICE_NOT_OPENED; // busy: open elsewhere
    device.handle = m_nextHandle++;
    ++device.opens;
    m_handles[device.handle] = description;
    *handle = reinterpret_cast<void*>(device.handle);
    return OK;
}

CFakeD2xxBus::Status CFakeD2xxBus::Close(void* handle)
{
    std::lock_guard<std::mutex> lock(m_lock);
    const auto found = m_handles.find(Id(handle));
    if (found == m_handles.end())
        return INVALID_HANDLE;
    const std::string description = found->second;
    m_handles.erase(found);
    if (description.empty())
        return IO_ERROR; // unplugged meanwhile; the handle is released all the same
    m_devices[description].handle = 0;
    return OK;
}

CFakeD2xxBus::Status CFakeD2xxBus::Write(void* handle, const void* data, unsigned count, unsigned* written)
{
    std::lock_guard<std::mutex> lock(m_lock);
    Device* device = nullptr;
    if (const Status status = Use(handle, &device))
        return status;
    device->sim->Feed(static_cast<const char*>(data), static_cast<int>(count));
    if (written)
        *written = count;
    if (device->sim->TakeDisconnectRequest()) {
        // The detector dropped off the bus: this handle is dead, and the
        // device comes back at once for a fresh open, as after a replug.
        device->sim->Reset();
        Unplug(*device);
    }
    return OK;
}

CFakeD2xxBus::Status CFakeD2xxBus::Read(void* handle, void* buffer, unsigned count, unsigned* got)
{
    std::lock_guard<std::mutex> lock(m_lock);
    Device* device = nullptr;
    if (const Status status = Use(handle, &device))
        return status;
    const QByteArray bytes = device->sim->Take(static_cast<int>(std::min<unsigned>(count, 1u << 30)));
    std::memcpy(buffer, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (got)
        *got = static_cast<unsigned>(bytes.size());
    return OK;
}

CFakeD2xxBus::Status CFakeD2xxBus::GetStatus(void* handle, unsigned* rxQueue, unsigned* txQueue, unsigned* events)
{
    std::lock_guard<std::mutex> lock(m_lock);
    Device* device = nullptr;
    if (const Status status = Use(handle, &device))
        return status;
    if (rxQueue)
        *rxQueue = static_cast<unsigned>(device->sim->Pending());
    if (txQueue)
        *txQueue = 0; // writes reach the detector at once
    if (events)
        *events = 0;
    return OK;
}

CFakeD2xxBus::Status CFakeD2xxBus::Purge(void* handle, unsigned long mask)
{
    std::lock_guard<std::mutex> lock(m_lock);
    Device* device = nullptr;
    if (const Status status = Use(handle, &device))
        return status;
    if (mask & PURGE_RX)
        device->sim->Take(device->sim->Pending());
    return OK;
}

CFakeD2xxBus::Status CFakeD2xxBus::SetLatencyTimer(void* handle, unsigned char ms)
{
    std::lock_guard<std::mutex> lock(m_lock);
    Device* device = nullptr;
    if (const Status status = Use(handle, &device))
        return status;
    device->latency = ms;
    return OK;
}

CFakeD2xxBus::Status CFakeD2xxBus::Use(void* handle, Device** device)
{
    const auto found = m_handles.find(Id(handle));
    if (found == m_handles.end())
        return INVALID_HANDLE;
    if (found->second.empty())
        return IO_ERROR;
    Device& owner = m_devices[found->second];
    if (!owner.sim || owner.handle != found->first)
        return IO_ERROR;
    *device = &owner;
    return OK;
}

void CFakeD2xxBus::Unplug(Device& device)
{
    if (device.handle != 0)
        m_handles[device.handle].clear();
    device.handle = 0;
}
