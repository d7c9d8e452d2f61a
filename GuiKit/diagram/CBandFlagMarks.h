#pragma once

#include "GuiKitExport.h"
#include "diagram/CDiagramLayer.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>

class CQDiagramWidget;
class CTimeMapping;

// Times a band stood out, marked on a time diagram: a translucent red span
// over the band's row where the diagram draws a row a line (the band
// rows), or over the whole plot height where it does not (level lines, or a
// band whose row is hidden), with the band's name at its left end. Only
// spans in view are drawn, and the spans are bounded (MAX_SPANS, the
// oldest go first).
class GUIKIT_EXPORT CBandFlagMarks : public CDiagramLayer
{
    Q_OBJECT

public:
    struct SPAN
    {
        quint64 from = 0; // seconds, as the diagram's time axis
        quint64 to = 0;   // the last second over, counted whole
        int line = -1;    // the band's line in the first area; -1: none
        QString label;    // drawn, cut to its room
        QString text;     // the tooltip
    };

    static constexpr int MAX_SPANS = 10000;
    static constexpr int TOOLTIP_LINES = 10;
    static constexpr int LABEL_MIN_PIXELS = 24;
    static const QColor COLOUR;
    static const QColor LABEL_COLOUR;

    explicit CBandFlagMarks(CQDiagramWidget* diagram);

    void SetSpans(const QList<SPAN>& spans);
    const QList<SPAN>& Spans() const { return m_spans; }
    // Where the span is drawn now; empty when it is out of view.
    QRect SpanRect(const SPAN& span) const;
    // The texts of the spans under a point of the diagram, one a line.
    QString TextAt(const QPoint& pos) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool HasTimeAxis() const;
    QRect Place(const SPAN& span, CTimeMapping& mapping, const QRect& plot) const;

    QList<SPAN> m_spans;
};
