#pragma once

#include <algorithm>
#include <array>
#include <cmath>

// The spectrum's bar graph: 160 bars over a plot of 480 pixels, whatever
// the number of points a sweep has. The graph label draws it, the waterfall
// keeps a column under each bar and the spectrum window sizes itself to it.
// A sweep of N points spreads its points evenly over the plot, so that the
// first point is at the left end and the last at the right end for any N:
// the frequency labels at the plot's ends hold for every sweep.
namespace BarGraph {

constexpr int BARS = 160;
// Pixels of a bar's width, and of one level unit of its height.
constexpr int PIXELS_PER_UNIT = 3;
constexpr int PLOT_WIDTH = BARS * PIXELS_PER_UNIT;
// The line the bars stand on, in the graph's pixels: a level of 0 there,
// 60 at its top.
constexpr int BASE_LINE = 180;

// The x of the middle of a point of a sweep of `count` points.
inline double PointX(int point, int count)
{
    return count < 1 ? 0.0 : (point + 0.5) * PLOT_WIDTH / count;
}

// The first pixel column of a point's span: a point runs from its own left
// column up to the next point's, three columns a point for 160 points.
inline int PointLeft(int point, int count)
{
    return count < 1 ? 0 : point * PLOT_WIDTH / count;
}

// The point under x, held inside the sweep; 0 for an empty one.
inline int PointAtX(double x, int count)
{
    if (count < 1)
        return 0;
    return std::clamp(int(std::floor(x * count / PLOT_WIDTH)), 0, count - 1);
}

// The bar under a point's middle.
inline int BarOf(int point, int count)
{
    return count < 1 ? 0 : std::clamp((2 * point + 1) * BARS / (2 * count), 0, BARS - 1);
}

// The level of each bar: the highest of the points whose middle lies over
// it, so that a narrow emitter in a long sweep never falls between bars;
// a bar no middle lies over (a sweep of fewer points than bars) shows the
// point under its own middle. Nothing is read past `count`.
template <typename Level>
std::array<int, BARS> Bars(const Level* levels, int count)
{
    std::array<int, BARS> bars;
    bars.fill(-1);
    if (levels == nullptr || count < 1) {
        bars.fill(0);
        return bars;
    }
    for (int point = 0; point < count; ++point) {
        int& bar = bars[size_t(BarOf(point, count))];
        bar = std::max(bar, int(levels[point]));
    }
    for (int bar = 0; bar < BARS; ++bar) {
        if (bars[size_t(bar)] < 0)
            bars[size_t(bar)] = int(levels[std::min((2 * bar + 1) * count / (2 * BARS), count - 1)]);
    }
    return bars;
}

} // namespace BarGraph
