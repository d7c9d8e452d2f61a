#include "waterfall/CWaterfallLegend.h"

#include "waterfall/CWaterfallPalette.h"

#include <QEvent>
#include <QPainter>

namespace {

const int FONT_PIXELS = 10;
const int LABEL_GAP = 3;

} // namespace

CWaterfallLegend::CWaterfallLegend(const CWaterfallPalette& palette, QWidget* parent)
    : QWidget(parent)
    , m_bar(1, palette.LevelSpan() + 1, QImage::Format_RGB32)
    , m_nLevelSpan(palette.LevelSpan())
{
    for (int level = 0; level <= m_nLevelSpan; ++level)
        m_bar.setPixel(0, m_nLevelSpan - level, palette.Color(level));
    QFont small = font();
    small.setPixelSize(FONT_PIXELS);
    setFont(small);
}

void CWaterfallLegend::SetLevelMin(int levelMinDbm)
{
    if (m_bLevelKnown && levelMinDbm == m_nLevelMin)
        return;
    m_nLevelMin = levelMinDbm;
    m_bLevelKnown = true;
    update();
}

QRect CWaterfallLegend::BarRect() const
{
    // Half a text line above and below, so that the end labels sit level
    // with the ends of the bar.
    const int margin = fontMetrics().height() / 2;
    return QRect(0, margin, BAR_WIDTH, std::max(0, height() - 2 * margin));
}

void CWaterfallLegend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect bar = BarRect();
    painter.drawImage(bar, m_bar);
    if (!m_bLevelKnown)
        return;
    painter.setPen(palette().color(QPalette::WindowText));
    PaintLabel(painter, bar.top(), m_nLevelMin + m_nLevelSpan);
    PaintLabel(painter, bar.center().y(), m_nLevelMin + m_nLevelSpan / 2);
    PaintLabel(painter, bar.bottom(), m_nLevelMin);
}

void CWaterfallLegend::PaintLabel(QPainter& painter, int y, int level) const
{
    const int textHeight = painter.fontMetrics().height();
    const QRect rect(BAR_WIDTH + LABEL_GAP, y - textHeight / 2, width() - BAR_WIDTH - LABEL_GAP, textHeight);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, tr("%1 dBm").arg(level));
}

void CWaterfallLegend::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        update();
    QWidget::changeEvent(event);
}
