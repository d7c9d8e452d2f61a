#pragma once

#include <QString>

#include <atomic>

class QSerialPort;

// The link through a USB serial adapter. The port object is created by the
// thread that opens it and must be closed by that same thread.
class CSerial
{
public:
    CSerial();
    virtual ~CSerial();
    CSerial(const CSerial&) = delete;
    CSerial& operator=(const CSerial&) = delete;

    // Sets the port name to the first port whose description contains the
    // pattern (case-sensitive); empty when there is none.
    void FindPort(const QString& pattern);
    // RZ450_PORT, when set, names the port and skips the search.
    bool OpenArduino();
    bool Open(int baudRate, int dataBits, int parity, int stopBits);
    void Close();
    bool IsOpen() const { return m_bOpen; }
    QString PortName() const { return m_sPortName; }

    bool Write(const char* buffer, int count);
    bool ReadByte();
    unsigned char LastByte() const { return m_nLastByte; }
    // Collects n bytes; gives up after timeoutMs of silence between bytes,
    // or as soon as keepGoing turns false.
    bool ReadTimed(char* buffer, int n, int& got, int timeoutMs, const std::atomic<bool>* keepGoing = nullptr);
    // Drops every byte already waiting.
    void Drain();

    enum Parity { NoParity = 0, OddParity = 1, EvenParity = 2 };

private:
    QSerialPort* m_pPort = nullptr;
    unsigned char m_nLastByte = 0;
    QString m_sPortName;
    bool m_bOpen = false;
};
