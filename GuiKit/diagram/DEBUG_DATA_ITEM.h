#pragma once

#include <QString>

// A free text drawn over the widget, at the start of its baseline.
struct DEBUG_DATA_ITEM
{
    int x = 0;
    int y = 0;
    QString text;
};
