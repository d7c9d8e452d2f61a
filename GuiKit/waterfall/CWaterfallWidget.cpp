#include "waterfall/CWaterfallWidget.h"

#include "diagram/CDiagramValues.h"
#include "export/CDiagramExport.h"
#include "spectrum/SpectrumPoints.h"
#include "widgets/BarGraph.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

const int TIME_LABEL_STEP = 40; // pixels between the time labels
const int TICK_LENGTH = 3;
const int FONT_PIXELS = 10;
const int WHEEL_ROWS = 5; // rows per wheel line
const QColor RANGE_MARK_COLOR(255, 255, 255, 170);

QString TimeText(quint64 time)
{
    return CDiagramValues::LocalDateTime(time).toString(QStringLiteral("hh:mm:ss"));
}

} // namespace

CWaterfallWidget::CWaterfallWidget(int levelSpan, int capacity, QWidget* parent)
    : QWidget(parent)
    , m_palette(levelSpan)
    , m_history(capacity)
    , m_pScrollBar(new QScrollBar(Qt::Vertical, this))
{
    setMouseTracking(true);
    QFont small = font();
    small.setPixelSize(FONT_PIXELS);
    setFont(small);
    m_pScrollBar->setObjectName(QStringLiteral("WaterfallScrollBar"));
    m_pScrollBar->setSingleStep(WHEEL_ROWS);
    connect(m_pScrollBar, &QScrollBar::valueChanged, this, &CWaterfallWidget::OnScrollBarValueChanged);
    SyncScrollBar();
}

int CWaterfallWidget::WidthForPlot(int plotWidth)
{
    return plotWidth + TIME_AXIS_WIDTH + SCROLL_BAR_WIDTH;
}

QRect CWaterfallWidget::PlotRect() const
{
    return QRect(0, 0, std::max(0, width() - TIME_AXIS_WIDTH - SCROLL_BAR_WIDTH), height());
}

bool CWaterfallWidget::AddSweep(const SPECTRUM_SWEEP& sweep)
{
    if (!m_history.Add(sweep, m_palette))
        return false;
    if (m_nOffset > 0)
        m_nOffset = std::min(m_nOffset + 1, MaxOffset());
    SyncScrollBar();
    UpdateReadout();
    update();
    return true;
}

void CWaterfallWidget::Clear()
{
    m_history.Clear();
    m_nOffset = 0;
    SyncScrollBar();
    UpdateReadout();
    update();
}

int CWaterfallWidget::VisibleRows() const
{
    return (PlotRect().height() + ROW_PIXELS - 1) / ROW_PIXELS;
}

int CWaterfallWidget::MaxOffset() const
{
    return std::max(0, m_history.Count() - VisibleRows());
}

void CWaterfallWidget::SyncScrollBar()
{
    const QSignalBlocker blocker(m_pScrollBar);
    m_pScrollBar->setRange(0, MaxOffset());
    m_pScrollBar->setPageStep(std::max(1, VisibleRows()));
    m_pScrollBar->setValue(m_nOffset);
}

void CWaterfallWidget::OnScrollBarValueChanged(int value)
{
    m_nOffset = std::clamp(value, 0, MaxOffset());
    UpdateReadout();
    update();
}

QString CWaterfallWidget::ReadoutAt(const QPoint& pos) const
{
    const QRect plot = PlotRect();
    if (!plot.contains(pos))
        return QString();
    const int age = m_nOffset + (pos.y() - plot.top()) / ROW_PIXELS;
    if (age >= m_history.Count())
        return QString();
    const WATERFALL_ROW& row = m_history.Row(age);
    // The point under the pixel's middle, of this row's own count: the
    // plot may be wider or narrower than the bar graph.
    const double x = (pos.x() - plot.left() + 0.5) * BarGraph::PLOT_WIDTH / plot.width();
    const int point = BarGraph::PointAtX(x, row.count);
    // Each row names its frequencies by its own range: the range may have
    // changed since.
    const double mhz = SpectrumPoints::Mhz(row.rangeStartMhz, row.rangeEndMhz, point, row.count);
    return tr("%1 MHz   %2 dBm   %3")
        .arg(mhz, 0, 'f', 1)
        .arg(row.levelMinDbm + row.levels[size_t(point)])
        .arg(TimeText(row.time));
}

