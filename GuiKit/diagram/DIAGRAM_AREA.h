#pragma once

#include "diagram/DATA_LINE.h"
#include "diagram/DiagramType.h"
#include "diagram/IDiagram.h"

#include <QList>
#include <QRect>

// One plot area of CQDiagramWidget. It owns its diagram and its lines; the
// diagram keeps pointers to plotRect and axisYRect, so an area never moves
// in memory while it lives (the widget holds areas by pointer).
struct DIAGRAM_AREA
{
    DiagramType type = DIAGRAM_TIME_LINES;
    IDiagram* diagram = nullptr; // null for a kind the kit does not draw
    QRect plotRect;
    QRect axisYRect; // the Y-axis strip left of the plot
    int height = 0;
    double ratio = 0.0;
    QList<DATA_LINE*> lines; // the index is the signal index of the widget's operations

    DIAGRAM_AREA() = default;
    DIAGRAM_AREA(const DIAGRAM_AREA&) = delete;
    DIAGRAM_AREA& operator=(const DIAGRAM_AREA&) = delete;
    ~DIAGRAM_AREA()
    {
        delete diagram;
        qDeleteAll(lines);
    }
};
