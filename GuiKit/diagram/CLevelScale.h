#pragma once

#include "GuiKitExport.h"

#include <QList>
#include <QRect>
#include <QVector>

#include <functional>

class CLabelCache;
class QPainter;
class QString;

// The level scale of a Y strip: round steps of 5 dB at least 20 pixels
// apart, the levels inside the visible range and the rows they fall on.
// Shared by the time and the frequency diagrams.
class GUIKIT_EXPORT CLevelScale
{
public:
    static constexpr int MIN_PIXELS = 20;
    static constexpr int MAX_MENU_ENTRIES = 1000;

    // A strip without height or an empty, reversed or endless range has no
    // step and no levels.
    CLevelScale(double visibleMin, double visibleMax, int stripHeight);

    // The smallest multiple of 5 units whose steps are at least minPixels
    // apart; 0 when there is none (no pixels, or an endless range).
    static double Step(double pxPerUnit, int minPixels);

    // Downwards counts from the strip's top, otherwise from its bottom.
    int Row(const QRect& strip, double level, bool downwards) const;

    // The entries of a level menu in steps of 10 across the full range;
    // a span of 0 or more leaves out the levels inside it.
    static QList<int> MenuValues(double fullMin, double fullMax, int span = -1);

    // One label per level, centred on its row, with the figure shown(level)
    // and the unit; the painter's pen and font are the caller's. Labels
    // kept in a cache are drawn from it.
    void DrawLabels(QPainter& painter, const QRect& strip, bool downwards, const QString& unit,
        const std::function<double(double)>& shown, CLabelCache* labels = nullptr) const;

    double pxPerUnit = 0.0;
    double step = 0.0;
    double visibleMin = 0.0;
    double visibleMax = 0.0;
    QVector<double> levels;
};
