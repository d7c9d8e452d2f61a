// Waterfall benchmarks, rendered offscreen (medians), with a full history:
//  - a paint of a 1000 x 400 plot following live rows, and one scrolled
//    back over the ring's seam (two slices of the image) (goal <= 3 ms)
//  - one sweep added as a row (goal <= 0.05 ms)
// build/bin/bench_Waterfall [runs]
#include "CBenchStats.h"
#include "CRenderTimer.h"
#include "SPECTRUM_SWEEP.h"
#include "spectrum/CSpectrumWindow.h"
#include "spectrum/SpectrumLevels.h"
#include "waterfall/CWaterfallWidget.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const int PLOT_WIDTH = 1000;
const int PLOT_HEIGHT = 400;
const int ADDS_PER_RUN = 1000;

// A peak that wanders over a noise floor, as a scan of a room shows.
SPECTRUM_SWEEP DriftingSweep(int index)
{
    SPECTRUM_SWEEP sweep;
    sweep.time = quint64(1700000000 + index / 10);
    sweep.rangeStartMhz = 2400;
    sweep.rangeEndMhz = 2480;
    sweep.levelMinDbm = -100;
    sweep.points = QByteArray(160, '\0');
    const int peak = 80 + (index / 7) % 40 - 20;
    for (int j = 0; j < 160; ++j)
        sweep.points[j] = char(30 + (j * 7 + index) % 3 + std::max(0, 25 - 5 * std::abs(j - peak)));
    return sweep;
}

double PaintMs(CWaterfallWidget& widget, int runs)
{
    return CRenderTimer::MedianMs(widget, runs, QImage::Format_RGB32);
}

double AddMs(CWaterfallWidget& widget, int runs)
{
    std::vector<SPECTRUM_SWEEP> sweeps;
    for (int i = 0; i < ADDS_PER_RUN; ++i)
        sweeps.push_back(DriftingSweep(i));
    std::vector<double> times;
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        timer.start();
        for (const SPECTRUM_SWEEP& sweep : sweeps)
            widget.AddSweep(sweep);
        times.push_back(timer.nsecsElapsed() / 1e6 / ADDS_PER_RUN);
    }
    return CBenchStats::Median(times);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCursor::setPos(-10000, -10000);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 201;
    CWaterfallWidget widget(SpectrumLevels::SPAN);
    widget.resize(CWaterfallWidget::WidthForPlot(PLOT_WIDTH), PLOT_HEIGHT);
    const int capacity = widget.History().Capacity();
    // One and a half rounds of the ring: the newest row sits mid-image.
    for (int i = 0; i < capacity * 3 / 2; ++i)
        widget.AddSweep(DriftingSweep(i));
    std::printf("history: %d of %d rows, plot %d x %d\n", widget.History().Count(), capacity, widget.PlotRect().width(),
        widget.PlotRect().height());
    std::printf("waterfall paint, live: %.3f ms (goal <= 3)\n", PaintMs(widget, runs));
    const int seam = capacity - widget.History().Slot(0) - PLOT_HEIGHT / 2;
    widget.findChild<QScrollBar*>()->setValue(seam);
    std::printf("waterfall paint, scrolled back over the seam: %.3f ms (goal <= 3)\n", PaintMs(widget, runs));
    widget.findChild<QScrollBar*>()->setValue(0);
    std::printf("waterfall row added: %.4f ms (goal <= 0.05)\n", AddMs(widget, std::max(1, runs / 10)));
    return 0;
}
