#include "CMetaDevice.h"

#include "CAnswerFrame.h"
#include "CAnswerParser.h"
#include "ProxyLog.h"

#include <stdexcept>

namespace {

const char* const TIMED_OUT = "Network timed out!";
const char* const TRANSMISSION_ERROR = "Network transmission error!";
const char* const RECORD_FORMAT_ERROR = "GetRecord: wrong answer format!";
const char* const CURRENT_RECORD_FORMAT_ERROR = "GetCurrentRecord: wrong answer format!";

// The shortest answers the server gives for one record.
const int RECORD_MIN_FIELDS = 11;
const int CURRENT_RECORD_MIN_FIELDS = 10;

QString WithArgument(const char* command, qint64 argument)
{
    return QLatin1String(command) + QString::number(argument);
}

int TimeoutOrDefault(int ms, int fallback)
{
    return ms > 0 ? ms : fallback;
}

// What the callers get as an exception is logged on its way: the client
// shows only the exception's fixed text.
[[noreturn]] void Fail(const char* text, const QString& detail)
{
    qCWarning(lcProxy).noquote() << text << detail;
    throw std::runtime_error(text);
}

} // namespace

std::atomic<int> CMetaDevice::s_nConnectTimeoutMs { CONNECT_TIMEOUT_MS };
std::atomic<int> CMetaDevice::s_nWaitTimeoutMs { WAIT_TIMEOUT_MS };

CMetaDevice::CMetaDevice(IDevice* local)
    : m_pLocal(local)
{
}

CMetaDevice::CMetaDevice(const QString& url)
    : m_strUrl(url)
{
}

CMetaDevice::~CMetaDevice()
{
    try {
        Uninitialize();
    } catch (const std::exception&) {
        // A proxy that never connected, or lost its server, has nothing
        // left to tell it.
    }
}

QString CMetaDevice::GetUrl() const
{
    return m_strUrl;
}

QStringList CMetaDevice::GetServerDevicesList()
{
    return CAnswerParser::ToFields(SendCommand(QStringLiteral("GetServerDevicesList")));
}

bool CMetaDevice::SelectServerDevice(const QString& name)
{
    return AskFlag(QStringLiteral("SelectServerDevice:") + name);
}

void CMetaDevice::SetTimeouts(int connectMs, int waitMs)
{
    s_nConnectTimeoutMs = TimeoutOrDefault(connectMs, CONNECT_TIMEOUT_MS);
    s_nWaitTimeoutMs = TimeoutOrDefault(waitMs, WAIT_TIMEOUT_MS);
}

bool CMetaDevice::Initialize()
{
    if (IsLocal())
        return m_pLocal->Initialize();
    if (Connect() && ReceiveGreeting())
        return true;
    qCWarning(lcProxy).noquote() << "no server at" << m_strUrl << m_socket.errorString();
    // Left half open, the next request or the destructor would wait in
    // vain for a server that never arrived.
    m_socket.abort();
    return false;
}

void CMetaDevice::Uninitialize()
{
    if (IsLocal()) {
        m_pLocal->Uninitialize();
        return;
    }
    try {
        SendCommand(QStringLiteral("Uninitialize"));
    } catch (const std::exception&) {
        CloseConnection();
        throw;
    }
    CloseConnection();
}

QString CMetaDevice::GetDevID()
{
    if (IsLocal())
        return m_pLocal->GetDevID();
    return CAnswerParser::ToText(SendCommand(QStringLiteral("GetDevID")));
}

IDevice* CMetaDevice::GetLocalDevice()
{
    return m_pLocal;
}

bool CMetaDevice::IsOnline()
{
    return IsLocal() ? m_pLocal->IsOnline() : AskFlag(QStringLiteral("IsOnline"));
}

bool CMetaDevice::IsError()
{
    return IsLocal() ? m_pLocal->IsError() : AskFlag(QStringLiteral("IsError"));
}

void CMetaDevice::KeyPressed(IDevice::KeyType key)
{
    if (IsLocal())
        m_pLocal->KeyPressed(key);
    else
        SendCommand(WithArgument("KeyPressed:", int(key)));
}

