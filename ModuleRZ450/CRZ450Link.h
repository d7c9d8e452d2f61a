#pragma once

#include "CFTDI.h"
#include "CSerial.h"

#include <QByteArray>
#include <QString>

#include <atomic>

// The link to the detector, whichever kind opened: a serial port, the
// FT220X in byte mode or the FT245R, whose protocol bytes travel as two
// nibbles each. Callers deal in protocol bytes only. Used by the worker
// thread alone; only the kind may be read from elsewhere.
class CRZ450Link
{
public:
    enum Kind { LinkNone = 0, LinkFtdiByte = 1, LinkFtdiNibble = 2, LinkSerial = 3 };

    explicit CRZ450Link(const QString& ftdiLibrary);

    // Closes what is open, then tries the serial port and the FTDI chips in
    // that order.
    bool Open();
    void Close();
    // As the worker ends: the serial port object belongs to its thread and
    // cannot be closed from another one once the thread is gone.
    void CloseSerial();
    int InUse() const { return m_nKind.load(); }
    QString Name() const;

    // A link just opened: nothing queued, nothing left over to receive.
    void Reset();
    // Drops what has arrived and not been read.
    void DropInput();

    // Queued until Flush: a command and the poll after it then go out in
    // one write, which halves the writes (and, on a USB link, the USB
    // frames waited for) per exchange.
    void Send(const char* data, int size);
    bool HasOutgoing() const { return !m_outgoing.isEmpty(); }
    // False when the write failed; the queue is empty either way.
    bool Flush();
    // Exactly size bytes within timeoutMs, or false; gives up early once
    // keepGoing turns false.
    bool Receive(char* data, int size, int timeoutMs, const std::atomic<bool>* keepGoing);

private:
    CFTDI m_ftdi;
    CSerial m_serial;
    std::atomic<int> m_nKind { LinkNone };
    QByteArray m_outgoing;
};
