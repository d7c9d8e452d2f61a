#pragma once

#include <QVariant>

// The range state of one diagram widget, shared by pointer with each of its
// diagrams. Bounds that move or are compared go through CRangeGuard.
struct DIAGRAM_RANGES
{
    int firstVisibleIndex = -1; // cached first visible value of line 0; -1: search again
    int minVisibleSpan = 200;   // smallest real X span and Y span
    QVariant fullXMin;
    QVariant fullXMax;
    double fullYMin = 0.0;
    double fullYMax = 100.0;
    QVariant visibleXMin;
    QVariant visibleXMax;
    double visibleYMin = 0.0;
    double visibleYMax = 100.0;
    double ratioX = 1.0;
    double ratioY = 1.0;
    int itemsOnPixel = 1;
    bool deltaCursor = false;
    int deltaStartX = 0;
    int deltaEndX = 0;
    int minVisibleSeconds = 180; // smallest time X span
};
