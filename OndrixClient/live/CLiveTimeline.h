#pragma once

#include <QtGlobal>

class CQDiagramWidget;

// Decides where the realtime view's time window stands for each live record.
// The detector's clock is its own: after a battery change or with clock sync
// off it can be hours behind or ahead of the PC, and the user may set it back
// in the middle of a session. The view therefore starts at the first record
// it is given, not at the PC's time. When the clock steps back, the view
// goes on from where it was: the records after the step are drawn that much
// later than their own times, so that no history is cleared and no value is
// drawn into the past. The records themselves keep the detector's times.
class CLiveTimeline
{
public:
    enum Step {
        Append,  // the record follows the ones before it
        Start,   // the first record of a fresh view: the window starts at it
        StepBack // the clock went back: the view goes on where it was
    };

    // The view was cleared or prepared anew.
    void Reset();
    // The time to draw the record at. A record without a valid time (0) is
    // placed at the PC's time `now`.
    Step Take(quint64& time, quint64 now);
    // Take, then the diagram's window follows: a fresh view opens its window
    // at the record. The live feed and a replay place their records alike,
    // so that both draw the same picture.
    Step Place(CQDiagramWidget* diagram, quint64& time, quint64 now);
    // Seconds the view runs ahead of the detector's clock after its steps
    // back.
    quint64 Shift() const { return m_nShift; }

private:
    bool m_bStarted = false;
    quint64 m_nLast = 0;
    quint64 m_nShift = 0;
};
