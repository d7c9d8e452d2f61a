#pragma once

#include <QRect>

// A bar as last drawn, for the tooltip under the mouse. The value is kept by
// its index, not by address: values may be appended (and the list moved)
// between a drawing and the next tooltip.
struct DATA_HIT
{
    QRect rect;
    int index = -1;
};
