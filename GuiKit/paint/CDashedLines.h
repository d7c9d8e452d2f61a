#pragma once

#include "GuiKitExport.h"

#include <QImage>
#include <QLine>
#include <QPen>

class QPainter;

// Thin horizontal and vertical lines of one pen, the dashed grid lines
// above all, drawn from an image of the line: the raster engine strokes a
// line a pixel at a time, which costs a grid more than anything else in a
// paint. The image is stroked with the pen itself and kept while the pen and
// the line's extent stay, so the pixels are the pen's. What an image cannot
// stand for (a scaling painter, a wide or translucent pen, a line the
// device's edge cuts) is stroked.
class GUIKIT_EXPORT CDashedLines
{
public:
    // Longer lines are stroked: their image would cost more than it saves.
    static constexpr int MAX_LENGTH = 1 << 14;

    void DrawHorizontal(QPainter& painter, const QPen& pen, int x1, int x2, int y);
    void DrawVertical(QPainter& painter, const QPen& pen, int x, int y1, int y2);

private:
    // One line from `from` to `to` along its axis; the image starts at `start`.
    struct STROKE
    {
        QPen pen;
        int from = 0;
        int to = 0;
        int start = 0;
        QImage image;
    };

    static bool CanCopy(const QPainter& painter, const QPen& pen, const QLine& line);
    static void Prepare(STROKE& stroke, const QPen& pen, int from, int to, bool vertical);

    STROKE m_horizontal;
    STROKE m_vertical;
};
