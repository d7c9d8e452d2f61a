#pragma once

#include "diagram/CQDiagramWidget.h"

#include <QImage>

// The diagram widget with its layout and range state in reach of a test,
// and a way to paint it into an image without a screen.
class CDiagramProbe : public CQDiagramWidget
{
public:
    static constexpr quint64 T0 = 1700000000;

    explicit CDiagramProbe(int width = 630, int height = 330) { Resize(width, height); }

    void Resize(int width, int height)
    {
        resize(width, height);
        update();
    }

    DIAGRAM_RANGES& Ranges() { return m_ranges; }
    const QRect& AxisXRect() const { return m_axisXRect; }
    const QRect& ScrollBarRect() const { return m_scrollBarRect; }
    const QRect& StatusRect() const { return m_statusRect; }
    const QRect& PlotRect(int area) const { return m_areas.at(area)->plotRect; }
    const QRect& AxisYRect(int area) const { return m_areas.at(area)->axisYRect; }
    DATA_LINE& Line(int area, int signal) const { return *m_areas.at(area)->lines.at(signal); }
    IDiagram* Diagram(int area) const { return m_areas.at(area)->diagram; }
    QList<DATA_LINE*> Lines(int area) const { return m_areas.at(area)->lines; }
    int AreaCount() const { return int(m_areas.size()); }
    const QVector<DEBUG_DATA_ITEM>& DebugItems() const { return m_debugItems; }

    // Full and visible time range [min, max].
    void SetTimeWindow(quint64 min, quint64 max)
    {
        SetMaxXRange(Time(min), Time(max), 1.0, true);
        SetVisibleXRange(Time(min), Time(max));
    }

    static QVariant Time(quint64 t) { return QVariant::fromValue<quint64>(t); }

    quint64 VisibleMin() const { return m_ranges.visibleXMin.toULongLong(); }
    quint64 VisibleMax() const { return m_ranges.visibleXMax.toULongLong(); }

    QImage Render(const QColor& ground = QColor(40, 40, 40))
    {
        QImage image(size(), QImage::Format_RGB32);
        image.fill(ground);
        render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }
};
