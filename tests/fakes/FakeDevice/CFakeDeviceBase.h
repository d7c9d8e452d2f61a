#pragma once

#include "IRZ450Device.h"

// A detector stand-in with neutral answers: online, no records, no log, a
// settings block of zeros, every level and flag 0. Tests and benchmarks
// derive from it and override only what they are about.
class CFakeDeviceBase : public IRZ450Device
{
    Q_OBJECT

public:
    bool Initialize() override { return true; }
    void Uninitialize() override { }
    QString GetDevID() override { return QStringLiteral("RZ450"); }
    IDevice* GetLocalDevice() override { return this; }
    bool IsOnline() override { return true; }
    bool IsError() override { return false; }
    void KeyPressed(IDevice::KeyType) override { }
    void SetRequest(IDevice::RequestType) override { }
    QList<CLogRecord> GetLogRecords() override { return {}; }
    QList<CRecord> GetRealtimeRecords() override { return {}; }
    void Clear() override { }
    int GetCurrentMode() override { return MODE_MAN; }
    int GetCurrentRecordIndex() override { return 0; }
    CRecord GetRecord(int) override { return {}; }
    CRecord GetCurrentRecord() override { return GetRecord(GetCurrentRecordIndex() - 1); }
    int GetCurrentBand() override { return 1; }
    unsigned char GetMenuValue(int) override { return 0; }
    void SetMenuValue(int, unsigned char) override { }
    bool SetMenuData(QByteArray data) override { return data.size() == MENU_SIZE; }
    QByteArray GetMenuData() override { return QByteArray(MENU_SIZE, 0); }
    int GetLogType() override { return 0; }
    QDateTime GetTime() override { return QDateTime::currentDateTime(); }
    void SetTime(const QDateTime&) override { }
    int GetLogLoadProgress() override { return 0; }
    bool IsRamOk() override { return true; }
    bool IsFlashOk() override { return true; }
    bool IsBatteryOk() override { return true; }
    bool GetTestInterface(ITestDevice**) override { return false; }

    int GetLanguageID() override { return 0; }
    bool IsSchedule() override { return false; }
    int GetCurrentBank() override { return 0; }
    bool IsWaiting() override { return false; }
    int GetTmpX() override { return 0; }
    int GetLevelDbm(int) override { return 0; }
    int GetThreshold(int) override { return 0; }
    int GetDbmCorrScale(int) override { return 0; }
    int GetEventCntDelay(int) override { return 0; }
    int GetIndicateBand(int) override { return 0; }
    bool IsIndicateBand(int) override { return false; }
    QString GetBandName(int) override { return QString(); }
    bool GetSpectrumData(char*, int) override { return false; }
    int IsAbodeLevel() override { return 0; }
    int IsShowFreq() override { return 0; }
    int GetFreqMax() override { return 0; }
    int GetLevelMax() override { return 0; }
    int GetLevelNoise() override { return 0; }
    int GetLevelDbMin() override { return 0; }
    int GetDemodMode() override { return 0; }
    int GetCntPeakFreq() override { return 0; }
    int GetOverload() override { return 0; }
    int GetMute() override { return 0; }
    int GetVolume() override { return 0; }
    int GetBypassPercent() override { return 0; }

Q_SIGNALS:
    void deviceChannelChanged() override;
};
