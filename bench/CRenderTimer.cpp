#include "CRenderTimer.h"

#include "CBenchStats.h"

#include <QElapsedTimer>
#include <QWidget>

#include <vector>

double CRenderTimer::MedianMs(QWidget& widget, int runs, QImage::Format format)
{
    QImage image(widget.size(), format);
    widget.render(&image);
    widget.render(&image);
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        widget.render(&image);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return CBenchStats::Median(times);
}
