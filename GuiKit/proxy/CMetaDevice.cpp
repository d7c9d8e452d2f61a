#include "proxy/CMetaDevice.h"

#include "protocol/CAnswerParser.h"
#include "protocol/CCertificateFingerprint.h"
#include "protocol/ServerProtocol.h"
#include "proxy/ProxyLog.h"

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
std::atomic<int> CMetaDevice::s_nLiveWaitMs { LIVE_WAIT_MS };
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
    , m_address(url)
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

void CMetaDevice::SetCredentials(const QString& fingerprint, const QString& key)
{
    m_strFingerprint = fingerprint.toLower();
    m_strKey = key;
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

void CMetaDevice::SetTimeouts(int connectMs, int waitMs, int liveWaitMs)
{
    s_nConnectTimeoutMs = TimeoutOrDefault(connectMs, CONNECT_TIMEOUT_MS);
    s_nWaitTimeoutMs = TimeoutOrDefault(waitMs, WAIT_TIMEOUT_MS);
    s_nLiveWaitMs = TimeoutOrDefault(liveWaitMs, LIVE_WAIT_MS);
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
    m_attemptAge.invalidate();
    ForgetServer();
    m_eRefusal = NotRefused;
    if (Connect() && ReceiveGreeting() && Authenticated())
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
    if (!CAnswerParser::ToRecord(SendCommand(WithArgument(ServerProtocol::GetRecord, index)),
            ServerProtocol::RECORD_MIN_FIELDS, record))
        Fail(RECORD_FORMAT_ERROR, QStringLiteral("record ") + QString::number(index));
    return record;
}

QList<CRecord> CMetaDevice::GetRecords(int first, int count)
{
    QList<CRecord> records;
    if (count <= 0 || first < 0)
        return records;
    if (!IsLocal() && ServerSendsBatches()) {
        if (!TakePrefetched(first, records))
            records = m_bFollow ? FetchRecords(first) : CAnswerParser::ToRecordList(SendCommand(RecordsRequest(first)));
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
    if (!CAnswerParser::ToRecord(SendCommand(Command(ServerProtocol::GetCurrentRecord)),
            ServerProtocol::CURRENT_RECORD_MIN_FIELDS, record))
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
        SendChange(WithArgument(ServerProtocol::SetMenuValue, index) + QLatin1Char(ServerProtocol::SEPARATOR)
            + QString::number(value));
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
    // Nothing but the attempt itself talks to a server being won back.
    if (m_reconnect.Active() && !m_bReattaching)
        Fail(TIMED_OUT, QStringLiteral("still reconnecting to ") + m_strUrl);
    if (!Settled())
        Fail(TIMED_OUT, m_strUrl + QStringLiteral(" has not answered yet"));
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
    StartConnecting();
    return Connected(Bounded(s_nConnectTimeoutMs));
}

void CMetaDevice::StartConnecting()
{
    m_socket.abort();
    ForgetAnswers();
    m_greeting.clear();
    if (!m_address.IsEncrypted()) {
        m_socket.connectToHost(m_address.Host(), m_address.Port(), QIODevice::ReadWrite);
        return;
    }
    // The server's certificate is its own, signed by nobody: it is trusted
    // by its fingerprint alone, checked once encrypted.
    m_socket.setPeerVerifyMode(QSslSocket::QueryPeer);
    m_socket.setProtocol(QSsl::TlsV1_2OrLater);
    m_socket.connectToHostEncrypted(m_address.Host(), m_address.Port(), QIODevice::ReadWrite);
}

bool CMetaDevice::Connected(int waitMs)
{
    QDeadlineTimer deadline(waitMs);
    if (m_socket.state() != QAbstractSocket::ConnectedState && !m_socket.waitForConnected(waitMs))
        return false;
    if (m_address.IsEncrypted() && !m_socket.isEncrypted()) {
        if (!m_socket.waitForEncrypted(int(std::max<qint64>(0, deadline.remainingTime()))))
            return false;
        if (!IdentityAccepted())
            return false;
    }
    // Requests and answers are small: without this, Nagle's algorithm meets
    // delayed acknowledgements and each exchange can stall for 40 ms.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return true;
}

// The fingerprint is the whole trust: a server not known yet is refused
// as firmly as one that changed, and the caller asks its user.
bool CMetaDevice::IdentityAccepted()
{
    m_strPeerFingerprint = CCertificateFingerprint::Of(m_socket.peerCertificate());
    if (!m_strFingerprint.isEmpty() && m_strPeerFingerprint == m_strFingerprint)
        return true;
    m_eRefusal = m_strFingerprint.isEmpty() ? UnknownServer : ChangedServer;
    qCWarning(lcProxy).noquote() << (m_eRefusal == UnknownServer ? "unknown server" : "SERVER IDENTITY CHANGED:")
                                 << m_strUrl << "shows the fingerprint" << m_strPeerFingerprint;
    m_socket.abort();
    return false;
}

bool CMetaDevice::Authenticated()
{
    if (!m_address.IsEncrypted() && m_strKey.isEmpty())
        return true;
    if (CAnswerParser::ToFlag(
            SendRawCommand(QByteArray(ServerProtocol::Text(ServerProtocol::Auth)) + m_strKey.toUtf8())))
        return true;
    m_eRefusal = KeyRefused;
    qCWarning(lcProxy).noquote() << "the server at" << m_strUrl << "refused the access key";
    m_socket.abort();
    return false;
}

bool CMetaDevice::ReceiveGreeting()
{
    m_greeting.clear();
    return Greeted(QDeadlineTimer(QDeadlineTimer::Forever));
}

// The greeting is not framed; a greeting cut into pieces is still read
// whole, and one read in part within the budget goes on at the next call.
bool CMetaDevice::Greeted(const QDeadlineTimer& budget)
{
    const QByteArray expected(ServerProtocol::GREETING);
    while (m_greeting.size() < expected.size() && expected.startsWith(m_greeting)) {
        if (!WaitForData(budget))
            return false;
        m_greeting += m_socket.readAll();
    }
    return m_greeting == expected;
}

bool CMetaDevice::WaitForData(const QDeadlineTimer& budget)
{
    return m_socket.bytesAvailable() > 0 || m_socket.waitForReadyRead(Bounded(s_nWaitTimeoutMs, budget));
}

void CMetaDevice::WriteRequest(const QByteArray& request)
{
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        FailLink(QStringLiteral("not connected to ") + m_strUrl);
    // Whatever is left of an answer that went wrong must not pass for the
    // start of this one; answers owed are no leftovers.
    if (m_owed.isEmpty()) {
        m_answers.Clear();
        m_socket.readAll();
    }
    if (m_socket.write(request) != request.size())
        FailLink(m_socket.errorString());
    // TLS would encrypt it only at the next turn of an event loop.
    m_socket.flush();
    while (m_socket.bytesToWrite() > 0) {
        if (!m_socket.waitForBytesWritten(Bounded(s_nWaitTimeoutMs)))
            FailLink(m_socket.errorString());
    }
}

QByteArray CMetaDevice::ReadAnswer()
{
    QByteArray payload;
    Receive(payload, false, QDeadlineTimer(QDeadlineTimer::Forever));
    return payload;
}

// The next answer, waited for at most the budget: false when it ran out
// with the link still up. followed: more answers of ours come after it.
bool CMetaDevice::Receive(QByteArray& payload, bool followed, const QDeadlineTimer& budget)
{
    for (;;) {
        CAnswerStream::State state = m_answers.Next(followed, payload);
        if (state == CAnswerStream::Complete)
            return true;
        if (state == CAnswerStream::Incomplete) {
            if (!WaitForData(budget)) {
                if (m_socket.state() == QAbstractSocket::ConnectedState && !budget.isForever() && budget.hasExpired())
                    return false;
                FailLink(m_socket.errorString());
            }
            state = m_answers.Append(m_socket.readAll());
        }
        if (state == CAnswerStream::Malformed) {
            // Behind answers owed, no later answer could be told apart.
            if (!m_owed.isEmpty())
                FailLink(QStringLiteral("a garbled answer from ") + m_strUrl);
            m_answers.Clear();
            m_socket.readAll();
            Fail(TRANSMISSION_ERROR, m_strUrl);
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
    DropPrefetch();
    return SendCommand(command);
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
