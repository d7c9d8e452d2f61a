#pragma once

#include "CLogRecord.h"
#include "CRecord.h"
#include "ITestDevice.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

// A detector as every other part of the program sees it. The order of the
// virtual operations is the calling contract between separately built
// plug-ins: append, never reorder.
class IDevice : public QObject
{
public:
    // Front-panel key index 0..5; the bit of value 8 marks a long press.
    enum KeyType : int {};

    enum RequestType : int {
        ReadLog = 0,
        FactoryDefaults = 1,
        WriteSettings = 2,
        NewBank = 3,
        ClearLog = 4,
        Command10 = 5
    };

    enum Mode { MODE_MAN = 1, MODE_SRCH = 2, MODE_AUTO = 4 };

    ~IDevice() override = default;

    virtual bool Initialize() = 0;
    virtual void Uninitialize() = 0;
    virtual QString GetDevID() = 0;
    virtual IDevice* GetLocalDevice() = 0;
    virtual bool IsOnline() = 0;
    virtual bool IsError() = 0;
    virtual void KeyPressed(IDevice::KeyType key) = 0;
    virtual void SetRequest(IDevice::RequestType request) = 0;
    virtual QList<CLogRecord> GetLogRecords() = 0;
    virtual QList<CRecord> GetRealtimeRecords() = 0;
    virtual void Clear() = 0;
    virtual int GetCurrentMode() = 0;
    virtual int GetCurrentRecordIndex() = 0;
    virtual CRecord GetRecord(int index) = 0;
    virtual CRecord GetCurrentRecord() = 0;
    virtual int GetCurrentBand() = 0;
    virtual unsigned char GetMenuValue(int index) = 0;
    virtual void SetMenuValue(int index, unsigned char value) = 0;
    virtual bool SetMenuData(QByteArray data) = 0;
    virtual QByteArray GetMenuData() = 0;
    virtual int GetLogType() = 0;
    virtual QDateTime GetTime() = 0;
    virtual void SetTime(const QDateTime& time) = 0;
    virtual int GetLogLoadProgress() = 0;
    virtual bool IsRamOk() = 0;
    virtual bool IsFlashOk() = 0;
    virtual bool IsBatteryOk() = 0;
    virtual bool GetTestInterface(ITestDevice** test) = 0;
};
