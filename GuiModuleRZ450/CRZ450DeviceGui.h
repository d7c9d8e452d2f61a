#pragma once

#include "CRZ450VirtualDevice.h"
#include "IRZ450DeviceGui.h"
#include "RZ450Layout.h"

#include <QPointer>
#include <QTranslator>

class CRZ450MetaDevice;
class CSpectrumWindow;
class QPushButton;

// Everything of the client's window that depends on the RZ450: how live
// records become diagram lines, the event list, the spectrum window of the
// scan band, the front panel and the plug-in's translations and manual.
class CRZ450DeviceGui : public IRZ450DeviceGui
{
    Q_OBJECT

public:
    // Each band with an indication flag has a line of the automatic-mode
    // diagram.
    static constexpr int BAND_LINES = RZ450Layout::INDICATED_BANDS;
    static constexpr int BAND_SCAN = RZ450Layout::BAND_SCAN;
    static constexpr int SPECTRUM_POINTS = RZ450Layout::SPECTRUM_POINTS;

    CRZ450DeviceGui();
    ~CRZ450DeviceGui() override;

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
    bool SampleSpectrum(quint64 time, SPECTRUM_SWEEP& sweep, bool show) override;
    void ShowSweep(const SPECTRUM_SWEEP& sweep) override;
    void ClearSweeps() override;
    void OpenSpectrumWindow() override;
    int RealtimeLineOfBand(int band) override { return LineOfBand(band); }
    RZ450_LOOK Look(CMetaDevice* device, bool withNames) override;

    // The line of the automatic-mode diagram a band's alarms go to; -1 for
    // a band without one.
    static int LineOfBand(int band);

public Q_SLOTS:
    void OnSpectrumButton();

private:
    int ModeOrCurrent(int mode);
    void InitLevelLines(CQDiagramWidget* diagram);
    void InitBandLines(CQDiagramWidget* diagram, bool allBands);
    // Reads the rest of a sweep whose points are already in sweep.
    void ReadSweepLabels(CRZ450MetaDevice& rz, SPECTRUM_SWEEP& sweep);
    void DestroySpectrumWindow();
    QString SpectrumText() const;

    CRZ450VirtualDevice m_virtualDevice;
    IDevice* m_pDevice = nullptr;
    ISpecificControls* m_pHost = nullptr;
    // The host's widget tree owns the button and may delete it first.
    QPointer<QPushButton> m_pSpectrumButton;
    QTranslator m_translator;
    CSpectrumWindow* m_pSpectrumWindow = nullptr;
    QByteArray m_lastPoints;      // of the last sweep handed out
    bool m_bReplayWindow = false; // a replay opened the spectrum window
};
