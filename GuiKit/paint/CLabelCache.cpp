#include "paint/CLabelCache.h"

#include <QPainter>
#include <QTextLayout>

namespace {

// The line width drawText gives a text that is not wrapped.
const qreal UNWRAPPED_WIDTH = 0x01000000;

} // namespace

bool CLabelCache::NeedsDrawText(const QPainter& painter, const QString& text)
{
    if (painter.layoutDirection() == Qt::RightToLeft || text.isRightToLeft())
        return true;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return true;
    }
    return false;
}

CLabelCache::LAID_TEXT CLabelCache::Lay(const KEY& key)
{
    LAID_TEXT laid;
    laid.layout = std::make_shared<QTextLayout>(key.text, key.font);
    laid.layout->setCacheEnabled(true);
    QTextOption option;
    option.setAlignment(Qt::AlignLeft);
    option.setWrapMode(QTextOption::ManualWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    laid.layout->setTextOption(option);
    laid.layout->beginLayout();
    QTextLine line = laid.layout->createLine();
    if (line.isValid()) {
        line.setLineWidth(UNWRAPPED_WIDTH);
        line.setPosition(QPointF(0.0, 0.0));
        laid.advance = line.horizontalAdvance();
        laid.width = line.naturalTextWidth();
        laid.height = line.ascent() + line.descent();
    }
    laid.layout->endLayout();
    return laid;
}

void CLabelCache::DrawCentred(QPainter& painter, const QRect& rect, const QString& text)
{
    if (text.isEmpty() || painter.pen().style() == Qt::NoPen)
        return;
    if (NeedsDrawText(painter, text)) {
        painter.drawText(rect, Qt::AlignCenter, text);
        return;
    }
    const KEY key { text, painter.font(), painter.device() != nullptr ? painter.device()->logicalDpiY() : 0 };
    auto found = m_texts.constFind(key);
    if (found == m_texts.constEnd()) {
        if (m_texts.size() >= MAX_TEXTS)
            m_texts.clear();
        found = m_texts.insert(key, Lay(key));
    }
    const LAID_TEXT& laid = found.value();
    if (laid.layout->lineCount() == 0)
        return;
    const QPointF origin(rect.x() + (rect.width() - laid.advance) / 2, rect.y() + (rect.height() - laid.height) / 2);
    // As drawText does, a text that overflows its rectangle is cut at its edges.
    const bool clip = !QRectF(rect).contains(QRectF(origin, QSizeF(laid.width, laid.height)));
    if (clip) {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
    }
    laid.layout->lineAt(0).draw(&painter, origin);
    if (clip)
        painter.restore();
}
