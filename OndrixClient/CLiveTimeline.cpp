#include "CLiveTimeline.h"

void CLiveTimeline::Reset()
{
    m_bStarted = false;
    m_nLast = 0;
}

CLiveTimeline::Step CLiveTimeline::Take(quint64& time, quint64 now)
{
    // Time 0 is what the driver makes of a date that does not exist; the
    // view cannot start a window there, and the record is still worth seeing.
    if (time == 0)
        time = now;
    Step step = Append;
    if (!m_bStarted)
        step = Start;
    else if (time < m_nLast)
        step = StepBack;
    m_bStarted = true;
    m_nLast = time;
    return step;
}