void CWaterfallWidget::UpdateReadout()
{
    // The sweeps under a still cursor change as rows arrive or scroll by.
    if (m_bMouseInside)
        Q_EMIT readoutChanged(ReadoutAt(m_mousePos));
}

void CWaterfallWidget::mouseMoveEvent(QMouseEvent* event)
{
    m_bMouseInside = true;
    m_mousePos = event->position().toPoint();
    UpdateReadout();
    QWidget::mouseMoveEvent(event);
}

void CWaterfallWidget::leaveEvent(QEvent* event)
{
    m_bMouseInside = false;
    Q_EMIT readoutChanged(QString());
    QWidget::leaveEvent(event);
}

void CWaterfallWidget::wheelEvent(QWheelEvent* event)
{
    QCoreApplication::sendEvent(m_pScrollBar, event);
}

void CWaterfallWidget::resizeEvent(QResizeEvent* event)
{
    m_pScrollBar->setGeometry(width() - SCROLL_BAR_WIDTH, 0, SCROLL_BAR_WIDTH, height());
    m_nOffset = std::min(m_nOffset, MaxOffset());
    SyncScrollBar();
    QWidget::resizeEvent(event);
}

void CWaterfallWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect plot = PlotRect();
    const int rows = std::clamp(m_history.Count() - m_nOffset, 0, VisibleRows());
    PaintRows(painter, plot, rows);
    PaintRangeMarks(painter, plot, rows);
    PaintTimeAxis(painter, plot, rows);
}

void CWaterfallWidget::PaintRows(QPainter& painter, const QRect& plot, int rows) const
{
    int age = m_nOffset;
    int y = plot.top();
    for (int left = rows; left > 0;) {
        const int slot = m_history.Slot(age);
        const int run = std::min(left, m_history.Capacity() - slot);
        const QRect target(plot.left(), y, plot.width(), run * ROW_PIXELS);
        const QRect source(0, slot, WATERFALL_ROW::COLUMNS, run);
        // A picture's engine may take the whole image for a part of it (SVG does): it gets the part alone.
        if (CDiagramExport::IsExporting(this))
            painter.drawImage(target, m_history.Image().copy(source));
        else
            painter.drawImage(target, m_history.Image(), source);
        age += run;
        y += run * ROW_PIXELS;
        left -= run;
    }
    if (y <= plot.bottom())
        painter.fillRect(QRect(plot.left(), y, plot.width(), plot.bottom() + 1 - y),
            QColor(CWaterfallPalette::NO_DATA));
}

void CWaterfallWidget::PaintRangeMarks(QPainter& painter, const QRect& plot, int rows) const
{
    painter.setPen(RANGE_MARK_COLOR);
    // The line goes between a row of a new range and the older row below.
    for (int i = 0; i + 1 < rows; ++i) {
        if (m_history.Row(m_nOffset + i).rangeChanged) {
            const int y = plot.top() + (i + 1) * ROW_PIXELS;
            painter.drawLine(plot.left(), y, plot.right(), y);
        }
    }
}

void CWaterfallWidget::PaintTimeAxis(QPainter& painter, const QRect& plot, int rows) const
{
    const int left = plot.right() + 1;
    const int textHeight = painter.fontMetrics().height();
    painter.setPen(palette().color(QPalette::WindowText));
    for (int y = 0; y < rows * ROW_PIXELS; y += TIME_LABEL_STEP) {
        const int lineY = plot.top() + y;
        painter.drawLine(left, lineY, left + TICK_LENGTH, lineY);
        const int textTop = std::clamp(lineY - textHeight / 2, 0, std::max(0, height() - textHeight));
        const QRect textRect(left + TICK_LENGTH + 2, textTop, TIME_AXIS_WIDTH - TICK_LENGTH - 2, textHeight);
        const quint64 time = m_history.Row(m_nOffset + y / ROW_PIXELS).time;
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, TimeText(time));
    }
}
