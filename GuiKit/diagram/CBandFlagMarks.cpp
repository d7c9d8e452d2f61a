#include "diagram/CBandFlagMarks.h"

#include "diagram/CQDiagramWidget.h"
#include "diagram/CTimeMapping.h"
#include "diagram/kinds/CQTimeRectsDiagram.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>

const QColor CBandFlagMarks::COLOUR(230, 0, 0, 80);
const QColor CBandFlagMarks::LABEL_COLOUR(160, 0, 0);

CBandFlagMarks::CBandFlagMarks(CQDiagramWidget* diagram)
    : CDiagramLayer(diagram)
{
}

void CBandFlagMarks::SetSpans(const QList<SPAN>& spans)
{
    m_spans = spans.mid(std::max<qsizetype>(0, spans.size() - MAX_SPANS));
    update();
}

bool CBandFlagMarks::HasTimeAxis() const
{
    const DiagramType axis = Diagram()->GetAxisXType();
    return Diagram()->AreaCount() > 0 && (axis == DIAGRAM_TIME_LINES || axis == DIAGRAM_TIME_RECTS);
}

QRect CBandFlagMarks::SpanRect(const SPAN& span) const
{
    if (!HasTimeAxis())
        return QRect();
    const QRect plot = Diagram()->GetPlotRect(0);
    CTimeMapping mapping(Diagram()->Ranges(), plot);
    return Place(span, mapping, plot);
}

QRect CBandFlagMarks::Place(const SPAN& span, CTimeMapping& mapping, const QRect& plot) const
{
    const quint64 end = span.to == ~quint64(0) ? span.to : span.to + 1;
    if (!mapping.HasTimeAxis() || end <= mapping.VisibleMin() || span.from > mapping.VisibleMax())
        return QRect();
    const int left = mapping.X(std::max(span.from, mapping.VisibleMin()));
    const int right = mapping.X(std::min(end, mapping.VisibleMax()));
    // A second of a long window is still seen.
    QRect rect(left, plot.top(), std::max(2, right - left), plot.height());
    int rows = 0;
    const int row = Diagram()->VisibleRow(0, span.line, rows);
    if (row >= 0 && Diagram()->GetDiagramType(0) == DIAGRAM_TIME_RECTS) {
        rect.setTop(CQTimeRectsDiagram::RowTop(plot, row, rows));
        rect.setHeight(plot.height() / rows);
    }
    return rect.intersected(plot);
}

QString CBandFlagMarks::TextAt(const QPoint& pos) const
{
    QStringList texts;
    if (!HasTimeAxis())
        return QString();
    const QRect plot = Diagram()->GetPlotRect(0);
    CTimeMapping mapping(Diagram()->Ranges(), plot);
    for (const SPAN& span : m_spans) {
        if (texts.size() < TOOLTIP_LINES && Place(span, mapping, plot).contains(pos) && !texts.contains(span.text))
            texts.append(span.text);
    }
    return texts.join(QLatin1Char('\n'));
}

void CBandFlagMarks::paintEvent(QPaintEvent*)
{
    if (m_spans.isEmpty() || !HasTimeAxis())
        return;
    const QRect plot = Diagram()->GetPlotRect(0);
    CTimeMapping mapping(Diagram()->Ranges(), plot);
    QPainter painter(this);
    const QFontMetrics metrics(font());
    for (const SPAN& span : std::as_const(m_spans)) {
        const QRect rect = Place(span, mapping, plot);
        if (rect.isEmpty())
            continue;
        painter.fillRect(rect, COLOUR);
        if (rect.width() < LABEL_MIN_PIXELS || rect.height() < metrics.height())
            continue;
        painter.setPen(LABEL_COLOUR);
        const QRect box = rect.adjusted(2, 0, -2, 0);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop,
            metrics.elidedText(span.label, Qt::ElideRight, box.width()));
    }
}
