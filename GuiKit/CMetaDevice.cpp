#include "CMetaDevice.h"

#include "CAnswerFrame.h"
#include "CAnswerParser.h"
#include "ProxyLog.h"
#include "ServerProtocol.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

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
std::atomic<int> CMetaDevice::s_nReconnectFirstMs { RECONNECT_FIRST_MS };
std::atomic<int> CMetaDevice::s_nReconnectMaxMs { RECONNECT_MAX_MS };
std::atomic<int> CMetaDevice::s_nReconnectAttemptMs { RECONNECT_ATTEMPT_MS };

CMetaDevice::CMetaDevice(IDevice* local)
    : m_pLocal(local)
    , m_reconnect(s_nReconnectFirstMs, s_nReconnectMaxMs)
{
}

CMetaDevice::CMetaDevice(const QString& url)
    : m_strUrl(url)
    , m_reconnect(s_nReconnectFirstMs, s_nReconnectMaxMs)
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
    // Another device may know the combined state where this one did not.
    m_eLiveState = Unknown;
    const bool selected = CAnswerParser::ToFlag(SendChange(Command(ServerProtocol::SelectServerDevice) + name));
    if (selected)
        m_strServerDevice = name;
    return selected;
}

void CMetaDevice::SetTimeouts(int connectMs, int waitMs)
{
    s_nConnectTimeoutMs = TimeoutOrDefault(connectMs, CONNECT_TIMEOUT_MS);
    s_nWaitTimeoutMs = TimeoutOrDefault(waitMs, WAIT_TIMEOUT_MS);
}

void CMetaDevice::SetReconnectTiming(int firstMs, int maxMs, int attemptMs)
{
    s_nReconnectFirstMs = TimeoutOrDefault(firstMs, RECONNECT_FIRST_MS);
    s_nReconnectMaxMs = TimeoutOrDefault(maxMs, RECONNECT_MAX_MS);
    s_nReconnectAttemptMs = TimeoutOrDefault(attemptMs, RECONNECT_ATTEMPT_MS);
}

bool CMetaDevice::Initialize()
{
    if (IsLocal())
        return m_pLocal->Initialize();
    m_reconnect.Stop();
    ForgetServer();
    if (Connect() && ReceiveGreeting())
        return true;
    qCWarning(lcProxy).noquote() << "no server at" << m_strUrl << m_socket.errorString();
    // Left half open, the next request or the destructor would wait in
    // vain for a server that never arrived.
    m_socket.abort();
    if (m_bFollow)
        StartReconnecting();
    return false;
}

void CMetaDevice::Uninitialize()
{
    if (IsLocal()) {
        m_pLocal->Uninitialize();
        return;
    }
    // Let go on purpose: a failure on the way is nothing to win back.
    m_reconnect.Stop();
    m_liveAge.invalidate();
    const bool follow = std::exchange(m_bFollow, false);
    try {
        SendCommand(Command(ServerProtocol::Uninitialize));
    } catch (const std::exception&) {
        CloseConnection();
        m_bFollow = follow;
        throw;
    }
    CloseConnection();
    m_bFollow = follow;
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
    if (IsLocal())
        return m_pLocal->IsOnline();
    return StateFlag(&LIVE_STATE::online, [this] { return AskFlag(Command(ServerProtocol::IsOnline)); });
}

bool CMetaDevice::IsError()
{
    if (IsLocal())
        return m_pLocal->IsError();
    return StateFlag(&LIVE_STATE::error, [this] { return AskFlag(Command(ServerProtocol::IsError)); });
}

void CMetaDevice::KeyPressed(IDevice::KeyType key)
{
    if (IsLocal())
        m_pLocal->KeyPressed(key);
    else
        SendChange(WithArgument(ServerProtocol::KeyPressed, int(key)));
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
    return CAnswerParser::ToFlag(SendChange(WithArgument(ServerProtocol::SetRequest, int(request))));
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
        SendChange(Command(ServerProtocol::Clear));
}

int CMetaDevice::GetCurrentMode()
{
    if (IsLocal())
        return m_pLocal->GetCurrentMode();
    const LIVE_STATE* state = LiveState();
    return state ? state->mode : AskNumber(Command(ServerProtocol::GetCurrentMode));
}

int CMetaDevice::GetCurrentRecordIndex()
{
    if (IsLocal())
        return m_pLocal->GetCurrentRecordIndex();
    const LIVE_STATE* state = LiveState();
    return state ? state->count : AskNumber(Command(ServerProtocol::GetCurrentRecordIndex));
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
    if (m_eBatches == Unknown) {
        const QString probe = WithArgument(ServerProtocol::GetRecords, 0) + QStringLiteral(":0");
        m_eBatches = SendCommand(probe) == "0" ? Served : Missing;
    }
    return m_eBatches == Served;
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
    if (IsLocal())
        return m_pLocal->GetCurrentBand();
    const LIVE_STATE* state = LiveState();
    return state ? state->band : AskNumber(Command(ServerProtocol::GetCurrentBand));
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
        SendChange(WithArgument(ServerProtocol::SetMenuValue, index) + QLatin1Char(ServerProtocol::SEPARATOR) + QString::number(value));
}

