#include "CRZ450Link.h"

#include "CNibbleCodec.h"

#include <vector>

CRZ450Link::CRZ450Link(const QString& ftdiLibrary)
    : m_ftdi(ftdiLibrary)
{
}

bool CRZ450Link::Open()
{
    Close();
    if (m_serial.OpenArduino()) {
        m_nKind = LinkSerial;
        return true;
    }
    if (!m_ftdi.IsLibraryMissing() && m_ftdi.Open() == CFTDI::FT_OK) {
        m_nKind = m_ftdi.Kind() == CFTDI::KIND_BYTE_MODE ? LinkFtdiByte : LinkFtdiNibble;
        return true;
    }
    return false;
}

void CRZ450Link::Close()
{
    m_ftdi.Close();
    m_serial.Close();
    m_nKind = LinkNone;
}

void CRZ450Link::CloseSerial()
{
    m_serial.Close();
    if (m_nKind == LinkSerial)
        m_nKind = LinkNone;
}

QString CRZ450Link::Name() const
{
    switch (m_nKind.load()) {
    case LinkSerial: return m_serial.PortName();
    case LinkFtdiByte: return QStringLiteral("FT220X");
    case LinkFtdiNibble: return QStringLiteral("FT245R");
    default: return QString();
    }
}

void CRZ450Link::Reset()
{
    m_outgoing.clear();
    if (m_nKind == LinkSerial)
        m_serial.Drain();
    else
        m_ftdi.Purge();
}

void CRZ450Link::DropInput()
{
    if (m_nKind == LinkSerial)
        m_serial.Drain();
    else
        m_ftdi.DropInput();
}

void CRZ450Link::Send(const char* data, int size)
{
    if (m_nKind == LinkFtdiNibble)
        m_outgoing += CNibbleCodec::Split(data, size);
    else
        m_outgoing.append(data, size);
}

bool CRZ450Link::Flush()
{
    const int size = static_cast<int>(m_outgoing.size());
    bool sent = false;
    if (m_nKind == LinkSerial)
        sent = m_serial.Write(m_outgoing.constData(), size);
    else if (m_nKind != LinkNone)
        sent = m_ftdi.Write(m_outgoing.constData(), size) == CFTDI::FT_OK;
    m_outgoing.clear();
    return sent;
}

bool CRZ450Link::Receive(char* data, int size, int timeoutMs, const std::atomic<bool>* keepGoing)
{
    int got = 0;
    switch (m_nKind.load()) {
    case LinkSerial: m_serial.ReadTimed(data, size, got, timeoutMs, keepGoing); return got == size;
    case LinkFtdiNibble: {
        std::vector<char> link(static_cast<size_t>(2 * size));
        m_ftdi.ReadTimed(link.data(), 2 * size, got, timeoutMs, keepGoing);
        if (got != 2 * size)
            return false;
        CNibbleCodec::Join(link.data(), size, data);
        return true;
    }
    default: m_ftdi.ReadTimed(data, size, got, timeoutMs, keepGoing); return got == size;
    }
}
