#pragma once

#include "IDeviceGui.h"

// The least a GUI plug-in can be: it only says what it is.
class CTestDeviceGui : public IDeviceGui
{
public:
    bool SetDevice(IDevice*) override { return true; }
    QString GetDeviceType() override { return QStringLiteral(TEST_GUI_TYPE); }
    IVirtualDevice* GetVirtualDevice() override { return nullptr; }
    void Start() override { }
    void Stop() override { }
    void SetSpecificControls(ISpecificControls*) override { }
    void InitRealtimeDiagram(CQDiagramWidget*, bool, int) override { }
    void AddRealtimeRecord(CQDiagramWidget*, const CRecord&, int) override { }
    void InitLogList(QTreeWidget*) override { }
    void FillLogList(QTreeWidget*, const QList<CRecord>&) override { }
    void SetLanguage(const QString&) override { }
    void ShowManual(const QString&, QTextBrowser*) override { }
};
