#pragma once

#include "GuiKitExport.h"
#include "spectrum/CSpectrumTraces.h"

#include <QWidget>

class CLabel;
class CMarkerOverlay;
class CQDiagramWidget;
class CReferenceController;
class CTraceOverlay;
class CWaterfallLegend;
class CWaterfallWidget;
class QLabel;
struct SPECTRUM_SWEEP;

// A small window with the spectrum of the scan band as a bar graph of 160
// bars, however many points a sweep has, its frequency bounds, its level
// scale and the strongest signal; under it the sweeps so far as a
// waterfall, column for column under the bars. The graph's context menu
// gathers the entries of the overlays drawn over it.
class GUIKIT_EXPORT CSpectrumWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CSpectrumWindow(QWidget* parent = nullptr);

    // Points beyond SPECTRUM_SWEEP::MAX_POINTS are ignored.
    void SetSpectrumData(const unsigned char* levels, int count, int xMin, int xMax, int signalFreq, int yMin,
        int signalLevel, int noiseLevel, int signalNo);
    // The bars as SetSpectrumData shows them, and a new waterfall row.
    void SetSweep(const SPECTRUM_SWEEP& sweep);
    void ClearSweeps();

    void OnGraphContextMenu(const QPoint& pos);

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* AddLabel(const QString& name, const QRect& geometry);
    void SetLevels(int yMin);
    void SetSignal(int signalFreq, int signalLevel, int noiseLevel, int signalNo);
    void ClearTexts();
    void LayoutWaterfall();

    CQDiagramWidget* m_pSpectrumWidget;
    CLabel* m_pGraphLabel;
    QLabel* m_pXMINLabel;
    QLabel* m_pXMAXLabel;
    QLabel* m_pYMINLabel;
    QLabel* m_pYMIDLabel;
    QLabel* m_pYMAXLabel;
    QLabel* m_pFREQLabel;
    CWaterfallWidget* m_pWaterfallWidget;
    CWaterfallLegend* m_pLegendWidget;
    QLabel* m_pReadoutLabel;
    CSpectrumTraces m_traces;
    CTraceOverlay* m_pTraceOverlay;
    CMarkerOverlay* m_pMarkerOverlay;
    CReferenceController* m_pReferences;
};
