#include "paint/CBandedPaint.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

bool CBandedPaint::IsPixelExact(const QPainter& painter)
{
    // Printers and pictures keep what they are given: lines stay lines there.
    if (painter.paintEngine() == nullptr || painter.paintEngine()->type() != QPaintEngine::Raster)
        return false;
    const QTransform& device = painter.deviceTransform();
    return device.type() <= QTransform::TxTranslate && device.dx() == std::floor(device.dx())
        && device.dy() == std::floor(device.dy()) && !painter.testRenderHint(QPainter::Antialiasing);
}

bool CBandedPaint::IsOnDevice(const QPainter& painter, const QRect& pixels)
{
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
    if (device == nullptr)
        return false;
    return QRect(0, 0, device->width(), device->height()).contains(painter.deviceTransform().mapRect(pixels));
}

bool CBandedPaint::IsOpaqueHairline(const QPainter& painter, const QPen& pen)
{
    // Where two strokes of such a pen meet, the second changes nothing.
    return pen.style() == Qt::SolidLine && pen.widthF() <= 1.0 && pen.brush().isOpaque()
        && painter.compositionMode() == QPainter::CompositionMode_SourceOver && IsPixelExact(painter);
}

void CBandedPaint::FillRect(QPainter& painter, const QRect& rect, const QBrush& brush)
{
    if (!IsPixelExact(painter) || rect.height() <= BAND_ROWS) {
        painter.fillRect(rect, brush);
        return;
    }
    for (int y = rect.top(); y <= rect.bottom(); y += BAND_ROWS)
        painter.fillRect(QRect(rect.left(), y, rect.width(), std::min(BAND_ROWS, rect.bottom() - y + 1)), brush);
}

void CBandedPaint::DrawRect(QPainter& painter, const QRect& rect, const QPen& pen, const QBrush& brush)
{
    painter.setPen(pen);
    painter.setBrush(brush);
    if (!IsOpaqueHairline(painter, pen) || rect.width() <= 0 || rect.height() <= 0
        || !IsOnDevice(painter, rect.adjusted(0, 0, 1, 1))) {
        painter.drawRect(rect);
        return;
    }
    if (brush.style() != Qt::NoBrush)
        FillRect(painter, rect, brush);
    const QBrush& ink = pen.brush();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width() + 1, 1), ink);
    painter.fillRect(QRect(rect.left(), bottom, rect.width() + 1, 1), ink);
    FillRect(painter, QRect(rect.left(), rect.top(), 1, rect.height() + 1), ink);
    FillRect(painter, QRect(right, rect.top(), 1, rect.height() + 1), ink);
}

void CBandedPaint::DrawImage(QPainter& painter, const QPoint& topLeft, const QImage& image)
{
    if (!IsPixelExact(painter) || image.height() <= BAND_ROWS) {
        painter.drawImage(topLeft, image);
        return;
    }
    for (int y = 0; y < image.height(); y += BAND_ROWS) {
        const QRect band(0, y, image.width(), std::min(BAND_ROWS, image.height() - y));
        painter.drawImage(topLeft + QPoint(0, y), image, band);
    }
}
