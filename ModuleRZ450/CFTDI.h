#pragma once

#include <QLibrary>
#include <QString>

#include <atomic>

// The link through an FTDI FIFO chip, driven by the vendor's D2XX library,
// which is loaded at run time so that the driver works without it.
class CFTDI
{
public:
    using FT_HANDLE = void*;
    using FT_STATUS = unsigned long;
    using DWORD = unsigned int;

    static constexpr FT_STATUS FT_OK = 0;
    static constexpr FT_STATUS FT_MISSING = 1; // returned when a function is not resolved
    static constexpr int KIND_BYTE_MODE = 1;   // FT220X
    static constexpr int KIND_NIBBLE_MODE = 2; // FT245R

    explicit CFTDI(const QString& libraryName = QStringLiteral("ftd2xx"));
    virtual ~CFTDI();
    CFTDI(const CFTDI&) = delete;
    CFTDI& operator=(const CFTDI&) = delete;

    bool IsLibraryMissing() const { return m_bLibraryMissing; }
    bool IsOpen() const { return m_nOpen == 1; }
    int Kind() const { return m_nKind; }

    // Tries the FT220X first, then the FT245R.
    FT_STATUS Open();
    FT_STATUS Close();
    FT_STATUS Purge();
    // Drops whatever waits in the receive queue.
    void DropInput();
    FT_STATUS Write(const char* buffer, int count);
    // Waits until the chip holds all n bytes, then reads them; got stays 0
    // when they do not arrive within timeoutMs, the device fails, or
    // keepGoing turns false.
    FT_STATUS ReadTimed(char* buffer, int n, int& got, int timeoutMs, const std::atomic<bool>* keepGoing = nullptr);

private:
    using OpenExFn = FT_STATUS (*)(void*, DWORD, FT_HANDLE*);
    using CloseFn = FT_STATUS (*)(FT_HANDLE);
    using WriteFn = FT_STATUS (*)(FT_HANDLE, void*, DWORD, DWORD*);
    using ReadFn = FT_STATUS (*)(FT_HANDLE, void*, DWORD, DWORD*);
    using GetStatusFn = FT_STATUS (*)(FT_HANDLE, DWORD*, DWORD*, DWORD*);
    using PurgeFn = FT_STATUS (*)(FT_HANDLE, unsigned long);
    using SetLatencyTimerFn = FT_STATUS (*)(FT_HANDLE, unsigned char);
    using AnyFn = void (*)();

    void Resolve();
    template <typename Fn>
    bool Bind(const char* name, Fn& fn)
    {
        fn = reinterpret_cast<Fn>(m_library.resolve(name));
        return fn != nullptr;
    }
    bool OpenByDescription(const char* description);

    QLibrary m_library;
    bool m_bLibraryMissing = true;
    AnyFn m_pfnListDevices = nullptr;
    AnyFn m_pfnOpen = nullptr;
    OpenExFn m_pfnOpenEx = nullptr;
    CloseFn m_pfnClose = nullptr;
    WriteFn m_pfnWrite = nullptr;
    ReadFn m_pfnRead = nullptr;
    GetStatusFn m_pfnGetStatus = nullptr;
    AnyFn m_pfnEeRead = nullptr;
    AnyFn m_pfnEeProgram = nullptr;
    PurgeFn m_pfnPurge = nullptr;
    SetLatencyTimerFn m_pfnSetLatencyTimer = nullptr;
    FT_HANDLE m_hDevice = nullptr;
    int m_nOpen = 0;
    int m_nKind = 0;
};
