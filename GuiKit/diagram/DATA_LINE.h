#pragma once

#include "diagram/DATA_HIT.h"
#include "diagram/DATA_VALUE.h"

#include <QList>
#include <QPen>
#include <QString>

// One data line of a plot area, owned by the area.
struct DATA_LINE
{
    QString name;
    QPen pen;                 // its colour is also the text colour in the status box
    QList<DATA_VALUE> values; // time diagrams keep them sorted by time
    QList<DATA_VALUE> aux;    // reserved for the diagram
    bool visible = true;
    int tag = 0;          // stored unchanged; some diagram kinds read it
    QList<DATA_HIT> aux2; // the bars of the last drawing (Rects kind)
};
