#pragma once

#include "GuiKitExport.h"
#include "spectrum/CSpectrumMarkers.h"

#include <QWidget>

#include <vector>

class CSpectrumTraces;
struct SPECTRUM_SWEEP;

// The markers drawn over the spectrum's bars, with a readout of each and
// the delta of the second against the first. A click on the graph places
// the selected marker on the live bars; with the graph focused, 1-4 select
// a marker, Left/Right move it a point, P puts it on the peak, [ and ] go
// to the next peak left and right, Delete removes it.
class GUIKIT_EXPORT CMarkerOverlay : public QWidget
{
    Q_OBJECT

public:
    // The trace a marker sits on: the live bars, then the traces' own.
    static constexpr int LIVE_TRACE = 0;

    CMarkerOverlay(const CSpectrumTraces& traces, QWidget* graph);

    void SetSweep(const SPECTRUM_SWEEP& sweep);
    CSpectrumMarkers& Markers() { return m_markers; }
    int Selected() const { return m_nSelected; }
    // The dBm values of a trace, live or held; empty before a sweep.
    const std::vector<double>& Values(int trace) const;
    QStringList ReadoutLines() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool OnGraphKey(int key);
    void PaintMarker(QPainter& painter, int marker) const;
    double PointMhz(int point) const;

    const CSpectrumTraces& m_traces;
    CSpectrumMarkers m_markers;
    std::vector<double> m_live;
    int m_nSelected = 0;
    int m_nRangeStartMhz = 0;
    int m_nRangeEndMhz = 0;
    int m_nLevelMinDbm = 0;
};
