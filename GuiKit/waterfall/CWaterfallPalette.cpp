#include "waterfall/CWaterfallPalette.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

struct COLOR_STOP
{
    double share;
    int red;
    int green;
    int blue;
};

// The blues take the lower half, where the noise floor of a scan lies, so
// that a signal stands out of it in the warm colours.
const COLOR_STOP STOPS[] = {
    { 0.0, 0, 0, 64 },
    { 0.35, 0, 0, 255 },
    { 0.55, 0, 255, 255 },
    { 0.7, 0, 255, 0 },
    { 0.85, 255, 255, 0 },
    { 1.0, 255, 0, 0 },
};

int Mix(int from, int to, double t)
{
    return int(std::lround(from + (to - from) * t));
}

} // namespace

CWaterfallPalette::CWaterfallPalette(int levelSpan)
    : m_nLevelSpan(std::max(1, levelSpan))
{
    for (int level = 0; level < LEVELS; ++level)
        m_colors[size_t(level)] = Blend(std::min(1.0, double(level) / m_nLevelSpan));
}

QRgb CWaterfallPalette::Color(int level) const
{
    return m_colors[size_t(std::clamp(level, 0, LEVELS - 1))];
}

QRgb CWaterfallPalette::Blend(double share)
{
    const COLOR_STOP* upper = std::find_if(std::begin(STOPS) + 1, std::end(STOPS) - 1,
        [share](const COLOR_STOP& stop) { return share <= stop.share; });
    const COLOR_STOP& lower = *(upper - 1);
    const double t = (share - lower.share) / (upper->share - lower.share);
    return qRgb(Mix(lower.red, upper->red, t), Mix(lower.green, upper->green, t), Mix(lower.blue, upper->blue, t));
}