void CMetaDevice::SetRequest(IDevice::RequestType request)
{
    if (IsLocal())
        m_pLocal->SetRequest(request);
    else
        SendCommand(WithArgument("SetRequest:", int(request)));
}

QList<CLogRecord> CMetaDevice::GetLogRecords()
{
    if (IsLocal())
        return m_pLocal->GetLogRecords();
    return CAnswerParser::ToLogList(SendCommand(QStringLiteral("GetLogRecords")));
}

QList<CRecord> CMetaDevice::GetRealtimeRecords()
{
    if (IsLocal())
        return m_pLocal->GetRealtimeRecords();
    return CAnswerParser::ToRecordList(SendCommand(QStringLiteral("GetRealtimeRecords")));
}

void CMetaDevice::Clear()
{
    if (IsLocal())
        m_pLocal->Clear();
    else
        SendCommand(QStringLiteral("Clear"));
}

int CMetaDevice::GetCurrentMode()
{
    return IsLocal() ? m_pLocal->GetCurrentMode() : AskNumber(QStringLiteral("GetCurrentMode"));
}

int CMetaDevice::GetCurrentRecordIndex()
{
    return IsLocal() ? m_pLocal->GetCurrentRecordIndex() : AskNumber(QStringLiteral("GetCurrentRecordIndex"));
}

CRecord CMetaDevice::GetRecord(int index)
{
    if (IsLocal())
        return m_pLocal->GetRecord(index);
    CRecord record;
    if (!CAnswerParser::ToRecord(SendCommand(WithArgument("GetRecord:", index)), RECORD_MIN_FIELDS, record))
        Fail(RECORD_FORMAT_ERROR, WithArgument("record ", index));
    return record;
}

CRecord CMetaDevice::GetCurrentRecord()
{
    if (IsLocal())
        return m_pLocal->GetCurrentRecord();
    CRecord record;
    if (!CAnswerParser::ToRecord(SendCommand(QStringLiteral("GetCurrentRecord")), CURRENT_RECORD_MIN_FIELDS, record))
        Fail(CURRENT_RECORD_FORMAT_ERROR, m_strUrl);
    return record;
}

int CMetaDevice::GetCurrentBand()
{
    return IsLocal() ? m_pLocal->GetCurrentBand() : AskNumber(QStringLiteral("GetCurrentBand"));
}

unsigned char CMetaDevice::GetMenuValue(int index)
{
    if (IsLocal())
        return m_pLocal->GetMenuValue(index);
    const QByteArray answer = SendCommand(WithArgument("GetMenuValue:", index));
    return static_cast<unsigned char>(QByteArrayView(answer).toUInt() & 0xFF);
}

void CMetaDevice::SetMenuValue(int index, unsigned char value)
{
    if (IsLocal())
        m_pLocal->SetMenuValue(index, value);
    else
        SendCommand(WithArgument("SetMenuValue:", index) + QLatin1Char(':') + QString::number(value));
}

bool CMetaDevice::SetMenuData(QByteArray data)
{
    if (IsLocal())
        return m_pLocal->SetMenuData(data);
    // The block is binary: it goes out as it is, zero bytes included.
    return CAnswerParser::ToFlag(SendRawCommand(QByteArray("SetMenuData:") + data));
}

QByteArray CMetaDevice::GetMenuData()
{
    return IsLocal() ? m_pLocal->GetMenuData() : SendCommand(QStringLiteral("GetMenuData"));
}

int CMetaDevice::GetLogType()
{
    return IsLocal() ? m_pLocal->GetLogType() : AskNumber(QStringLiteral("GetLogType"));
}

QDateTime CMetaDevice::GetTime()
{
    if (IsLocal())
        return m_pLocal->GetTime();
    const QByteArray answer = SendCommand(QStringLiteral("GetTime"));
    return QDateTime::fromSecsSinceEpoch(qint64(QByteArrayView(answer).toULongLong()));
}

