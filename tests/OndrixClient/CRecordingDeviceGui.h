#pragma once

#include "IRZ450DeviceGui.h"

#include <QStringList>

class CTestVirtualDevice;
class QPushButton;

// A device GUI that keeps a line for every call it gets, in order. The
// lines are also its "calls" property, so that a test reaches them through
// QObject alone when the GUI was loaded from a plug-in file.
//
// It draws what it is given as one line of levels, so the diagram really
// holds the records, and offers the host one button of its own.
class CRecordingDeviceGui : public IRZ450DeviceGui
{
    Q_OBJECT

public:
    explicit CRecordingDeviceGui(const QString& type);
    ~CRecordingDeviceGui() override;

    QStringList Calls() const { return m_calls; }
    int Count(const QString& call) const;
    // Times of the records handed to AddRealtimeRecord, in order.
    QList<quint64> RecordTimes() const { return m_times; }
    void ClearCalls();
    IDevice* Device() const { return m_pDevice; }
    CTestVirtualDevice* Panel() const { return m_pPanel; }
    QPushButton* OptionalButton() const { return m_pButton; }
    // The text ShowManual puts into the browser.
    static QString ManualText(const QString& language);

    bool SetDevice(IDevice* device) override;
    QString GetDeviceType() override;
    IVirtualDevice* GetVirtualDevice() override;
    void Start() override;
    void Stop() override;
    void SetSpecificControls(ISpecificControls* host) override;
    void InitRealtimeDiagram(CQDiagramWidget* diagram, bool allBands, int mode) override;
    void AddRealtimeRecord(CQDiagramWidget* diagram, const CRecord& record, int mode) override;
    void InitLogList(QTreeWidget* list) override;
    void FillLogList(QTreeWidget* list, const QList<CRecord>& records) override;
    void SetLanguage(const QString& language) override;
    void ShowManual(const QString& language, QTextBrowser* browser) override;
    void UpdateSpectrumButton() override;
    // Hands out the sweep set with SetNextSweep once.
    bool SampleSpectrum(quint64 time, SPECTRUM_SWEEP& sweep, bool show) override;
    void ShowSweep(const SPECTRUM_SWEEP& sweep) override;
    void ClearSweeps() override;
    void OpenSpectrumWindow() override;
    // Its one line draws every band.
    int RealtimeLineOfBand(int) override { return 0; }
    RZ450_LOOK Look(CMetaDevice*, bool) override { return {}; }
    void SetNextSweep(const SPECTRUM_SWEEP& sweep);
    QList<SPECTRUM_SWEEP> ShownSweeps() const { return m_shown; }

private:
    void Log(const QString& call);

    QString m_strType;
    QStringList m_calls;
    QList<quint64> m_times;
    QList<SPECTRUM_SWEEP> m_next;
    QList<SPECTRUM_SWEEP> m_shown;
    IDevice* m_pDevice = nullptr;
    CTestVirtualDevice* m_pPanel = nullptr;
    QPushButton* m_pButton = nullptr;
};
