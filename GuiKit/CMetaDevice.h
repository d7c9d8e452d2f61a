#pragma once

#include "GuiKitExport.h"
#include "IDevice.h"
#include "ServerProtocol.h"

#include <QStringList>
#include <QTcpSocket>

#include <atomic>

class CRZ450MetaDevice;

// The one device the program and the device GUIs talk to. Built around a
// local driver object it forwards every call unchanged; built around a
// server address it turns every call into one text command to the server on
// port 7777 and its answer in "<D>" ... "</D>".
//
// In network mode every operation blocks the calling thread (the thread that
// created the proxy) and may throw std::runtime_error with "Network timed
// out!" or "Network transmission error!"; GetRecord and GetCurrentRecord
// also with their format errors.
class GUIKIT_EXPORT CMetaDevice : public IDevice
{
    Q_OBJECT

public:
    static constexpr quint16 SERVER_PORT = ServerProtocol::PORT;
    static constexpr int CONNECT_TIMEOUT_MS = 4000;
    static constexpr int WAIT_TIMEOUT_MS = 30000;

    // Local mode; a null device gives a network proxy without an address,
    // which never connects.
    explicit CMetaDevice(IDevice* local);
    // Network mode; construction does not connect, Initialize does.
    explicit CMetaDevice(const QString& url);
    // Uninitializes, swallowing a network error: a destructor must not throw.
    ~CMetaDevice() override;

    QString GetUrl() const;
    QStringList GetServerDevicesList();
    bool SelectServerDevice(const QString& name);

    // Live records first .. first + count - 1 that exist: from a server
    // that knows the batch request in one exchange, otherwise one by one.
    QList<CRecord> GetRecords(int first, int count);

    // Only tests shorten them; 0 or less restores the defaults.
    static void SetTimeouts(int connectMs, int waitMs);

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
    bool ReceiveGreeting();
    bool WaitForData();
    void WriteRequest(const QByteArray& request);
    QByteArray ReadAnswer();
    void CloseConnection();
    int AskNumber(const QString& command);
    bool AskFlag(const QString& command);

    bool ServerSendsBatches();

    enum Batches { BatchesUnknown, BatchesServed, BatchesMissing };
    Batches m_eBatches = BatchesUnknown; // of the present connection
    IDevice* m_pLocal = nullptr;
    QTcpSocket m_socket;
    QString m_strUrl;

    static std::atomic<int> s_nConnectTimeoutMs;
    static std::atomic<int> s_nWaitTimeoutMs;
};
