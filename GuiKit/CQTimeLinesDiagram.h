#pragma once

#include "CQTimeDiagramBase.h"

#include <QSet>

class CTimeMapping;

// Values over time as one polyline per line, levels counted from the bottom.
// A pixel column holding several values also shows their full vertical
// extent, so that a short burst among many values stays visible.
class GUIKIT_EXPORT CQTimeLinesDiagram : public CQTimeDiagramBase
{
    Q_OBJECT

public:
    using CQTimeDiagramBase::CQTimeDiagramBase;

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

    // Lines whose level summaries (in aux) no longer match their values: a
    // value went in before the last, or the line came from another diagram.
    QSet<const QList<DATA_VALUE>*> m_staleSummaries;
};