void CMetaDevice::SetTime(const QDateTime& time)
{
    if (IsLocal())
        m_pLocal->SetTime(time);
    else
        SendCommand(WithArgument("SetTime:", time.toSecsSinceEpoch()));
}

int CMetaDevice::GetLogLoadProgress()
{
    return IsLocal() ? m_pLocal->GetLogLoadProgress() : AskNumber(QStringLiteral("GetLogLoadProgress"));
}

bool CMetaDevice::IsRamOk()
{
    return IsLocal() ? m_pLocal->IsRamOk() : AskFlag(QStringLiteral("IsRamOk"));
}

bool CMetaDevice::IsFlashOk()
{
    return IsLocal() ? m_pLocal->IsFlashOk() : AskFlag(QStringLiteral("IsFlashOk"));
}

bool CMetaDevice::IsBatteryOk()
{
    return IsLocal() ? m_pLocal->IsBatteryOk() : AskFlag(QStringLiteral("IsBatteryOk"));
}

bool CMetaDevice::GetTestInterface(ITestDevice**)
{
    return false;
}

QByteArray CMetaDevice::SendCommand(const QString& command)
{
    return SendRawCommand(command.toUtf8());
}

QByteArray CMetaDevice::SendRawCommand(const QByteArray& request)
{
    WriteRequest(request);
    return ReadAnswer();
}

CRecord CMetaDevice::ParseRecord(QStringList fields, int& index)
{
    return CAnswerParser::ReadRecord(fields, index);
}

CLogRecord CMetaDevice::ParseLogRecord(QStringList fields, int& index)
{
    return CAnswerParser::ReadLogRecord(fields, index);
}

bool CMetaDevice::Connect()
{
    m_socket.abort();
    m_socket.connectToHost(m_strUrl, SERVER_PORT, QIODevice::ReadWrite);
    if (!m_socket.waitForConnected(s_nConnectTimeoutMs))
        return false;
    // Requests and answers are small: without this, Nagle's algorithm meets
    // delayed acknowledgements and each exchange can stall for 40 ms.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return true;
}

// The greeting is not framed; a greeting cut into pieces is still read whole.
bool CMetaDevice::ReceiveGreeting()
{
    const QByteArray expected("ack");
    QByteArray greeting;
    do {
        if (!WaitForData())
            return false;
        greeting += m_socket.readAll();
    } while (greeting.size() < expected.size() && expected.startsWith(greeting));
    return greeting == expected;
}

bool CMetaDevice::WaitForData()
{
    return m_socket.bytesAvailable() > 0 || m_socket.waitForReadyRead(s_nWaitTimeoutMs);
}

void CMetaDevice::WriteRequest(const QByteArray& request)
{
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        Fail(TIMED_OUT, QStringLiteral("not connected to ") + m_strUrl);
    // Whatever is left of an answer that went wrong must not pass for the
    // start of this one.
    m_socket.readAll();
    if (m_socket.write(request) != request.size())
        Fail(TIMED_OUT, m_socket.errorString());
    while (m_socket.bytesToWrite() > 0) {
        if (!m_socket.waitForBytesWritten(s_nWaitTimeoutMs))
            Fail(TIMED_OUT, m_socket.errorString());
    }
}

QByteArray CMetaDevice::ReadAnswer()
{
    CAnswerFrame frame;
    for (;;) {
        if (!WaitForData())
            Fail(TIMED_OUT, m_socket.errorString());
        switch (frame.Append(m_socket.readAll())) {
        case CAnswerFrame::Complete:
            return frame.Payload();
        case CAnswerFrame::Malformed:
            m_socket.readAll();
            Fail(TRANSMISSION_ERROR, m_strUrl);
        case CAnswerFrame::Incomplete:
            break;
        }
    }
}

void CMetaDevice::CloseConnection()
{
    m_socket.close();
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.waitForDisconnected(s_nWaitTimeoutMs);
}

int CMetaDevice::AskNumber(const QString& command)
{
    return CAnswerParser::ToNumber(SendCommand(command));
}

bool CMetaDevice::AskFlag(const QString& command)
{
    return CAnswerParser::ToFlag(SendCommand(command));
}
