// Spectrum and oscilloscope benchmarks, rendered offscreen (medians):
//  - oscilloscope, 1,000,000 samples over a 1000-pixel plot: paint time
//    (goal <= 10 ms)
//  - spectrum window, 160 points set and the graph painted, 40 refreshes:
//    CPU time per refresh (goal <= 1 ms)
// build/bin/bench_Spectrum [runs]
#include "CBenchStats.h"
#include "CProcessUsage.h"
#include "CRenderTimer.h"
#include "diagram/CQDiagramWidget.h"
#include "spectrum/CSpectrumWindow.h"
#include "widgets/CLabel.h"

#include <QApplication>
#include <QCursor>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double OscilloscopePaintMs(int runs)
{
    CQDiagramWidget widget;
    widget.SetDiagramType(0, DIAGRAM_OSCILLOSCOPE);
    widget.SetAxisXType(DIAGRAM_OSCILLOSCOPE);
    widget.SetAxisYWidth(30);
    widget.resize(1030, 400);
    widget.SetMaxYRange(0.0, 255.0, 0.1);
    widget.SetMaxXRange(0.0, 1000000.0, 0.0065156482861401, true);
    widget.AddLine(0, QStringLiteral("wave"), QPen(Qt::blue), 0, true);
    QList<double> samples;
    samples.reserve(1000000);
    for (int i = 0; i < 1000000; ++i)
        samples.append((i % 256) * 31 % 256);
    widget.AddValues(0, 0, samples);
    std::printf("oscilloscope plot width: %d\n", widget.GetPlotRect(0).width());
    return CRenderTimer::MedianMs(widget, runs);
}

double SpectrumRefreshMs(int runs)
{
    CSpectrumWindow window;
    auto* graph = window.findChild<CLabel*>();
    QImage image(graph->size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<unsigned char> data(160);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = 1000.0 * CProcessUsage::CpuSeconds();
        for (int refresh = 0; refresh < 40; ++refresh) {
            for (int j = 0; j < 160; ++j)
                data[size_t(j)] = (unsigned char)((j * 3 + refresh + run) % 61);
            window.SetSpectrumData(data.data(), 160, 2400, 2483, 2450, -100, -50, -90, 1);
            graph->render(&image);
        }
        times.push_back((1000.0 * CProcessUsage::CpuSeconds() - start) / 40);
    }
    return CBenchStats::Median(times);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCursor::setPos(-10000, -10000);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    std::printf("oscilloscope, 1,000,000 samples: %.2f ms per paint (goal <= 10)\n", OscilloscopePaintMs(runs));
    std::printf("spectrum window, 160 points: %.3f ms CPU per refresh (goal <= 1)\n", SpectrumRefreshMs(runs));
    return 0;
}
