#pragma once

#include "CFakeDeviceBase.h"

#include <QList>

// A driver stand-in that keeps its users the way the RZ450 driver does:
// the first Initialize starts the exchange, later ones only count, and the
// exchange stops when the count falls to 0. A fault stops the exchange
// without touching the count, as the driver's worker does when it fails.
class CFakeDevice : public CFakeDeviceBase
{
    Q_OBJECT

public:
    explicit CFakeDevice(const QString& id = QStringLiteral("FAKE"));

    // --- what the test controls ----------------------------------------
    void SetReachable(bool reachable); // a detector answers the exchange
    void InjectFault();                // the worker stops on a fault
    // The n-th record ever made has the time FirstTime() + n: in the near
    // future, so that a diagram set up now keeps it.
    static quint64 FirstTime();
    void AppendRecords(int count);
    // Later records count on from this detector time; 0 is a clock never set.
    void SetClockBase(quint64 base);
    // GetRecord throws as a proxy does on a bad answer.
    void SetFailingRecords(bool failing) { m_bFailingRecords = failing; }
    void RestartRecords(); // count back to 0, as on a mode change
    // The count wraps to 0 at size, as the driver's ring does; slots keep
    // their records until written again.
    void SetRing(int size) { m_nRing = size; }
    void SetMode(int mode);
    void EmitChannelChanged();
    void SetLogRecords(const QList<CLogRecord>& banks) { m_logRecords = banks; }

    // --- what the test reads -------------------------------------------
    int Users() const { return m_nUsers; }
    int Starts() const { return m_nStarts; }
    int Clears() const { return m_nClears; }
    QList<int> Keys() const { return m_keys; }

    bool Initialize() override;
    void Uninitialize() override;
    QString GetDevID() override { return m_strId; }
    bool IsOnline() override { return m_bRunning && m_bReachable; }
    bool IsError() override { return m_bError; }
    void KeyPressed(IDevice::KeyType key) override { m_keys.append(int(key)); }
    QList<CLogRecord> GetLogRecords() override { return m_logRecords; }
    QList<CRecord> GetRealtimeRecords() override;
    void Clear() override;
    int GetCurrentMode() override { return m_nMode; }
    int GetCurrentRecordIndex() override { return m_nCount; }
    CRecord GetRecord(int index) override;
    int GetLogType() override { return 2; }
    QDateTime GetTime() override { return QDateTime::fromSecsSinceEpoch(qint64(FirstTime()), Qt::UTC); }

private:
    QString m_strId;
    int m_nUsers = 0;
    int m_nStarts = 0;
    int m_nClears = 0;
    bool m_bRunning = false;
    bool m_bReachable = true;
    bool m_bError = false;
    int m_nMode = MODE_MAN;
    int m_nCount = 0;
    int m_nFirst = 0; // the number of record 0 since the last restart
    int m_nNext = 0;
    int m_nRing = 0; // 0: the count only grows
    // Each setting of the clock: from which record number on, and its time
    // then; a record keeps the time it was made with.
    QList<QPair<int, quint64>> m_clocks;
    bool m_bFailingRecords = false;
    QList<int> m_keys;
    QList<CLogRecord> m_logRecords;
};
