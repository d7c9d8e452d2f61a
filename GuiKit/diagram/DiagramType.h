#pragma once

// Kind of one plot area. Stored as int; a value outside the list leaves the
// area without a diagram object (the fixed type makes every int a value).
enum DiagramType : int {
    DIAGRAM_TIME_LINES = 0,
    DIAGRAM_TIME_RECTS = 1,
    DIAGRAM_TIME_LEVEL_RECTS = 2,
    DIAGRAM_FREQ = 3,
    DIAGRAM_SPECTRUM = 4,
    DIAGRAM_OSCILLOSCOPE = 5
};
