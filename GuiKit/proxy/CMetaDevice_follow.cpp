// The proxy's calls for a client that follows the detector live: one state
// exchange per tick with the tick's records asked in the same write, waits
// bounded for the window's sake, and a lost server won back with back-off.
#include "proxy/CMetaDevice.h"

#include "protocol/CAnswerParser.h"
#include "protocol/ServerProtocol.h"
#include "proxy/ProxyLog.h"

#include <algorithm>
#include <stdexcept>

namespace {

const char* const TIMED_OUT = "Network timed out!";

} // namespace

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

void CMetaDevice::ExpectRecordsFrom(int first)
{
    m_nExpectedFirst = first;
}

// The cached combined state, asked anew once it is older than a tick; the
// last one known while answers are owed; null when the server does not know
// it, or while the link is down.
const LIVE_STATE* CMetaDevice::LiveState()
{
    if (!m_bFollow || !LinkUp() || m_eLiveState == Missing)
        return nullptr;
    if (!Settled())
        return &m_live;
    if (m_liveAge.isValid() && m_liveAge.elapsed() < LIVE_STATE_MAX_AGE_MS)
        return &m_live;
    return AskLiveState();
}

const LIVE_STATE* CMetaDevice::AskLiveState()
{
    if (m_nPrefetchFirst != m_nExpectedFirst)
        DropPrefetch();
    // The records go first: a number at the end of the write would keep
    // the server waiting a moment for more digits.
    const bool records
        = m_nExpectedFirst >= 0 && m_nPrefetchFirst < 0 && m_eLiveState == Served && ServerSendsBatches();
    const QString state = QLatin1String(ServerProtocol::Text(ServerProtocol::GetLiveState));
    WriteRequest((records ? RecordsRequest(m_nExpectedFirst) + state : state).toUtf8());
    if (records)
        m_owed.append({ true, m_nExpectedFirst });
    m_owed.append({ false, 0 });
    if (!Collect(QDeadlineTimer(s_nLiveWaitMs))) {
        StartWaiting();
        return &m_live;
    }
    return m_eLiveState == Missing ? nullptr : &m_live;
}

QString CMetaDevice::RecordsRequest(int first) const
{
    return QLatin1String(ServerProtocol::Text(ServerProtocol::GetRecords)) + QString::number(first)
        + QLatin1Char(ServerProtocol::SEPARATOR) + QString::number(ServerProtocol::RECORD_BATCH);
}

bool CMetaDevice::TakePrefetched(int first, QList<CRecord>& records)
{
    if (m_nPrefetchFirst < 0 || m_nPrefetchFirst != first)
        return false;
    records = std::move(m_prefetch);
    DropPrefetch();
    return true;
}

void CMetaDevice::DropPrefetch()
{
    m_nPrefetchFirst = -1;
    m_prefetch.clear();
}

// A batch the tick's write did not bring. Its answer, if late, is kept for
// the next call that asks for the same records: on a link too slow for one
// tick the feed still moves on.
QList<CRecord> CMetaDevice::FetchRecords(int first)
{
    if (!Settled())
        throw std::runtime_error(TIMED_OUT);
    WriteRequest(RecordsRequest(first).toUtf8());
    m_owed.append({ true, first });
    if (!Collect(QDeadlineTimer(s_nLiveWaitMs))) {
        StartWaiting();
        throw std::runtime_error(TIMED_OUT);
    }
    QList<CRecord> records;
    TakePrefetched(first, records);
    return records;
}

// Reads the answers owed, in order, within the budget.
bool CMetaDevice::Collect(const QDeadlineTimer& budget)
{
    while (!m_owed.isEmpty()) {
        QByteArray payload;
        if (!Receive(payload, true, budget))
            return false;
        const OWED owed = m_owed.takeFirst();
        Accept(owed.records, owed.first, payload);
    }
    StopWaiting();
    return true;
}

void CMetaDevice::Accept(bool records, int first, const QByteArray& payload)
{
    if (records) {
        m_prefetch = CAnswerParser::ToRecordList(payload);
        m_nPrefetchFirst = first;
        return;
    }
    LIVE_STATE state;
    if (CAnswerParser::ToLiveState(payload, state)) {
        m_eLiveState = Served;
        m_live = state;
        m_liveAge.start();
    } else if (m_eLiveState == Unknown) {
        m_eLiveState = Missing;
    }
}

