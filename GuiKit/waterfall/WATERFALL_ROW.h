#pragma once

#include "SPECTRUM_SWEEP.h"
#include "widgets/BarGraph.h"

#include <QtGlobal>

#include <array>

// One sweep as the waterfall keeps it: all its points, for the readout to
// name any of them, and what the readout needs to name a point's
// frequency. Its picture has a column under each bar of the bar graph.
struct WATERFALL_ROW
{
    static constexpr int COLUMNS = BarGraph::BARS;

    quint64 time = 0; // seconds since 1970-01-01 UTC
    int rangeStartMhz = 0;
    int rangeEndMhz = 0;
    int levelMinDbm = 0;       // the level of a point of 0
    int count = 0;             // points the sweep had, at most SPECTRUM_SWEEP::MAX_POINTS
    bool rangeChanged = false; // the range differs from the row before it
    std::array<quint8, SPECTRUM_SWEEP::MAX_POINTS> levels {};
};
