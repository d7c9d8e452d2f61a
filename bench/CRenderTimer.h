#pragma once

#include <QImage>

class QWidget;

// The wall time of drawing a widget into an image, the median of runs after
// two warm-up renders: the caches a paint fills are then as a live window
// has them.
class CRenderTimer
{
public:
    static double MedianMs(QWidget& widget, int runs, QImage::Format format = QImage::Format_ARGB32_Premultiplied);
};
