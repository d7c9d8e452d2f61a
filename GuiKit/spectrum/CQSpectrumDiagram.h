#pragma once

#include "spectrum/CQLevelDiagramBase.h"

// Levels against frequency as bars, one bar per group of itemsOnPixel
// neighbouring values; a line with a non-zero tag is a threshold drawn at the
// level of its first value.
class GUIKIT_EXPORT CQSpectrumDiagram : public CQLevelDiagramBase
{
    Q_OBJECT

public:
    using CQLevelDiagramBase::CQLevelDiagramBase;

    void AttachLineData(QList<DATA_VALUE>& values) override;
    void DrawGrid(QPainter& painter, int visibleLines) override;
    void DrawAxisXLabels(QPainter& painter, const QRect& axisXRect) override;
    void DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    void DrawData(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    bool ScrollAxisY(const QPoint& pressPos, double dy) override;
    void ShowAxisYMenu(const QPoint& globalPos) override;
    bool GetToolTipText(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text) override;

public Q_SLOTS:
    void OnMenuAction();

private:
    void DrawBars(QPainter& painter, const DATA_LINE& line, double visibleMin, double visibleMax, int group) const;
    void DrawThreshold(QPainter& painter, const DATA_LINE& line, double visibleMin, double visibleMax) const;
};
