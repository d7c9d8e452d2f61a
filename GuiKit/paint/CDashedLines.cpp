#include "paint/CDashedLines.h"

#include "paint/CBandedPaint.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

// Room for a cap beyond either end of the line.
const int CAP_PIXELS = 2;

} // namespace

bool CDashedLines::CanCopy(const QPainter& painter, const QPen& pen, const QLine& line)
{
    if (pen.style() == Qt::NoPen || pen.widthF() > 1.0 || pen.brush().style() != Qt::SolidPattern
        || pen.color().alpha() != 255 || painter.compositionMode() != QPainter::CompositionMode_SourceOver
        || !CBandedPaint::IsPixelExact(painter))
        return false;
    if (std::abs(qint64(line.x2()) - line.x1()) + std::abs(qint64(line.y2()) - line.y1()) >= MAX_LENGTH)
        return false;
    return CBandedPaint::IsOnDevice(painter, QRect(line.p1(), line.p2()).normalized());
}

void CDashedLines::Prepare(STROKE& stroke, const QPen& pen, int from, int to, bool vertical)
{
    if (!stroke.image.isNull() && stroke.pen == pen && stroke.from == from && stroke.to == to)
        return;
    stroke.pen = pen;
    stroke.from = from;
    stroke.to = to;
    stroke.start = std::min(from, to) - CAP_PIXELS;
    const int length = std::abs(to - from) + 1 + 2 * CAP_PIXELS;
    stroke.image = QImage(vertical ? 1 : length, vertical ? length : 1, QImage::Format_ARGB32_Premultiplied);
    stroke.image.fill(Qt::transparent);
    QPainter painter(&stroke.image);
    painter.setPen(pen);
    const int a = from - stroke.start;
    const int b = to - stroke.start;
    if (vertical)
        painter.drawLine(0, a, 0, b);
    else
        painter.drawLine(a, 0, b, 0);
}

void CDashedLines::DrawHorizontal(QPainter& painter, const QPen& pen, int x1, int x2, int y)
{
    if (!CanCopy(painter, pen, QLine(x1, y, x2, y))) {
        painter.setPen(pen);
        painter.drawLine(x1, y, x2, y);
        return;
    }
    Prepare(m_horizontal, pen, x1, x2, false);
    painter.drawImage(QPoint(m_horizontal.start, y), m_horizontal.image);
}

void CDashedLines::DrawVertical(QPainter& painter, const QPen& pen, int x, int y1, int y2)
{
    if (!CanCopy(painter, pen, QLine(x, y1, x, y2))) {
        painter.setPen(pen);
        painter.drawLine(x, y1, x, y2);
        return;
    }
    Prepare(m_vertical, pen, y1, y2, true);
    CBandedPaint::DrawImage(painter, QPoint(x, m_vertical.start), m_vertical.image);
}
