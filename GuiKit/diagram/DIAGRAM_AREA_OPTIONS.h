#pragma once

#include "diagram/DiagramType.h"

// What a caller asks for one plot area.
struct DIAGRAM_AREA_OPTIONS
{
    DiagramType type = DIAGRAM_TIME_LINES;
    int height = 0;     // pixels; below 10 counts as not given
    double ratio = 0.0; // share of the free height; 0 keeps the height fixed
};
