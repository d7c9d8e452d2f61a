#pragma once

#include "GuiKitExport.h"
#include "diagram/DATA_LINE.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVariant>

class QPainter;

// One diagram kind drawing inside a plot area of CQDiagramWidget. The widget
// creates it with pointers to the area's rectangles and to its range state;
// the diagram keeps them and owns neither. It holds no values itself: they
// belong to the lines handed to each call. The order of the operations is
// part of the interface.
class GUIKIT_EXPORT IDiagram : public QObject
{
    Q_OBJECT

public:
    IDiagram();
    ~IDiagram() override;

    virtual void AttachLineData(QList<DATA_VALUE>& values) = 0;
    virtual void AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values, bool autoScroll) = 0;
    virtual void DrawGrid(QPainter& painter, int visibleLines) = 0;
    virtual void DrawAxisYTicks(QPainter& painter, const QList<DATA_LINE*>& lines) = 0;
    virtual void DrawAxisXLabels(QPainter& painter, const QRect& axisXRect) = 0;
    virtual void DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>& lines) = 0;
    virtual void DrawData(QPainter& painter, const QList<DATA_LINE*>& lines) = 0;
    virtual void UpdateLayout() = 0;
    virtual bool IsScrollableX() = 0;
    virtual bool IsScrollableY() = 0;
    virtual bool IsAxisYScrollable() = 0;
    virtual void ScrollPlot(const QPoint& pressPos, int dx, double dy) = 0;
    virtual bool ScrollAxisY(const QPoint& pressPos, double dy) = 0;
    virtual void ShowPlotMenu(const QPoint& globalPos) = 0;
    virtual void ShowAxisYMenu(const QPoint& globalPos) = 0;
    virtual bool GetToolTipText(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text) = 0;
    virtual bool GetDataAtPos(bool flag, const QPoint& pos, const QList<DATA_LINE*>& lines, QList<QVariant>& out) = 0;
};
