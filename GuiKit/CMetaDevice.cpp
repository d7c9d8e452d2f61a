#include "CMetaDevice.h"

#include "CAnswerFrame.h"
#include "CAnswerParser.h"
#include "ProxyLog.h"
#include "ServerProtocol.h"

#include <stdexcept>

namespace {

const char* const TIMED_OUT = "Network timed out!";
const char* const TRANSMISSION_ERROR = "Network transmission error!";
const char* const RECORD_FORMAT_ERROR = "GetRecord: wrong answer format!";
const char* const CURRENT_RECORD_FORMAT_ERROR = "GetCurrentRecord: wrong answer format!";

QString Command(ServerProtocol::Request request)
{
    return QLatin1String(ServerProtocol::Text(request));
}

QString WithArgument(ServerProtocol::Request request, qint64 argument)
{
    return Command(request) + QString::number(argument);
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
    return CAnswerParser::ToFields(SendCommand(Command(ServerProtocol::GetServerDevicesList)));
}

bool CMetaDevice::SelectServerDevice(const QString& name)
{
    return AskFlag(Command(ServerProtocol::SelectServerDevice) + name);
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
    m_eBatches = BatchesUnknown;
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
        SendCommand(Command(ServerProtocol::Uninitialize));
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
    return CAnswerParser::ToText(SendCommand(Command(ServerProtocol::GetDevID)));
}

IDevice* CMetaDevice::GetLocalDevice()
{
    return m_pLocal;
}

bool CMetaDevice::IsOnline()
{
    return IsLocal() ? m_pLocal->IsOnline() : AskFlag(Command(ServerProtocol::IsOnline));
}

bool CMetaDevice::IsError()
{
    return IsLocal() ? m_pLocal->IsError() : AskFlag(Command(ServerProtocol::IsError));
}

void CMetaDevice::KeyPressed(IDevice::KeyType key)
{
    if (IsLocal())
        m_pLocal->KeyPressed(key);
    else
        SendCommand(WithArgument(ServerProtocol::KeyPressed, int(key)));
}

void CMetaDevice::SetRequest(IDevice::RequestType request)
{
    Request(request);
}

bool CMetaDevice::Request(IDevice::RequestType request)
{
    if (IsLocal()) {
        m_pLocal->SetRequest(request);
        return true;
    }
    return AskFlag(WithArgument(ServerProtocol::SetRequest, int(request)));
}

QList<CLogRecord> CMetaDevice::GetLogRecords()
{
    if (IsLocal())
        return m_pLocal->GetLogRecords();
    return CAnswerParser::ToLogList(SendCommand(Command(ServerProtocol::GetLogRecords)));
}

QList<CRecord> CMetaDevice::GetRealtimeRecords()
{
    if (IsLocal())
        return m_pLocal->GetRealtimeRecords();
    return CAnswerParser::ToRecordList(SendCommand(Command(ServerProtocol::GetRealtimeRecords)));
}

void CMetaDevice::Clear()
{
    if (IsLocal())
        m_pLocal->Clear();
    else
        SendCommand(Command(ServerProtocol::Clear));
}

int CMetaDevice::GetCurrentMode()
{
    return IsLocal() ? m_pLocal->GetCurrentMode() : AskNumber(Command(ServerProtocol::GetCurrentMode));
}

int CMetaDevice::GetCurrentRecordIndex()
{
    return IsLocal() ? m_pLocal->GetCurrentRecordIndex() : AskNumber(Command(ServerProtocol::GetCurrentRecordIndex));
}

CRecord CMetaDevice::GetRecord(int index)
{
    if (IsLocal())
        return m_pLocal->GetRecord(index);
    CRecord record;
    if (!CAnswerParser::ToRecord(SendCommand(WithArgument(ServerProtocol::GetRecord, index)), ServerProtocol::RECORD_MIN_FIELDS, record))
        Fail(RECORD_FORMAT_ERROR, QStringLiteral("record ") + QString::number(index));
    return record;
}

QList<CRecord> CMetaDevice::GetRecords(int first, int count)
{
    QList<CRecord> records;
    if (count <= 0 || first < 0)
        return records;
    if (!IsLocal() && ServerSendsBatches()) {
        const QString request = WithArgument(ServerProtocol::GetRecords, first) + QLatin1Char(ServerProtocol::SEPARATOR)
            + QString::number(ServerProtocol::RECORD_BATCH);
        records = CAnswerParser::ToRecordList(SendCommand(request));
        if (records.size() > count)
            records.resize(count);
        return records;
    }
    for (int i = first; i < first + count; ++i)
        records.append(GetRecord(i));
    return records;
}

bool CMetaDevice::ServerSendsBatches()
{
    if (m_eBatches == BatchesUnknown) {
        const QString probe = WithArgument(ServerProtocol::GetRecords, 0) + QStringLiteral(":0");
        m_eBatches = SendCommand(probe) == "0" ? BatchesServed : BatchesMissing;
    }
    return m_eBatches == BatchesServed;
}

CRecord CMetaDevice::GetCurrentRecord()
{
    if (IsLocal())
        return m_pLocal->GetCurrentRecord();
    CRecord record;
    if (!CAnswerParser::ToRecord(SendCommand(Command(ServerProtocol::GetCurrentRecord)), ServerProtocol::CURRENT_RECORD_MIN_FIELDS, record))
        Fail(CURRENT_RECORD_FORMAT_ERROR, m_strUrl);
    return record;
}

int CMetaDevice::GetCurrentBand()
{
    return IsLocal() ? m_pLocal->GetCurrentBand() : AskNumber(Command(ServerProtocol::GetCurrentBand));
}

unsigned char CMetaDevice::GetMenuValue(int index)
{
    if (IsLocal())
        return m_pLocal->GetMenuValue(index);
    const QByteArray answer = SendCommand(WithArgument(ServerProtocol::GetMenuValue, index));
    return static_cast<unsigned char>(QByteArrayView(answer).toUInt() & 0xFF);
}

void CMetaDevice::SetMenuValue(int index, unsigned char value)
{
    if (IsLocal())
        m_pLocal->SetMenuValue(index, value);
    else
        SendCommand(WithArgument(ServerProtocol::SetMenuValue, index) + QLatin1Char(ServerProtocol::SEPARATOR) + QString::number(value));
}

bool CMetaDevice::SetMenuData(QByteArray data)
{
    if (IsLocal())
        return m_pLocal->SetMenuData(data);
    // The block is binary: it goes out as it is, zero bytes included.
    return CAnswerParser::ToFlag(SendRawCommand(ServerProtocol::Text(ServerProtocol::SetMenuData) + data));
}

QByteArray CMetaDevice::GetMenuData()
{
    return IsLocal() ? m_pLocal->GetMenuData() : SendCommand(Command(ServerProtocol::GetMenuData));
}

int CMetaDevice::GetLogType()
{
    return IsLocal() ? m_pLocal->GetLogType() : AskNumber(Command(ServerProtocol::GetLogType));
}

QDateTime CMetaDevice::GetTime()
{
    if (IsLocal())
        return m_pLocal->GetTime();
    const QByteArray answer = SendCommand(Command(ServerProtocol::GetTime));
    return QDateTime::fromSecsSinceEpoch(qint64(QByteArrayView(answer).toULongLong()));
}

void CMetaDevice::SetTime(const QDateTime& time)
{
    if (IsLocal())
        m_pLocal->SetTime(time);
    else
        SendCommand(WithArgument(ServerProtocol::SetTime, time.toSecsSinceEpoch()));
}

int CMetaDevice::GetLogLoadProgress()
{
    return IsLocal() ? m_pLocal->GetLogLoadProgress() : AskNumber(Command(ServerProtocol::GetLogLoadProgress));
}

bool CMetaDevice::IsRamOk()
{
    return IsLocal() ? m_pLocal->IsRamOk() : AskFlag(Command(ServerProtocol::IsRamOk));
}

bool CMetaDevice::IsFlashOk()
{
    return IsLocal() ? m_pLocal->IsFlashOk() : AskFlag(Command(ServerProtocol::IsFlashOk));
}

bool CMetaDevice::IsBatteryOk()
{
    return IsLocal() ? m_pLocal->IsBatteryOk() : AskFlag(Command(ServerProtocol::IsBatteryOk));
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
    m_socket.connectToHost(m_strUrl, ServerProtocol::PORT, QIODevice::ReadWrite);
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
    const QByteArray expected(ServerProtocol::GREETING);
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
