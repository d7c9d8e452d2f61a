#include "diagram/kinds/CQTimeRectsDiagram.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CTimeMapping.h"

#include <QPainter>
#include <QTime>
#include <QVector>

#include <algorithm>

namespace {

const int RUN_GAP_PIXELS = 2;

// What a bar covers on screen: its outline adds a pixel right and below.
QRect PaintedRect(const QRect& bar)
{
    return QRect(bar.left(), bar.top(), bar.width() + 1, bar.height() + 1);
}

// The earliest time drawn in pixel column c or right of it.
quint64 FirstTimeOfColumn(CTimeMapping& map, int c)
{
    quint64 t = map.TimeAt(c);
    // The time under a column may still fall into the one before it.
    for (int x = map.X(t); x < c && t < map.NextColumnTime(); x = map.X(t))
        t = map.NextColumnTime();
    return t;
}

// The columns of a run within the window; false when it is not shown. A
// run that began before the window shows from its left edge.
bool RunColumns(CTimeMapping& map, const CBarRuns::RUN& run, int lastX, int& x1, int& x2)
{
    const quint64 min = map.VisibleMin();
    if ((run.end <= min && run.start < min) || run.start > map.VisibleMax())
        return false;
    x1 = map.X(std::max(run.start, min));
    x2 = std::min(lastX, std::max(x1, map.X(run.end)));
    return true;
}

} // namespace

CQTimeRectsDiagram::CQTimeRectsDiagram(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges)
    : CQTimeDiagramBase(plotRect, axisYRect, ranges)
    , m_history(CHistoryCompactor::BARS)
{
}

void CQTimeRectsDiagram::AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values, bool autoScroll)
{
    const qsizetype before = values.size();
    CQTimeDiagramBase::AppendValue(signal, value, values, autoScroll);
    const qsizetype changed = m_history.Offered(values, before, CDiagramValues::Time(value.x));
    m_runs.Changed(values, changed);
    if (changed >= 0)
        m_pRanges->firstVisibleIndex = -1;
}

int CQTimeRectsDiagram::RowTop(const QRect& plot, int line, int lines)
{
    const int rowHeight = plot.height() / lines;
    return plot.bottom() - (lines - line) * rowHeight;
}

int CQTimeRectsDiagram::RowTop(int line, int lines) const
{
    return RowTop(*m_pPlotRect, line, lines);
}

void CQTimeRectsDiagram::DrawGrid(QPainter& painter, int visibleLines)
{
    if (visibleLines <= 0)
        return;
    const QRect& plot = *m_pPlotRect;
    painter.setPen(m_gridPen);
    for (int k = 0; k < visibleLines; ++k) {
        const int y = RowTop(k, visibleLines);
        painter.drawLine(plot.left(), y, plot.right(), y);
    }
}

void CQTimeRectsDiagram::DrawAxisYTicks(QPainter&, const QList<DATA_LINE*>&)
{
}

void CQTimeRectsDiagram::DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>& lines)
{
    const int count = int(lines.size());
    if (count == 0)
        return;
    const QRect& strip = *m_pAxisYRect;
    const int rowHeight = m_pPlotRect->height() / count;
    painter.setFont(m_textFont);
    for (int k = 0; k < count; ++k) {
        const QRect row(strip.left(), RowTop(k, count) + 1, strip.width(), rowHeight - 2);
        QColor fill = lines.at(k)->pen.color();
        fill.setAlpha(150);
        painter.fillRect(row, fill.darker(200));
        painter.setPen(Qt::white);
        painter.drawText(row, Qt::AlignCenter, lines.at(k)->name);
    }
}

void CQTimeRectsDiagram::DrawData(QPainter& painter, const QList<DATA_LINE*>& lines)
{
    const int count = int(lines.size());
    if (count == 0)
        return;
    CTimeMapping map(*m_pRanges, *m_pPlotRect);
    const int barHeight = std::max(0, m_pPlotRect->height() / count - 4);
    for (int k = 0; k < count; ++k) {
        DATA_LINE& line = *lines.at(k);
        line.aux2.clear();
        if (map.HasTimeAxis() && !line.values.isEmpty())
            DrawRow(painter, map, line,
                QRect(m_pPlotRect->left(), RowTop(k, count) + 2, m_pPlotRect->width(), barHeight));
    }
}