// Takes what has come of the answers owed, without waiting: true once none
// is owed. A server silent for the whole wait time-out is lost.
bool CMetaDevice::Settled()
{
    if (m_owed.isEmpty() || Collect(QDeadlineTimer(0)))
        return true;
    if (m_silence.isValid() && m_silence.elapsed() >= s_nWaitTimeoutMs)
        FailLink(QStringLiteral("no answer for %1 ms").arg(m_silence.elapsed()));
    return false;
}

void CMetaDevice::StartWaiting()
{
    if (m_silence.isValid())
        return;
    m_silence.start();
    qCWarning(lcProxy).noquote() << "the server at" << m_strUrl << "does not answer; waiting";
    Q_EMIT waiting(true);
}

void CMetaDevice::StopWaiting()
{
    if (!m_silence.isValid())
        return;
    qCInfo(lcProxy).noquote() << "the server at" << m_strUrl << "answers again after" << m_silence.elapsed() << "ms";
    m_silence.invalidate();
    Q_EMIT waiting(false);
}

void CMetaDevice::FailLink(const QString& detail)
{
    if (m_bFollow && !m_reconnect.Active() && !m_strUrl.isEmpty())
        StartReconnecting();
    qCWarning(lcProxy).noquote() << TIMED_OUT << detail;
    throw std::runtime_error(TIMED_OUT);
}

// True while connected. A due attempt goes on first, but not twice in a
// row within one attempt's wait: one tick asks several questions.
bool CMetaDevice::LinkUp()
{
    if (m_reconnect.Due() && (!m_attemptAge.isValid() || m_attempt.hasExpired()))
        TryReconnect();
    return !m_reconnect.Active();
}

void CMetaDevice::StartReconnecting()
{
    qCWarning(lcProxy).noquote() << "lost the server at" << m_strUrl << "- reconnecting";
    // What is still on its way belongs to the connection that went.
    m_socket.abort();
    ForgetAnswers();
    m_liveAge.invalidate();
    m_attemptAge.invalidate();
    m_reconnect.SetDelays(s_nReconnectFirstMs, s_nReconnectMaxMs);
    m_reconnect.Start();
    Q_EMIT connectionLost();
}

// One step of an attempt: connect, greeting, the device selected again. A
// step that needs longer than the call may wait goes on at a later call,
// until the connect time-out gives the attempt up.
void CMetaDevice::TryReconnect()
{
    if (!m_attemptAge.isValid()) {
        ForgetServer();
        StartConnecting();
        m_attemptAge.start();
    }
    m_attempt.setRemainingTime(s_nReconnectAttemptMs);
    Attempt outcome = AttemptPending;
    m_bReattaching = true;
    try {
        outcome = AttemptStep();
    } catch (const std::exception&) {
        outcome = AttemptLost;
    }
    m_bReattaching = false;
    if (outcome == AttemptPending && m_attemptAge.elapsed() < s_nConnectTimeoutMs) {
        m_attempt.setRemainingTime(s_nReconnectAttemptMs); // the pause before the next step
        return;
    }
    m_attemptAge.invalidate();
    if (outcome != AttemptWon) {
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

CMetaDevice::Attempt CMetaDevice::AttemptStep()
{
    if (!Connected(Bounded(s_nConnectTimeoutMs)))
        return m_socket.state() == QAbstractSocket::UnconnectedState ? AttemptLost : AttemptPending;
    if (!Greeted(m_attempt))
        return QByteArray(ServerProtocol::GREETING).startsWith(m_greeting) ? AttemptPending : AttemptLost;
    return Authenticated() && Reattach() ? AttemptWon : AttemptLost;
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
    ForgetAnswers();
}

void CMetaDevice::ForgetAnswers()
{
    m_owed.clear();
    m_answers.Clear();
    DropPrefetch();
    StopWaiting();
}

// A wait, cut short to what is left of a reconnection attempt's step.
int CMetaDevice::Bounded(int ms) const
{
    const qint64 left = m_bReattaching ? m_attempt.remainingTime() : -1;
    return left < 0 ? ms : int(std::min<qint64>(left, ms));
}

int CMetaDevice::Bounded(int ms, const QDeadlineTimer& budget) const
{
    const int bounded = Bounded(ms);
    const qint64 left = budget.remainingTime();
    return left < 0 ? bounded : int(std::min<qint64>(left, bounded));
}
