#pragma once

#include "diagram/history/CBarReach.h"
#include "diagram/kinds/CQTimeDiagramBase.h"

class CTimeMapping;

// Each value a bar from its level down to the bottom of the plot for its
// duration (value.extra), levels counted from the top; a line with tag 1
// draws each value as a level line across the plot instead.
class GUIKIT_EXPORT CQTimeLevelRectsDiagram : public CQTimeDiagramBase
{
    Q_OBJECT

public:
    using CQTimeDiagramBase::CQTimeDiagramBase;

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
    // The values of one line from index `from` that reach into the window.
    void DrawLineValues(QPainter& painter, CTimeMapping& map, const DATA_LINE& line, int from);

    CBarReach m_reach;
};