void CQTimeRectsDiagram::DrawRow(QPainter& painter, CTimeMapping& map, DATA_LINE& line, const QRect& bars)
{
    const QVector<CBarRuns::RUN>& runs = m_runs.Runs(line.values);
    const int lastX = bars.right() + 1;
    // Runs that overlap on screen are drawn as one: a row of thousands of
    // runs on a few hundred pixels then costs a few hundred rectangles, and
    // looks the same.
    QVector<QRect> rects;
    bool open = false;
    int left = 0;
    int right = 0;
    auto flush = [&] {
        if (open)
            rects.append(QRect(left, bars.top(), right - left, bars.height()));
    };
    for (int k = CBarRuns::FirstShown(runs, map.VisibleMin()); k < runs.size();) {
        int x1 = 0;
        int x2 = 0;
        if (!RunColumns(map, runs.at(k), lastX, x1, x2))
            break;
        if (open && x1 <= right) {
            right = std::max(right, x2);
        } else {
            flush();
            open = true;
            left = x1;
            right = x2;
            line.aux2.append(DATA_HIT { QRect(), runs.at(k).first });
        }
        line.aux2.last().rect = QRect(left, bars.top(), right - left, bars.height());
        if (right >= lastX)
            break;
        // Of the runs that start left of the next column only the last can
        // reach further (ends rise with starts): the others are covered.
        const int next = CBarRuns::FirstStartingAt(runs, k + 1, FirstTimeOfColumn(map, right + 1));
        k = next - 1 > k ? next - 1 : next;
    }
    flush();
    if (rects.isEmpty())
        return;
    const QColor color = line.pen.color();
    QColor outline = color;
    outline.setAlpha(200);
    painter.setPen(outline);
    painter.setBrush(QBrush(color, Qt::SolidPattern));
    painter.drawRects(rects);
}

void CQTimeRectsDiagram::UpdateLayout()
{
}

bool CQTimeRectsDiagram::IsAxisYScrollable()
{
    return false;
}

void CQTimeRectsDiagram::ShowAxisYMenu(const QPoint&)
{
}

quint64 CQTimeRectsDiagram::RunDuration(CTimeMapping& map, const QVector<CBarRuns::RUN>& runs, int k) const
{
    const int lastX = m_pPlotRect->right() + 1;
    // The gap between two drawn bars: from the last column of one (its
    // rectangle's right) to the first of the next.
    auto close = [&](int a, int b) {
        int left1 = 0, right1 = 0, left2 = 0, right2 = 0;
        return RunColumns(map, runs.at(a), lastX, left1, right1) && RunColumns(map, runs.at(b), lastX, left2, right2)
            && left2 - (right1 - 1) <= RUN_GAP_PIXELS;
    };
    int first = k;
    while (first > 0 && close(first - 1, first))
        --first;
    int last = k;
    while (last + 1 < runs.size() && close(last, last + 1))
        ++last;
    return runs.at(last).end - runs.at(first).start;
}

int CQTimeRectsDiagram::ValueAt(CTimeMapping& map, const DATA_LINE& line, const DATA_HIT& hit, int x) const
{
    // The last bar that starts in the column or before it is the one on top.
    const int before = CDiagramValues::FirstAtOrAfter(line.values, FirstTimeOfColumn(map, x + 1)) - 1;
    return std::max(hit.index, before);
}

bool CQTimeRectsDiagram::GetToolTipText(bool, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text)
{
    CTimeMapping map(*m_pRanges, *m_pPlotRect);
    for (const DATA_LINE* line : lines) {
        const QList<DATA_HIT>& hits = line->aux2;
        // The bar drawn last is the one on top.
        for (int j = int(hits.size()) - 1; j >= 0; --j) {
            const DATA_HIT& hit = hits.at(j);
            // A hit left from before the line changed says nothing.
            if (hit.index < 0 || hit.index >= line->values.size() || !PaintedRect(hit.rect).contains(pos))
                continue;
            const int index = ValueAt(map, *line, hit, pos.x());
            const QVector<CBarRuns::RUN>& runs = m_runs.Runs(line->values);
            const int run = CBarRuns::RunOfValue(runs, index);
            if (run < 0)
                continue;
            const DATA_VALUE& value = line->values.at(index);
            // One-second events come one per record: the event is the run.
            const quint64 seconds = value.extra == 1 ? RunDuration(map, runs, run) : quint64(std::max(0, value.extra));
            const QString duration = QTime(0, 0).addSecs(int(seconds % 86400)).toString(QStringLiteral("hh:mm:ss"));
            const QDateTime start = CDiagramValues::LocalDateTime(CDiagramValues::Time(value.x));
            text = tr("Date/Time: %1<br>Duration: %2<br>Level: %3 dBm")
                       .arg(start.toString(QStringLiteral("dd.MM hh:mm:ss")), duration,
                           QString::number(CDiagramValues::Real(value.y), 'g', QLocale::FloatingPointShortest));
            return true;
        }
    }
    return false;
}

bool CQTimeRectsDiagram::GetDataAtPos(bool, const QPoint&, const QList<DATA_LINE*>&, QList<QVariant>&)
{
    return false;
}
