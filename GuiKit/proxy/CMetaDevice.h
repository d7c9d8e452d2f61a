#pragma once

#include "GuiKitExport.h"
#include "IDevice.h"
#include "protocol/CAnswerStream.h"
#include "protocol/CServerAddress.h"
#include "protocol/LIVE_STATE.h"
#include "protocol/ServerProtocol.h"
#include "proxy/CReconnectSchedule.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSslSocket>
#include <QStringList>

#include <atomic>

class CRZ450MetaDevice;

// The one device the program and the device GUIs talk to. Built around a
// local driver object it forwards every call unchanged; built around a
// server address (see CServerAddress) it turns every call into one text
// command to the server and its answer in "<D>" ... "</D>": on port 7777 in
// clear, or on the encrypted port over TLS, where the server must show the
// certificate whose fingerprint it was given and takes its access key.
//
// In network mode every operation blocks the calling thread (the thread that
// created the proxy) and may throw std::runtime_error with "Network timed
// out!" or "Network transmission error!"; GetRecord and GetCurrentRecord
// also with their format errors.
//
// A program that follows the detector live turns on FollowLive: see there.
class GUIKIT_EXPORT CMetaDevice : public IDevice
{
    Q_OBJECT

public:
    static constexpr quint16 SERVER_PORT = ServerProtocol::PORT;
    static constexpr int CONNECT_TIMEOUT_MS = 4000;
    static constexpr int WAIT_TIMEOUT_MS = 30000;
    // Below one poll tick of the client: the state queries of one tick
    // share an answer, those of the next do not.
    static constexpr int LIVE_STATE_MAX_AGE_MS = 15;
    // The longest a followed link holds the calling thread for the tick's
    // exchange: a window must stay responsive while its server is silent.
    // Answers that come later are still read, on a later call.
    static constexpr int LIVE_WAIT_MS = 60;
    static constexpr int RECONNECT_FIRST_MS = 500;
    static constexpr int RECONNECT_MAX_MS = 15000;
    // The longest one call holds the calling thread for a reconnection
    // attempt; an attempt that needs longer goes on at the next call, up to
    // the connect time-out.
    static constexpr int RECONNECT_ATTEMPT_MS = 80;

    // Local mode; a null device gives a network proxy without an address,
    // which never connects.
    explicit CMetaDevice(IDevice* local);
    // Network mode; construction does not connect, Initialize does.
    explicit CMetaDevice(const QString& url);
    // Uninitializes, swallowing a network error: a destructor must not throw.
    ~CMetaDevice() override;

    QString GetUrl() const;
    bool IsEncrypted() const { return m_address.IsEncrypted(); }

    // For an encrypted server: the fingerprint its certificate must have
    // (empty: none known yet, and the connection is refused) and the access
    // key to give it. A plain server is given the key too, when there is one.
    void SetCredentials(const QString& fingerprint, const QString& key);
    enum Refusal { NotRefused, UnknownServer, ChangedServer, KeyRefused };
    // Why the last connection was refused on the server's account, and the
    // fingerprint the server showed.
    Refusal LastRefusal() const { return m_eRefusal; }
    QString PeerFingerprint() const { return m_strPeerFingerprint; }
    QStringList GetServerDevicesList();
    bool SelectServerDevice(const QString& name);

    // Live records first .. first + count - 1 that exist: from a server
    // that knows the batch request in one exchange, otherwise one by one.
    QList<CRecord> GetRecords(int first, int count);

    // A follower about to read the live records from first on: a followed
    // link asks for them in the same write as the state, and GetRecords
    // (first, ...) is answered from that. Negative: no guess.
    void ExpectRecordsFrom(int first);

    // Only tests shorten them; 0 or less restores the defaults.
    static void SetTimeouts(int connectMs, int waitMs, int liveWaitMs = 0);
    static void SetReconnectTiming(int firstMs, int maxMs, int attemptMs);

