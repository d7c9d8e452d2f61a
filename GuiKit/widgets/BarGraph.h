#pragma once

// The spectrum's bar graph: one bar per point of a sweep, as many as the
// detector's spectrum has. The graph label draws it, the waterfall keeps a
// column under each bar and the spectrum window sizes itself to it.
namespace BarGraph {

constexpr int BARS = 160;
// Pixels of a bar's width, and of one level unit of its height.
constexpr int PIXELS_PER_UNIT = 3;
// The line the bars stand on, in the graph's pixels: a level of 0 there,
// 60 at its top.
constexpr int BASE_LINE = 180;

} // namespace BarGraph
