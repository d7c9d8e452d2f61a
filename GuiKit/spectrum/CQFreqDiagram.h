#pragma once

#include "spectrum/CQLevelDiagramBase.h"

#include <QVector>

// Three columns with the middle one shaded and a level scale counted down
// from the top; it draws no values of its own.
class GUIKIT_EXPORT CQFreqDiagram : public CQLevelDiagramBase
{
    Q_OBJECT

public:
    CQFreqDiagram(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges);

    void AttachLineData(QList<DATA_VALUE>& values) override;
    void DrawGrid(QPainter& painter, int visibleLines) override;
    void DrawAxisXLabels(QPainter& painter, const QRect& axisXRect) override;
    void DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    void DrawData(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    bool ScrollAxisY(const QPoint& pressPos, double dy) override;
    void ShowAxisYMenu(const QPoint& globalPos) override;
    bool GetToolTipText(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text) override;

    const QVector<QRect>& Columns() const;

public Q_SLOTS:
    void OnMenuAction();

private:
    QVector<QRect> m_columns;
};
