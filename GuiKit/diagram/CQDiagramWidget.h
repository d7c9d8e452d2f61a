#pragma once

#include "GuiKitExport.h"
#include "diagram/CTimeLabels.h"
#include "diagram/DATA_LINE.h"
#include "diagram/DEBUG_DATA_ITEM.h"
#include "diagram/DIAGRAM_AREA.h"
#include "diagram/DIAGRAM_AREA_OPTIONS.h"
#include "diagram/DIAGRAM_RANGES.h"
#include "diagram/DiagramType.h"
#include "paint/CLabelCache.h"

#include <QBrush>
#include <QFont>
#include <QFrame>
#include <QList>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QVariant>
#include <QVector>

#include <algorithm>

// The plotting widget of the kit: plot areas stacked from the top, sharing
// one X axis strip and one scroll indicator at the bottom. Each area draws
// through its diagram object (a kind of IDiagram) and holds its data lines.
//
// Bad area or signal indices throw std::out_of_range with "Area index out of
// range!" or "Signal index out of range!"; nothing is changed before.
// Everything runs on the GUI thread; the range state is guarded by the one
// process-wide lock of CRangeGuard.
class GUIKIT_EXPORT CQDiagramWidget : public QFrame
{
    Q_OBJECT

public:
    explicit CQDiagramWidget(QWidget* parent = nullptr);
    ~CQDiagramWidget() override;

    virtual void DrawXLabels(QPainter& painter);

    void SetSingleDiagramArea();
    void SetDiagramAreas(const QList<DIAGRAM_AREA_OPTIONS>& options);
    // Kept for callers of the interface: it reports nothing.
    void GetDiagramAreasCount();
    void SetDiagramType(int area, DiagramType type);
    DiagramType GetDiagramType(int area);
    void SetAxisXType(DiagramType type);
    DiagramType GetAxisXType();

    void SetMaxXRange(const QVariant& min, const QVariant& max, double ratioX, bool setVisible);
    void SetVisibleXRange(const QVariant& min, const QVariant& max);
    void SetMaxYRange(double min, double max, double ratioY);
    void SetYRangeRatio(double ratioY);
    double GetYRangeRatio();
    void SetVisibleYRange(double min, double max, bool alsoFull);
    void Reset();
    int GetRatioX();
    void SetItemsOnPixel(int items);
    int GetItemsOnPixel();
    void SetAxisYWidth(int pixels);
    void SetAxisXHeight(int pixels);
    const QRect& GetPlotRect(int area);
    // What a layer drawn over the plots (CTimeMarks) places itself by.
    int AreaCount() const { return int(m_areas.size()); }
    const DIAGRAM_RANGES& Ranges() const { return m_ranges; }
    // Where a line stands among the area's visible lines, which rows draw
    // one each; -1 for a hidden line or one the area lacks. rows: how many
    // visible lines the area has.
    int VisibleRow(int area, int signal, int& rows) const;
    // Seconds of a time axis in view.
    quint64 VisibleSeconds() const
    {
        const quint64 max = m_ranges.visibleXMax.toULongLong();
        return max - std::min(m_ranges.visibleXMin.toULongLong(), max);
    }
    void EnableAutoscroll(bool enable);
    bool IsAutoScroll();

    void AddLine(int area, const QString& name, const QPen& pen, int tag, bool visible);
    void AddValue(int area, int signal, const QVariant& x, const QVariant& y, int extra);
    void AddValues(int area, int signal, const QList<double>& values);
    void SetLineVisible(int area, int signal, bool visible);
    void Clear(bool keepLines);
    bool GetDataAtPos(bool flag, const QPoint& pos, QList<QVariant>& out);
    void SetDebugDataItem(int index, int x, int y, const QString& name, double value, double extra);

    void DrawStatus(const QPoint& point, QPainter& painter, const QList<DATA_LINE*>& lines);
    QString FormatStatusDate(DATA_LINE* line, quint64 time);
    QString FormatStatusFreq(DATA_LINE* line, double x, double unused);
    void DrawScrollBarX(QPainter& painter, const QVariant& position);

    // Navigation; points named global are screen coordinates.
    bool IsPlotArea(const QPoint& globalPos);
    bool IsAxisXArea(const QPoint& globalPos);
    bool IsAxisYArea(const QPoint& globalPos);
    bool IsAxisXScrollable();
    void ScrollAxisX(const QPoint& pressPos, int dx);
    void ShrinkAxisX(int delta);
    void ShowAxisXMenu(const QPoint& globalPos);
    void SetDeltaCursor(bool on);
    void ShowPosToolTip(bool deltaFlag);

    using QFrame::update;

public Q_SLOTS:
    // Lays the areas out again, then schedules a repaint.
    void update();
    void OnXMenuDateAction();

Q_SIGNALS:
    void diagramTypeChanged(int nArea, DiagramType eType);
    void autoScrollToggle(bool bEnabled);

protected:
    virtual void CalculateRects();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    void DrawXLabelsDate(QPainter& painter);
    void DrawXLabelsDouble(QPainter& painter);
    void ScrollAxisXDate(const QPoint& pressPos, int dx);
    void ScrollAxisXDouble(const QPoint& pressPos, int dx);
    void ShrinkAxisXDate(int delta);
    void ShrinkAxisXDouble(int delta);
    void ShowAxisXDateMenu(const QPoint& globalPos);
    void ShowAxisXDoubleMenu(const QPoint& globalPos);

    DIAGRAM_AREA& Area(int area) const;
    DATA_LINE* Line(int area, int signal) const;
    static QList<DATA_LINE*> VisibleLines(const DIAGRAM_AREA& area);

    QList<DIAGRAM_AREA*> m_areas; // owned, display order from the top
    DIAGRAM_RANGES m_ranges;
    DiagramType m_eAxisXType = DIAGRAM_TIME_LINES;
    int m_nAxisYWidth = 30;
    int m_nAxisXHeight = 15;
    QRect m_axisXRect;
    QRect m_scrollBarRect;
    QRect m_statusRect;
    int m_nHighlightAlpha = 65;
    int m_nStatusTitleHeight = 15;
    int m_nStatusLineHeight = 10;
    QFont m_titleFont;
    QFont m_valueFont;
    QFont m_labelFont;
    QBrush m_statusBrush;
    QPen m_statusPen;
    bool m_bAutoScroll = true;
    QPoint m_pressPos;
    QPoint m_lastPos;
    QVector<DEBUG_DATA_ITEM> m_debugItems;
    CTimeLabels m_timeLabels;
    CLabelCache m_statusTexts;

private:
    // Labels, panning, zooming, the X menu and the X tooltip.
    bool IsTimeNavigation() const;
    bool IsTimeScrollBar() const;
    // The hover fill of the X axis half a drag would move.
    bool HighlightsAxisHalf() const;
    // The first area whose plot (or Y strip) holds the point, or null.
    const DIAGRAM_AREA* AreaUnder(const QPoint& pos, QRect DIAGRAM_AREA::*part) const;
    QRect AxisXLeftHalf() const;
    void DrawAreas(QPainter& painter, const QPoint& cursor, QList<DATA_LINE*>& statusLines);
    void DrawCrosshair(QPainter& painter, const QPoint& cursor);
    void UpdateCursorShape(const QPoint& pos);
    void DragTo(const QPoint& pos);
    void SwitchAutoScrollOff();
};
