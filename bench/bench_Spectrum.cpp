// Spectrum and oscilloscope benchmarks, rendered offscreen (medians):
//  - oscilloscope, 1,000,000 samples over a 1000-pixel plot: paint time
//    (goal <= 10 ms)
//  - spectrum window, 160 points set and the graph painted, 40 refreshes:
//    CPU time per refresh (goal <= 1 ms)
//  - spectrum window, a sweep of 160 and of 254 points through SetSweep and
//    the graph rendered with its overlays, all three traces shown, four
//    markers (two following the peak, one a delta marker) and a site's
//    reference with its new signals found each sweep, 40 refreshes:
//    CPU time per refresh (goal <= 1 ms); and the same with the whole
//    window rendered, the waterfall too (its paint has its own goal in
//    bench_Waterfall)
// build/bin/bench_Spectrum [runs]
#include "CBenchStats.h"
#include "CProcessUsage.h"
#include "CRenderTimer.h"
#include "SPECTRUM_SWEEP.h"
#include "diagram/CQDiagramWidget.h"
#include "reference/CReferenceController.h"
#include "spectrum/CMarkerOverlay.h"
#include "spectrum/CSpectrumWindow.h"
#include "spectrum/CTraceOverlay.h"
#include "widgets/CLabel.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QStandardPaths>

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

// M1 and M2 follow the peak of the live bars and of max hold, M3 is a
// delta marker against M1 on the average, M4 sits on min hold.
void PlaceMarkers(CSpectrumWindow& window)
{
    auto* overlay = window.findChild<CMarkerOverlay*>();
    CSpectrumMarkers& markers = overlay->Markers();
    markers.SetFollowsPeak(0, true, overlay->Values(CMarkerOverlay::LIVE_TRACE));
    markers.SetTrace(1, 1 + CSpectrumTraces::MaxHold);
    markers.SetFollowsPeak(1, true, overlay->Values(1 + CSpectrumTraces::MaxHold));
    markers.Place(2, 1 + CSpectrumTraces::Average, 20);
    markers.SetReference(2, 0);
    markers.Place(3, 1 + CSpectrumTraces::MinHold, 90);
}

// A flat reference 5 dB under the sweeps' floor: most points are new
// signals, the most work the finding has.
void LoadReference(CSpectrumWindow& window, int points)
{
    auto* references = window.findChild<CReferenceController*>();
    CSpectrumReference reference;
    reference.name = QStringLiteral("Clean");
    reference.site = QStringLiteral("Bench");
    reference.rangeStartMhz = 2400;
    reference.rangeEndMhz = 2500;
    reference.levels.assign(size_t(points), -105.0);
    QString error;
    if (!references->Use(reference, error))
        std::printf("the reference was refused: %s\n", qPrintable(error));
    references->SetMarginDb(3.0);
    references->ShowNewSignals();
}

double SweepRefreshMs(int runs, int points, bool wholeWindow)
{
    CSpectrumWindow window;
    QWidget* rendered = wholeWindow ? static_cast<QWidget*>(&window) : window.findChild<CLabel*>();
    auto* traces = window.findChild<CTraceOverlay*>();
    for (int i = 0; i < CSpectrumTraces::TRACE_COUNT; ++i)
        traces->SetShown(CSpectrumTraces::Trace(i), true);
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    SPECTRUM_SWEEP sweep;
    sweep.points = QByteArray(points, char(0));
    sweep.rangeStartMhz = 2400;
    sweep.rangeEndMhz = 2500;
    sweep.levelMinDbm = -100;
    window.SetSweep(sweep);
    LoadReference(window, points);
    PlaceMarkers(window);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = 1000.0 * CProcessUsage::CpuSeconds();
        for (int refresh = 0; refresh < 40; ++refresh) {
            for (int j = 0; j < points; ++j)
                sweep.points[j] = char((j * 3 + refresh + run) % 61);
            sweep.time = quint64(run * 40 + refresh);
            window.SetSweep(sweep);
            rendered->render(&image);
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
    // The traces shown are kept in the settings: not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("bench_Spectrum"));
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    std::printf("oscilloscope, 1,000,000 samples: %.2f ms per paint (goal <= 10)\n", OscilloscopePaintMs(runs));
    std::printf("spectrum window, 160 points: %.3f ms CPU per refresh (goal <= 1)\n", SpectrumRefreshMs(runs));
    for (int points : { 160, SPECTRUM_SWEEP::MAX_POINTS }) {
        std::printf("spectrum window, %d-point sweep, 3 traces, 4 markers, a reference: %.3f ms CPU per refresh "
                    "(goal <= 1)\n",
            points, SweepRefreshMs(runs, points, false));
        std::printf("  the whole window rendered: %.3f ms CPU per refresh\n", SweepRefreshMs(runs, points, true));
    }
    return 0;
}
