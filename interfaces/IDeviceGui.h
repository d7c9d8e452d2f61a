#pragma once

#include "CRecord.h"

#include <QList>
#include <QObject>
#include <QString>

class CQDiagramWidget;
class IDevice;
class ISpecificControls;
class IVirtualDevice;
class QTextBrowser;
class QTreeWidget;

// What the client knows of a device model's user interface. The order of the
// virtual operations is the calling contract between separately built
// plug-ins: append, never reorder.
//
// A GUI plug-in exports one C-linkage function, "QueryInterface" of type
// QueryDeviceGuiFunction: false for a null address; otherwise it stores a new
// object (null when out of memory) that the caller owns, and returns true.
class IDeviceGui : public QObject
{
public:
    ~IDeviceGui() override = default;

    // The device is not owned; it stays valid until the next SetDevice.
    virtual bool SetDevice(IDevice* device) = 0;
    virtual QString GetDeviceType() = 0;
    // Owned by the GUI.
    virtual IVirtualDevice* GetVirtualDevice() = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual void SetSpecificControls(ISpecificControls* host) = 0;
    // The diagram and the list are only borrowed for the call. A mode of -1
    // means the device's current mode.
    virtual void InitRealtimeDiagram(CQDiagramWidget* diagram, bool allBands, int mode) = 0;
    virtual void AddRealtimeRecord(CQDiagramWidget* diagram, const CRecord& record, int mode) = 0;
    virtual void InitLogList(QTreeWidget* list) = 0;
    virtual void FillLogList(QTreeWidget* list, const QList<CRecord>& records) = 0;
    virtual void SetLanguage(const QString& language) = 0;
    virtual void ShowManual(const QString& language, QTextBrowser* browser) = 0;
};

using QueryDeviceGuiFunction = bool (*)(IDeviceGui** out);
