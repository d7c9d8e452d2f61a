#pragma once

#include "widgets/BarGraph.h"

#include <QtGlobal>

#include <array>

// One sweep as the waterfall keeps it: its levels under the bar graph's
// columns and what the readout needs to name a point of it.
struct WATERFALL_ROW
{
    static constexpr int COLUMNS = BarGraph::BARS;

    quint64 time = 0; // seconds since 1970-01-01 UTC
    int rangeStartMhz = 0;
    int rangeEndMhz = 0;
    int levelMinDbm = 0;       // the level of a point of 0
    int count = 0;             // points the sweep had, at most COLUMNS
    bool rangeChanged = false; // the range differs from the row before it
    std::array<quint8, COLUMNS> levels {};
};
