#pragma once

#include "CRecord.h"
#include "SPECTRUM_SWEEP.h"
#include "live/CLiveTimeline.h"

class CQDiagramWidget;

// Draws a replay into the live views the way the live feed draws the
// detector: the same lines, and the time window placed at the first record
// and started again where the detector's clock stepped back, so that a
// replay shows what the live session showed.
class CReplayView
{
public:
    // mode: IDevice::MODE_MAN or IDevice::MODE_AUTO, for the whole replay.
    CReplayView(CQDiagramWidget* diagram, int mode);

    // Lines anew without values, and an empty waterfall.
    void Reset();
    // The record as drawn: at the time the view placed it.
    CRecord Show(CRecord record);
    void ShowSweep(const SPECTRUM_SWEEP& sweep);
    void OpenSpectrumWindow();
    void Repaint();
    // The seconds the diagram's time axis shows.
    quint64 ShownSeconds() const;

private:
    void Place(CRecord& record);

    CQDiagramWidget* m_pDiagram;
    int m_nMode;
    CLiveTimeline m_timeline;
    quint64 m_nLastTime = 0;
};
