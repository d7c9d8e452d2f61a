#pragma once

#include "diagram/history/CHistoryCompactor.h"
#include "diagram/kinds/CQTimeDiagramBase.h"

#include <QHash>

class CTimeMapping;

// Values over time as one polyline per line, levels counted from the bottom.
// A pixel column holding several values also shows their full vertical
// extent, so that a short burst among many values stays visible. Long lines
// are folded into buckets of their lowest and highest values, which keep
// that extent.
class GUIKIT_EXPORT CQTimeLinesDiagram : public CQTimeDiagramBase
{
    Q_OBJECT

public:
    CQTimeLinesDiagram(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges);

    void AttachLineData(QList<DATA_VALUE>& values) override;
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

public Q_SLOTS:
    void OnYMenuAction();

private:
    void DrawLine(QPainter& painter, CTimeMapping& map, const DATA_LINE& line, int start);

    // Lines whose level summaries (in aux) no longer match their values from
    // an index on: a value went in before the last, a fold, or the line came
    // from another diagram.
    QHash<const QList<DATA_VALUE>*, qsizetype> m_staleFrom;
    CHistoryCompactor m_history;
};
