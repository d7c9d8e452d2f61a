#include "CFTDI.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

const char* const DESCRIPTION_BYTE_MODE = "FT220X 4-BIT FT1248";
const char* const DESCRIPTION_NIBBLE_MODE = "FT245R USB FIFO";
const unsigned int OPEN_BY_DESCRIPTION = 2;
const unsigned long PURGE_RX = 1;
const unsigned long PURGE_RX_TX = 3;
// The chip's default of 16 ms holds back the last partial USB packet of
// every report; 2 ms lets a frame through as soon as it is complete.
const unsigned char LATENCY_MS = 2;
const int POLL_INTERVAL_US = 200;

} // namespace

CFTDI::CFTDI(const QString& libraryName)
    : m_library(libraryName)
{
    m_bLibraryMissing = !m_library.load();
    if (!m_bLibraryMissing)
        Resolve();
}

CFTDI::~CFTDI()
{
    Close();
}

void CFTDI::Resolve()
{
    // Resolved in a fixed order, stopping at the first missing function:
    // an incomplete library leaves the later operations unavailable.
    Bind("FT_ListDevices", m_pfnListDevices) && Bind("FT_Open", m_pfnOpen) && Bind("FT_OpenEx", m_pfnOpenEx)
        && Bind("FT_Close", m_pfnClose) && Bind("FT_Write", m_pfnWrite) && Bind("FT_Read", m_pfnRead)
        && Bind("FT_GetStatus", m_pfnGetStatus) && Bind("FT_EE_Read", m_pfnEeRead)
        && Bind("FT_EE_Program", m_pfnEeProgram) && Bind("FT_Purge", m_pfnPurge);
    // Optional: older libraries lack it, and the link works without it.
    Bind("FT_SetLatencyTimer", m_pfnSetLatencyTimer);
}

bool CFTDI::OpenByDescription(const char* description)
{
    FT_HANDLE handle = nullptr;
    if (m_pfnOpenEx(const_cast<char*>(description), OPEN_BY_DESCRIPTION, &handle) != FT_OK)
        return false;
    m_hDevice = handle;
    m_nOpen = 1;
    if (m_pfnSetLatencyTimer)
        m_pfnSetLatencyTimer(m_hDevice, LATENCY_MS);
    return true;
}

CFTDI::FT_STATUS CFTDI::Open()
{
    Close();
    m_nOpen = 0;
    if (m_bLibraryMissing || !m_pfnOpenEx)
        return FT_MISSING;
    if (OpenByDescription(DESCRIPTION_BYTE_MODE)) {
        m_nKind = KIND_BYTE_MODE;
        return FT_OK;
    }
    if (OpenByDescription(DESCRIPTION_NIBBLE_MODE)) {
        m_nKind = KIND_NIBBLE_MODE;
        return FT_OK;
    }
    return FT_MISSING;
}

CFTDI::FT_STATUS CFTDI::Close()
{
    if (!m_pfnClose || m_nOpen != 1)
        return FT_MISSING;
    const FT_STATUS status = m_pfnClose(m_hDevice);
    m_nOpen = 0;
    m_hDevice = nullptr;
    return status;
}

CFTDI::FT_STATUS CFTDI::Purge()
{
    if (!m_pfnPurge)
        return FT_MISSING;
    return m_pfnPurge(m_hDevice, PURGE_RX_TX);
}

void CFTDI::DropInput()
{
    DWORD rx = 0, tx = 0, events = 0;
    if (m_pfnGetStatus && m_pfnPurge && m_pfnGetStatus(m_hDevice, &rx, &tx, &events) == FT_OK && rx > 0)
        m_pfnPurge(m_hDevice, PURGE_RX);
}

CFTDI::FT_STATUS CFTDI::Write(const char* buffer, int count)
{
    if (!m_pfnWrite)
        return FT_MISSING;
    DWORD written = 0;
    return m_pfnWrite(m_hDevice, const_cast<char*>(buffer), static_cast<DWORD>(count), &written);
}

CFTDI::FT_STATUS CFTDI::ReadTimed(char* buffer, int n, int& got, int timeoutMs, const std::atomic<bool>* keepGoing)
{
    got = 0;
    if (!m_pfnGetStatus || !m_pfnRead)
        return FT_MISSING;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        DWORD rx = 0, tx = 0, events = 0;
        const FT_STATUS status = m_pfnGetStatus(m_hDevice, &rx, &tx, &events);
        // A failing status query means the chip is gone; waiting out the
        // time-out would only delay the reconnection.
        if (status != FT_OK)
            return status;
        if (rx >= static_cast<DWORD>(n)) {
            DWORD read = 0;
            const FT_STATUS readStatus = m_pfnRead(m_hDevice, buffer, static_cast<DWORD>(n), &read);
            got = static_cast<int>(read);
            return readStatus;
        }
        if (deadline.hasExpired() || (keepGoing && !*keepGoing))
            return FT_OK;
        QThread::usleep(POLL_INTERVAL_US);
    }
}
