#pragma once

#include "diagram/history/CBarRuns.h"
#include "diagram/history/CHistoryCompactor.h"
#include "diagram/kinds/CQTimeDiagramBase.h"

class CTimeMapping;

// Each line in a row of its own (the first line on top), each value a bar
// from its start time for its duration in seconds (value.extra). Drawn and
// hit run by run (bars that touch or overlap), so that a row of a day of
// one-second events costs what its runs in view cost; long lines are folded
// into bars of reduced resolution that keep every bar's extent.
class GUIKIT_EXPORT CQTimeRectsDiagram : public CQTimeDiagramBase
{
    Q_OBJECT

public:
    CQTimeRectsDiagram(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges);

    void AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values, bool autoScroll) override;
    void DrawGrid(QPainter& painter, int visibleLines) override;
    void DrawAxisYTicks(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    void DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    void DrawData(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    void UpdateLayout() override;
    bool IsAxisYScrollable() override;
    void ShowAxisYMenu(const QPoint& globalPos) override;
    bool GetToolTipText(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text) override;
    bool GetDataAtPos(bool flag, const QPoint& pos, const QList<DATA_LINE*>& lines, QList<QVariant>& out) override;

    // The top of the row of visible line `line` of `lines` in a plot: what a
    // layer over the rows (CBandFlagMarks) places itself by.
    static int RowTop(const QRect& plot, int line, int lines);

private:
    int RowTop(int line, int lines) const;
    // The bars of one line within `bars` (the row less its margins).
    void DrawRow(QPainter& painter, CTimeMapping& map, DATA_LINE& line, const QRect& bars);
    // Seconds from the first start to the last end of the runs around run k
    // that follow one another with at most 2 pixels between them.
    quint64 RunDuration(CTimeMapping& map, const QVector<CBarRuns::RUN>& runs, int k) const;
    // The value under pixel column x within the drawn bar `hit`.
    int ValueAt(CTimeMapping& map, const DATA_LINE& line, const DATA_HIT& hit, int x) const;

    CBarRuns m_runs;
    CHistoryCompactor m_history;
};
