#pragma once

#include "GuiKitExport.h"
#include "spectrum/CSpectrumMarkers.h"

#include <QColor>
#include <QWidget>

#include <utility>
#include <vector>

class CSpectrumTraces;
class CTraceOverlay;
class IMarkerTrace;
class QMenu;
struct SPECTRUM_SWEEP;

// The markers drawn over the spectrum's bars, each in its trace's colour,
// with a readout of each and of each delta marker. A click on the graph
// places the selected marker; with the graph focused, 1-4 select a marker,
// Left/Right move it a point, P puts it on the peak, F has it follow the
// peak, [ and ] go to the next peak left and right, T moves it to the next
// trace shown, D cycles the marker it is a delta against, Delete removes it.
class GUIKIT_EXPORT CMarkerOverlay : public QWidget
{
    Q_OBJECT

public:
    // The traces a marker sits on: the live bars, the three of
    // CSpectrumTraces in their order, then those added with AddTrace.
    static constexpr int LIVE_TRACE = 0;
    static constexpr int FIRST_ADDED_TRACE = 4;
    // Overlays that offer a trace are few; more are refused.
    static constexpr int MAX_ADDED_TRACES = 4;

    CMarkerOverlay(const CSpectrumTraces& traces, const CTraceOverlay& traceOverlay, QWidget* graph);

    // A further trace for markers to sit on; false once MAX_ADDED_TRACES
    // are there.
    bool AddTrace(const IMarkerTrace* trace);
    int TraceCount() const { return FIRST_ADDED_TRACE + int(m_added.size()); }
    bool IsTraceShown(int trace) const;
    QString TraceName(int trace) const;
    QColor TraceColour(int trace) const;
    // The dBm values of a trace; empty before a sweep or for no trace.
    const std::vector<double>& Values(int trace) const;

    void SetSweep(const SPECTRUM_SWEEP& sweep);
    CSpectrumMarkers& Markers() { return m_markers; }
    int Selected() const { return m_nSelected; }
    void Select(int marker);
    int Points() const { return int(m_live.size()); }
    // The active marker whose point is nearest x, if within reach of it,
    // or else the selected one.
    int MarkerNear(double x) const;
    void PlaceAt(int marker, double x);
    // A marker that follows the peak goes to the new trace's peak.
    void SetTrace(int marker, int trace);
    void CycleTrace(int marker);
    void ToggleFollowPeak(int marker);
    void CycleReference(int marker);
    QStringList ReadoutLines() const;
    // The markers' entries in the graph's context menu, for the marker
    // nearest pos.
    void AddActions(QMenu* menu, const QPoint& pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    using READOUT = std::pair<QString, QColor>;

    bool OnGraphKey(int key);
    std::vector<READOUT> Readouts() const;
    void AddDeltaReadouts(std::vector<READOUT>& readouts) const;
    bool Level(int marker, double& dbm) const;
    void PaintMarker(QPainter& painter, int marker) const;
    double PointMhz(int point) const;
    void SetGraphToolTip();

    const CSpectrumTraces& m_traces;
    const CTraceOverlay& m_traceOverlay;
    std::vector<const IMarkerTrace*> m_added;
    CSpectrumMarkers m_markers;
    std::vector<double> m_live;
    int m_nSelected = 0;
    int m_nRangeStartMhz = 0;
    int m_nRangeEndMhz = 0;
    int m_nLevelMinDbm = 0;
};