    // For a client polling the detector (network mode only):
    //  - IsOnline, IsError, GetCurrentMode, GetCurrentRecordIndex and
    //    GetCurrentBand are answered from one "GetLiveState" exchange, kept
    //    for LIVE_STATE_MAX_AGE_MS and dropped by every change sent; a server
    //    that does not know it is asked as before.
    //  - A server that does not answer within LIVE_WAIT_MS leaves its
    //    answers owed: until they come, the state is the last one known,
    //    GetRecords and the other calls fail at once, and waiting(true) is
    //    signalled; silent for the whole wait time-out, it is lost.
    //  - A lost connection (or one never made) is won back by itself: the
    //    call that met the loss still throws, but from then on IsOnline and
    //    IsError answer false without network I/O, other calls fail at
    //    once, and now and then (with back-off) one of them tries to
    //    connect again, select the same server device, and go on.
    // Off, every call is its own exchange and a lost connection stays lost.
    void FollowLive(bool on = true);
    bool IsReconnecting() const;
    bool IsWaiting() const { return m_silence.isValid(); }
    // Connections won back since construction.
    int Reconnections() const { return m_nReconnections; }

Q_SIGNALS:
    void connectionLost();
    void reconnected();
    // A followed server stopped answering (true) or answers again (false).
    void waiting(bool on);

public:
    bool Initialize() override;
    void Uninitialize() override;
    QString GetDevID() override;
    IDevice* GetLocalDevice() override;
    bool IsOnline() override;
    bool IsError() override;
    void KeyPressed(IDevice::KeyType key) override;
    void SetRequest(IDevice::RequestType request) override;
    // As SetRequest, and false when a server refused it (a read-only
    // connection) or did not answer; a detector on this computer takes it.
    bool Request(IDevice::RequestType request);
    QList<CLogRecord> GetLogRecords() override;
    QList<CRecord> GetRealtimeRecords() override;
    void Clear() override;
    int GetCurrentMode() override;
    int GetCurrentRecordIndex() override;
    CRecord GetRecord(int index) override;
    CRecord GetCurrentRecord() override;
    int GetCurrentBand() override;
    unsigned char GetMenuValue(int index) override;
    void SetMenuValue(int index, unsigned char value) override;
    bool SetMenuData(QByteArray data) override;
    QByteArray GetMenuData() override;
    int GetLogType() override;
    QDateTime GetTime() override;
    void SetTime(const QDateTime& time) override;
    int GetLogLoadProgress() override;
    bool IsRamOk() override;
    bool IsFlashOk() override;
    bool IsBatteryOk() override;
    bool GetTestInterface(ITestDevice** test) override;

protected:
    QByteArray SendCommand(const QString& command);
    QByteArray SendRawCommand(const QByteArray& request);
    CRecord ParseRecord(QStringList fields, int& index);
    CLogRecord ParseLogRecord(QStringList fields, int& index);

private:
    // The device model's own queries travel over the same connection.
    friend class CRZ450MetaDevice;

    bool IsLocal() const { return m_pLocal != nullptr; }
    bool Connect();
    void StartConnecting();
    bool Connected(int waitMs);
    bool ReceiveGreeting();
    bool IdentityAccepted();
    bool Authenticated();
    bool WaitForData(const QDeadlineTimer& budget = QDeadlineTimer(QDeadlineTimer::Forever));
    void WriteRequest(const QByteArray& request);
    QByteArray ReadAnswer();
    bool Receive(QByteArray& payload, bool followed, const QDeadlineTimer& budget);
    void CloseConnection();
    int AskNumber(const QString& command);
    bool AskFlag(const QString& command);

    // A request that changes the device: what was known of its state is
    // no longer true.
    QByteArray SendChange(const QString& command);
    bool ServerSendsBatches();
    const LIVE_STATE* LiveState();
    const LIVE_STATE* AskLiveState();
    QString RecordsRequest(int first) const;
    bool TakePrefetched(int first, QList<CRecord>& records);
    QList<CRecord> FetchRecords(int first);
    void DropPrefetch();
    bool Collect(const QDeadlineTimer& budget);
    void Accept(bool records, int first, const QByteArray& payload);
    bool Settled();
    void StartWaiting();
    void StopWaiting();
    bool Greeted(const QDeadlineTimer& budget);
    template <typename Query>
    bool StateFlag(bool LIVE_STATE::*field, Query ask);
    [[noreturn]] void FailLink(const QString& detail);
    bool LinkUp();
    void StartReconnecting();
    void TryReconnect();
    enum Attempt { AttemptPending, AttemptWon, AttemptLost };
    Attempt AttemptStep();
    bool Reattach();
    void ForgetServer();
    void ForgetAnswers();
    int Bounded(int ms) const;
    int Bounded(int ms, const QDeadlineTimer& budget) const;

    enum Support { Unknown, Served, Missing };
    Support m_eBatches = Unknown;   // of the present connection
    Support m_eLiveState = Unknown; // of the present connection
    IDevice* m_pLocal = nullptr;
    QSslSocket m_socket;
    QString m_strUrl;
    CServerAddress m_address;
    QString m_strFingerprint; // the one the server must show
    QString m_strKey;
    QString m_strPeerFingerprint;
    Refusal m_eRefusal = NotRefused;
    QString m_strServerDevice; // the last one selected, to select again after a reconnection
    bool m_bFollow = false;
    LIVE_STATE m_live;
    QElapsedTimer m_liveAge; // invalid: nothing known
    CReconnectSchedule m_reconnect;
    QDeadlineTimer m_attempt;   // bounds the waits of a reconnection attempt's step, then the pause after it
    QElapsedTimer m_attemptAge; // of the attempt under way; invalid: none
    QByteArray m_greeting;      // what came of it so far
    bool m_bReattaching = false;
    int m_nReconnections = 0;

    // Answers of a followed link still to come, in the order asked; only
    // text answers (state, records) are ever owed.
    struct OWED
    {
        bool records = false;
        int first = 0;
    };
    QList<OWED> m_owed;
    CAnswerStream m_answers;
    QElapsedTimer m_silence; // since the answers owed stopped coming; invalid: none owed too long
    int m_nExpectedFirst = -1;
    int m_nPrefetchFirst = -1; // of m_prefetch; -1: none
    QList<CRecord> m_prefetch;

    static std::atomic<int> s_nConnectTimeoutMs;
    static std::atomic<int> s_nWaitTimeoutMs;
    static std::atomic<int> s_nLiveWaitMs;
    static std::atomic<int> s_nReconnectFirstMs;
    static std::atomic<int> s_nReconnectMaxMs;
    static std::atomic<int> s_nReconnectAttemptMs;
};
