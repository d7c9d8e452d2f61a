#pragma once

#include "IRZ450Device.h"

#include <QStringList>

#include <algorithm>

// A driver stand-in whose every answer is distinct and whose every call is
// logged, so that forwarding can be checked operation by operation.
class CFakeRZ450Device : public IRZ450Device
{
public:
    static QList<CRecord> Records();
    static QList<CLogRecord> Banks();
    static QDateTime Time();

    QStringList m_calls;

    bool Initialize() override { return Log("Initialize", true); }
    void Uninitialize() override { Log("Uninitialize", 0); }
    QString GetDevID() override { return Log("GetDevID", QStringLiteral("FAKE")); }
    IDevice* GetLocalDevice() override { return Log("GetLocalDevice", this); }
    bool IsOnline() override { return Log("IsOnline", true); }
    bool IsError() override { return Log("IsError", true); }
    void KeyPressed(IDevice::KeyType key) override { Log("KeyPressed:" + QString::number(key), 0); }
    void SetRequest(IDevice::RequestType request) override { Log("SetRequest:" + QString::number(request), 0); }
    QList<CLogRecord> GetLogRecords() override { return Log("GetLogRecords", Banks()); }
    QList<CRecord> GetRealtimeRecords() override { return Log("GetRealtimeRecords", Records()); }
    void Clear() override { Log("Clear", 0); }
    int GetCurrentMode() override { return Log("GetCurrentMode", 4); }
    int GetCurrentRecordIndex() override { return Log("GetCurrentRecordIndex", 7); }
    CRecord GetRecord(int index) override
    {
        return Log("GetRecord:" + QString::number(index), Records().at(index % 2));
    }
    CRecord GetCurrentRecord() override { return Log("GetCurrentRecord", Records().at(1)); }
    int GetCurrentBand() override { return Log("GetCurrentBand", 18); }
    unsigned char GetMenuValue(int index) override { return Log("GetMenuValue:" + QString::number(index), 200); }
    void SetMenuValue(int index, unsigned char value) override
    {
        Log("SetMenuValue:" + QString::number(index) + ":" + QString::number(value), 0);
    }
    bool SetMenuData(QByteArray data) override { return Log("SetMenuData:" + QString::number(data.size()), true); }
    QByteArray GetMenuData() override { return Log("GetMenuData", QByteArray(96, '\x5A')); }
    int GetLogType() override { return Log("GetLogType", 1); }
    QDateTime GetTime() override { return Log("GetTime", Time()); }
    void SetTime(const QDateTime& time) override { Log("SetTime:" + QString::number(time.toSecsSinceEpoch()), 0); }
    int GetLogLoadProgress() override { return Log("GetLogLoadProgress", 101); }
    bool IsRamOk() override { return Log("IsRamOk", true); }
    bool IsFlashOk() override { return Log("IsFlashOk", false); }
    bool IsBatteryOk() override { return Log("IsBatteryOk", true); }
    bool GetTestInterface(ITestDevice**) override { return Log("GetTestInterface", true); }

    int GetLanguageID() override { return Log("GetLanguageID", 1); }
    bool IsSchedule() override { return Log("IsSchedule", true); }
    int GetCurrentBank() override { return Log("GetCurrentBank", 513); }
    bool IsWaiting() override { return Log("IsWaiting", true); }
    int GetTmpX() override { return Log("GetTmpX", 5); }
    int GetLevelDbm(int band) override { return Log("GetLevelDbm:" + QString::number(band), 72 + band); }
    int GetThreshold(int band) override { return Log("GetThreshold:" + QString::number(band), 40 + band); }
    int GetDbmCorrScale(int band) override { return Log("GetDbmCorrScale:" + QString::number(band), -band); }
    int GetEventCntDelay(int i) override { return Log("GetEventCntDelay:" + QString::number(i), 10 + i); }
    int GetIndicateBand(int i) override { return Log("GetIndicateBand:" + QString::number(i), 20 + i); }
    bool IsIndicateBand(int band) override { return Log("IsIndicateBand:" + QString::number(band), band % 2 == 1); }
    QString GetBandName(int band) override
    {
        return Log("GetBandName:" + QString::number(band), QStringLiteral("GSM 900/"));
    }
    bool GetSpectrumData(char* buffer, int length) override
    {
        std::fill(buffer, buffer + length, char(7));
        return Log("GetSpectrumData:" + QString::number(length), false);
    }
    int IsAbodeLevel() override { return Log("IsAbodeLevel", 2); }
    int IsShowFreq() override { return Log("IsShowFreq", 3); }
    int GetFreqMax() override { return Log("GetFreqMax", 2450000); }
    int GetLevelMax() override { return Log("GetLevelMax", 201); }
    int GetLevelNoise() override { return Log("GetLevelNoise", 12); }
    int GetLevelDbMin() override { return Log("GetLevelDbMin", 255); }
    int GetDemodMode() override { return Log("GetDemodMode", 2); }
    int GetCntPeakFreq() override { return Log("GetCntPeakFreq", 9); }
    int GetOverload() override { return Log("GetOverload", 1); }
    int GetMute() override { return Log("GetMute", 0); }
    int GetVolume() override { return Log("GetVolume", 6); }
    int GetBypassPercent() override { return Log("GetBypassPercent", 35); }
    void deviceChannelChanged() override { Log("deviceChannelChanged", 0); }

private:
    template <typename Result>
    Result Log(const QString& call, Result result)
    {
        m_calls.append(call);
        return result;
    }
};
