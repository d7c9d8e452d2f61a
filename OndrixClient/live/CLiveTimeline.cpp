#include "live/CLiveTimeline.h"
#include "diagram/DiagramDefaults.h"

#include "diagram/CQDiagramWidget.h"

void CLiveTimeline::Reset()
{
    m_bStarted = false;
    m_nLast = 0;
    m_nShift = 0;
}

CLiveTimeline::Step CLiveTimeline::Take(quint64& time, quint64 now)
{
    // Time 0 is what the driver makes of a date that does not exist; the
    // view cannot start a window there, and the record is still worth seeing.
    if (time == 0)
        time = now;
    Step step = Append;
    if (!m_bStarted) {
        step = Start;
    } else if (time + m_nShift < m_nLast) {
        step = StepBack;
        m_nShift = m_nLast - time;
    }
    time += m_nShift;
    m_bStarted = true;
    m_nLast = time;
    return step;
}

CLiveTimeline::Step CLiveTimeline::Place(CQDiagramWidget* diagram, quint64& time, quint64 now)
{
    const Step step = Take(time, now);
    if (step != Start)
        return step;
    const QVariant start = QVariant::fromValue<quint64>(time);
    const QVariant end = QVariant::fromValue<quint64>(time + DiagramDefaults::TIME_WINDOW_SECONDS);
    diagram->SetMaxXRange(start, end, 1.0, true);
    return step;
}
