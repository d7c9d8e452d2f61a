#pragma once

#include "CLogBuffer.h"
#include "CRZ450Clock.h"
#include "CRZ450Link.h"
#include "CRZ450Status.h"
#include "CRecordRing.h"
#include "IRZ450Device.h"
#include "RZ450Layout.h"

#include <QMutex>

#include <atomic>

class CRecordConverter;
class QThread;

// The RZ450 driver. A worker thread alone talks to the detector and keeps
// the status and the live records; every getter reads the latest copy under
// a short lock that the worker never holds while it waits on the link.
class CRZ450Device : public IRZ450Device
{
    Q_OBJECT

public:
    static constexpr int LOG_BLOCKS = RZ450Layout::Log::BLOCKS;
    static constexpr int LOG_BLOCK_SIZE = RZ450Layout::Log::BLOCK_SIZE;
    static constexpr int LINK_TIMEOUT_MS = 3000;

    // The worker's state machine: it connects, empties the fresh link, then
    // exchanges until the detector falls silent.
    enum ConnectionState { StateConnecting = 0, StateLinkOpened = 1, StateExchanging = 2 };

    explicit CRZ450Device(const QString& ftdiLibrary = QStringLiteral("ftd2xx"));
    ~CRZ450Device() override;

    // Only tests shorten it: a silent detector costs 11 time-outs to notice.
    void SetLinkTimeout(int ms) { m_nLinkTimeoutMs = ms; }
    int LinkKindInUse() const { return m_link.InUse(); }
    ConnectionState State() const { return m_eState.load(); }
    // How often a link was opened since construction.
    int ConnectCount() const { return m_nConnects.load(); }
    // Test hook: the ring as if filled up to count.
    void SetRecordCount(int count);

    // IDevice
    bool Initialize() override;
    void Uninitialize() override;
    QString GetDevID() override;
    IDevice* GetLocalDevice() override;
    bool IsOnline() override;
    bool IsError() override;
    void KeyPressed(IDevice::KeyType key) override;
    void SetRequest(IDevice::RequestType request) override;
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

    // IRZ450Device
    int GetLanguageID() override;
    bool IsSchedule() override;
    int GetCurrentBank() override;
    bool IsWaiting() override;
    int GetTmpX() override;
    int GetLevelDbm(int band) override;
    int GetThreshold(int band) override;
    int GetDbmCorrScale(int band) override;
    int GetEventCntDelay(int i) override;
    int GetIndicateBand(int i) override;
    bool IsIndicateBand(int band) override;
    QString GetBandName(int band) override;
    bool GetSpectrumData(char* buffer, int length) override;
    int IsAbodeLevel() override;
    int IsShowFreq() override;
    int GetFreqMax() override;
    int GetLevelMax() override;
    int GetLevelNoise() override;
    int GetLevelDbMin() override;
    int GetDemodMode() override;
    int GetCntPeakFreq() override;
    int GetOverload() override;
    int GetMute() override;
    int GetVolume() override;
    int GetBypassPercent() override;

Q_SIGNALS:
    void deviceChannelChanged() override;

private:
    static constexpr int MAX_FAILURES = 10;

    struct COMMAND
    {
        quint8 code = RZ450Layout::Wire::NO_COMMAND;
        quint8 keyByte = 0;
        quint32 serial = 0;
    };

    static CRecordConverter& ConverterForThisThread();
    void StopWorker();
    void WorkerMain();
    void StepConnect();
    void StepOpened();
    void StepExchange();
    void PauseConnect();
    void Resync(const char* reason);

    void SendBytes(const char* data, int size) { m_link.Send(data, size); }
    void FlushOutgoing();
    bool ReceiveBytes(char* data, int size);

    void ReplyTime();
    void HandleStatusReport(const quint8* report);
    COMMAND TakeCommand();
    void FinishCommand(const COMMAND& command);
    void SendSettings();
    void DownloadLog();
    bool DownloadBlock(int block);

    template <typename T, typename Fn>
    T Read(Fn fn)
    {
        QMutexLocker lock(&m_mutex);
        return fn(m_status);
    }
    template <typename T>
    T Field(T CRZ450Status::*field)
    {
        QMutexLocker lock(&m_mutex);
        return m_status.*field;
    }

    CRZ450Link m_link;
    std::atomic<ConnectionState> m_eState { StateConnecting };
    std::atomic<bool> m_bRun { false };
    std::atomic<bool> m_bOnline { false };
    std::atomic<bool> m_bError { false };
    std::atomic<int> m_nConnects { 0 };
    QThread* m_pThread = nullptr;
    int m_nRefCount = 0;
    int m_nFailures = 0;
    bool m_bResync = false;
    // A settings write waits in m_outgoing; its bytes are in flight.
    bool m_bSettingsQueued = false;
    QByteArray m_outgoing;
    int m_nLinkTimeoutMs = LINK_TIMEOUT_MS;

    // Everything below is shared between the GUI thread and the worker.
    mutable QMutex m_mutex;
    quint8 m_nPending = RZ450Layout::Wire::NO_COMMAND;
    quint8 m_nKeyByte = 0;
    quint8 m_nKeyCount = 0;
    quint32 m_nCommandSerial = 0;
    CRZ450Status m_status;
    // Set by SetTime, kept apart from the reported clock until a settings
    // write carries it.
    CRZ450Clock::FIELDS m_userClock;
    bool m_bUserClockSet = false;
    CRecordRing m_ring;
    CLogBuffer m_log;
};