bool CMetaDevice::SetMenuData(QByteArray data)
{
    if (IsLocal())
        return m_pLocal->SetMenuData(data);
    // The block is binary: it goes out as it is, zero bytes included.
    m_liveAge.invalidate();
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
        SendChange(WithArgument(ServerProtocol::SetTime, time.toSecsSinceEpoch()));
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
    if (!m_socket.waitForConnected(Bounded(s_nConnectTimeoutMs)))
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
    return m_socket.bytesAvailable() > 0 || m_socket.waitForReadyRead(Bounded(s_nWaitTimeoutMs));
}

void CMetaDevice::WriteRequest(const QByteArray& request)
{
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        FailLink(QStringLiteral("not connected to ") + m_strUrl);
    // Whatever is left of an answer that went wrong must not pass for the
    // start of this one.
    m_socket.readAll();
    if (m_socket.write(request) != request.size())
        FailLink(m_socket.errorString());
    while (m_socket.bytesToWrite() > 0) {
        if (!m_socket.waitForBytesWritten(Bounded(s_nWaitTimeoutMs)))
            FailLink(m_socket.errorString());
    }
}

QByteArray CMetaDevice::ReadAnswer()
{
    CAnswerFrame frame;
    for (;;) {
        if (!WaitForData())
            FailLink(m_socket.errorString());
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

QByteArray CMetaDevice::SendChange(const QString& command)
{
    m_liveAge.invalidate();
    return SendCommand(command);
}

// ---------------------------------------------------------------------------
// Following the detector live

void CMetaDevice::FollowLive(bool on)
{
    m_bFollow = on && !IsLocal();
    m_liveAge.invalidate();
    if (!m_bFollow)
        m_reconnect.Stop();
    else if (!m_strUrl.isEmpty() && m_socket.state() != QAbstractSocket::ConnectedState && !m_reconnect.Active())
        StartReconnecting();
}

bool CMetaDevice::IsReconnecting() const
{
    return m_reconnect.Active();
}

// The cached combined state, asked anew once it is older than a tick; null
// when the server does not know it, or while the link is down.
const LIVE_STATE* CMetaDevice::LiveState()
{
    if (!m_bFollow || !LinkUp() || m_eLiveState == Missing)
        return nullptr;
    if (m_liveAge.isValid() && m_liveAge.elapsed() < LIVE_STATE_MAX_AGE_MS)
        return &m_live;
    LIVE_STATE state;
    if (!CAnswerParser::ToLiveState(SendCommand(Command(ServerProtocol::GetLiveState)), state)) {
        if (m_eLiveState == Unknown)
            m_eLiveState = Missing;
        return nullptr;
    }
    m_eLiveState = Served;
    m_live = state;
    m_liveAge.start();
    return &m_live;
}

// A followed link that is down, or goes down now, reads as "no": the poll
// then shows the device offline instead of an error every tick.
template <typename Query>
bool CMetaDevice::StateFlag(bool LIVE_STATE::*field, Query ask)
{
    if (!m_bFollow)
        return ask();
    try {
        const LIVE_STATE* state = LiveState();
        return state ? state->*field : (LinkUp() && ask());
    } catch (const std::exception&) {
        if (m_reconnect.Active())
            return false;
        throw;
    }
}

void CMetaDevice::FailLink(const QString& detail)
{
    if (m_bFollow && !m_reconnect.Active() && !m_strUrl.isEmpty())
        StartReconnecting();
    Fail(TIMED_OUT, detail);
}

// True while connected; a due attempt is made first.
bool CMetaDevice::LinkUp()
{
    if (m_reconnect.Due())
        TryReconnect();
    return !m_reconnect.Active();
}

void CMetaDevice::StartReconnecting()
{
    qCWarning(lcProxy).noquote() << "lost the server at" << m_strUrl << "- reconnecting";
    // What is still on its way belongs to the connection that went.
    m_socket.abort();
    m_liveAge.invalidate();
    m_reconnect.SetDelays(s_nReconnectFirstMs, s_nReconnectMaxMs);
    m_reconnect.Start();
    Q_EMIT connectionLost();
}

void CMetaDevice::TryReconnect()
{
    ForgetServer();
    m_attempt.setRemainingTime(s_nReconnectAttemptMs);
    bool won = false;
    try {
        won = Connect() && ReceiveGreeting() && Reattach();
    } catch (const std::exception&) {
        won = false;
    }
    m_attempt = QDeadlineTimer(QDeadlineTimer::Forever);
    if (!won) {
        m_socket.abort();
        m_reconnect.Failed();
        qCDebug(lcProxy).noquote() << "no server at" << m_strUrl << "yet; next try in" << m_reconnect.Delay() << "ms";
        return;
    }
    m_reconnect.Stop();
    ++m_nReconnections;
    qCInfo(lcProxy).noquote() << "reconnected to" << m_strUrl;
    Q_EMIT reconnected();
}

// A server that started again serves the first of its devices until told
// otherwise.
bool CMetaDevice::Reattach()
{
    return m_strServerDevice.isEmpty() || SelectServerDevice(m_strServerDevice);
}

// The new connection may lead to another program version.
void CMetaDevice::ForgetServer()
{
    m_eBatches = Unknown;
    m_eLiveState = Unknown;
    m_liveAge.invalidate();
}

// A wait, cut short to what is left of a reconnection attempt.
int CMetaDevice::Bounded(int ms) const
{
    const qint64 left = m_attempt.remainingTime();
    return left < 0 ? ms : int(std::min<qint64>(left, ms));
}
