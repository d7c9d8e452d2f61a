#pragma once

// How the detector's sweep speaks of levels, for the spectrum window and the
// waterfall alike.
namespace SpectrumLevels {

// The level of the lowest bar that tells the device is searching.
constexpr int SEARCH_MODE_MARKER = 153;
// The levels above the lowest that the bar graph's height shows.
constexpr int SPAN = 60;

} // namespace SpectrumLevels
