#include "CSerial.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <algorithm>

namespace {

const int LINE_RATE = 921600;
const int WAIT_SLICE_MS = 50;

QSerialPort::Parity ToQtParity(int parity)
{
    switch (parity) {
    case CSerial::OddParity: return QSerialPort::OddParity;
    case CSerial::EvenParity: return QSerialPort::EvenParity;
    default: return QSerialPort::NoParity;
    }
}

} // namespace

CSerial::CSerial() = default;

CSerial::~CSerial()
{
    Close();
}

void CSerial::FindPort(const QString& pattern)
{
    m_sPortName.clear();
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports) {
        if (port.description().contains(pattern, Qt::CaseSensitive)) {
            m_sPortName = port.systemLocation();
            return;
        }
    }
}

bool CSerial::OpenArduino()
{
    if (m_sPortName.isEmpty()) {
        const QString explicitPort = qEnvironmentVariable("RZ450_PORT");
        if (!explicitPort.isEmpty())
            m_sPortName = explicitPort;
        else
            FindPort(QStringLiteral("Arduino"));
    }
    if (m_sPortName.isEmpty())
        return false;
    return Open(LINE_RATE, 8, NoParity, 1);
}

bool CSerial::Open(int baudRate, int dataBits, int parity, int stopBits)
{
    Close();
    m_pPort = new QSerialPort;
    m_pPort->setPortName(m_sPortName);
    if (!m_pPort->open(QIODevice::ReadWrite)) {
        Close();
        return false;
    }
    const bool lineSet = m_pPort->setBaudRate(baudRate)
        && m_pPort->setDataBits(dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8)
        && m_pPort->setParity(ToQtParity(parity))
        && m_pPort->setStopBits(stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop)
        && m_pPort->setFlowControl(QSerialPort::NoFlowControl);
    if (!lineSet) {
        Close();
        return false;
    }
    m_pPort->setDataTerminalReady(false);
    m_pPort->setRequestToSend(false);
    m_bOpen = true;
    return true;
}

void CSerial::Close()
{
    if (m_pPort) {
        m_pPort->close();
        delete m_pPort;
        m_pPort = nullptr;
    }
    m_bOpen = false;
}

bool CSerial::Write(const char* buffer, int count)
{
    if (!m_pPort)
        return false;
    m_pPort->write(buffer, count);
    // No event loop runs in the worker: push the bytes out now.
    m_pPort->flush();
    return true;
}

bool CSerial::ReadByte()
{
    if (!m_pPort)
        return false;
    if (m_pPort->bytesAvailable() == 0 && !m_pPort->waitForReadyRead(0))
        return false;
    char byte = 0;
    if (m_pPort->read(&byte, 1) != 1)
        return false;
    m_nLastByte = static_cast<unsigned char>(byte);
    return true;
}

bool CSerial::ReadTimed(char* buffer, int n, int& got, int timeoutMs, const std::atomic<bool>* keepGoing)
{
    got = 0;
    if (!m_pPort)
        return true;
    int silentMs = 0;
    while (got < n && silentMs < timeoutMs) {
        if (keepGoing && !*keepGoing)
            break;
        if (m_pPort->bytesAvailable() == 0) {
            // Waited in slices so that a stop request is seen promptly.
            const int slice = std::min(WAIT_SLICE_MS, timeoutMs - silentMs);
            if (!m_pPort->waitForReadyRead(slice)) {
                if (m_pPort->error() != QSerialPort::NoError && m_pPort->error() != QSerialPort::TimeoutError)
                    break; // the port is gone; silence would change nothing
                silentMs += slice;
                continue;
            }
        }
        const qint64 read = m_pPort->read(buffer + got, n - got);
        if (read < 0)
            break;
        got += static_cast<int>(read);
        silentMs = 0;
    }
    return true;
}

void CSerial::Drain()
{
    if (!m_pPort)
        return;
    // Whatever the system already received, then what Qt buffered.
    m_pPort->clear(QSerialPort::Input);
    m_pPort->readAll();
    while (ReadByte()) { }
}
