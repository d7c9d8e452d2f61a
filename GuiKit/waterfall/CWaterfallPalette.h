#pragma once

#include "GuiKitExport.h"

#include <QRgb>

#include <array>

// The colours of the waterfall, one per level byte, worked out once: a new
// row costs a lookup per point and a paint costs none. Level 0 is dark blue,
// the top of the bar graph's scale red, with cyan, green and yellow between;
// levels above the scale keep the top colour.
class GUIKIT_EXPORT CWaterfallPalette
{
public:
    static constexpr int LEVELS = 256;
    // Columns that a short sweep did not reach.
    static constexpr QRgb NO_DATA = 0xff000000;

    // levelSpan: the level that takes the top colour (at least 1).
    explicit CWaterfallPalette(int levelSpan);

    QRgb Color(int level) const;
    int LevelSpan() const { return m_nLevelSpan; }

private:
    static QRgb Blend(double share);

    int m_nLevelSpan;
    std::array<QRgb, LEVELS> m_colors {};
};
