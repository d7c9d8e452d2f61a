#pragma once

#include "GuiKitExport.h"

class QBrush;
class QImage;
class QPainter;
class QPen;
class QPoint;
class QRect;

// Fills, frames and image blits cut into bands of a few dozen rows, with
// the pixels of the one plain call. The raster engine hands an operation of
// more than about a hundred rows to its thread pool; for the narrow strips
// of a diagram the hand-over costs several times the painting, the more so
// on a busy machine. A painter that scales or antialiases could seam the
// bands or soften a frame: it gets the plain call.
class GUIKIT_EXPORT CBandedPaint
{
public:
    static constexpr int BAND_ROWS = 64;

    // A raster device whose pixels the logical ones fall on 1:1, without
    // antialiasing.
    static bool IsPixelExact(const QPainter& painter);
    // The pixels lie wholly on the painter's device. Where the device's edge
    // cuts a stroke, the engine strokes it another way (a corner or the dash
    // pattern shifts), so only strokes on the device are copied.
    static bool IsOnDevice(const QPainter& painter, const QRect& pixels);

    // As painter.fillRect(rect, brush).
    static void FillRect(QPainter& painter, const QRect& rect, const QBrush& brush);
    // As painter.setPen(pen), setBrush(brush), drawRect(rect): the brush
    // inside, the frame on the edges and one pixel past the right and the
    // bottom; the painter keeps the pen and the brush.
    static void DrawRect(QPainter& painter, const QRect& rect, const QPen& pen, const QBrush& brush);
    // As painter.drawImage(topLeft, image).
    static void DrawImage(QPainter& painter, const QPoint& topLeft, const QImage& image);

private:
    static bool IsOpaqueHairline(const QPainter& painter, const QPen& pen);
};
