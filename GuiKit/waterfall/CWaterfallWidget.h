#pragma once

#include "GuiKitExport.h"
#include "waterfall/CWaterfallHistory.h"
#include "waterfall/CWaterfallPalette.h"

#include <QWidget>

class QScrollBar;

// The spectrum over time: one row per sweep, newest at the top, the columns
// spread over the plot's width; the time of the rows down its right side
// and a scroll bar into the history. While scrolled back the view stays on
// the same sweeps as new ones arrive; at the top it follows them.
class GUIKIT_EXPORT CWaterfallWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ROW_PIXELS = 1;
    static constexpr int TIME_AXIS_WIDTH = 52;
    static constexpr int SCROLL_BAR_WIDTH = 14;

    explicit CWaterfallWidget(int levelSpan, int capacity = CWaterfallHistory::DEFAULT_CAPACITY,
        QWidget* parent = nullptr);

    // The width that gives the plot plotWidth pixels.
    static int WidthForPlot(int plotWidth);

    // False when the sweep makes no row (see CWaterfallHistory::Add).
    bool AddSweep(const SPECTRUM_SWEEP& sweep);
    void Clear();

    const CWaterfallHistory& History() const { return m_history; }
    const CWaterfallPalette& Palette() const { return m_palette; }
    // Rows between the newest and the top of the view; 0 follows live.
    int Offset() const { return m_nOffset; }
    QRect PlotRect() const;
    // Frequency, level and time of the point under pos; empty off the rows.
    QString ReadoutAt(const QPoint& pos) const;

Q_SIGNALS:
    void readoutChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void OnScrollBarValueChanged(int value);

    int VisibleRows() const;
    int MaxOffset() const;
    void SyncScrollBar();
    void UpdateReadout();
    void PaintRows(QPainter& painter, const QRect& plot, int rows) const;
    void PaintRangeMarks(QPainter& painter, const QRect& plot, int rows) const;
    void PaintTimeAxis(QPainter& painter, const QRect& plot, int rows) const;

    CWaterfallPalette m_palette;
    CWaterfallHistory m_history;
    QScrollBar* m_pScrollBar;
    int m_nOffset = 0;
    QPoint m_mousePos;
    bool m_bMouseInside = false;
};
