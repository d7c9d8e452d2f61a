#include "CQTimeRectsDiagram.h"

#include "CBarReach.h"
#include "CDiagramValues.h"
#include "CTimeMapping.h"

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

// The hit's value, or null when the line changed since the drawing.
const DATA_VALUE* HitValue(const DATA_LINE& line, const DATA_HIT& hit)
{
    if (hit.index < 0 || hit.index >= line.values.size())
        return nullptr;
    return &line.values.at(hit.index);
}

} // namespace

void CQTimeRectsDiagram::AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values, bool autoScroll)
{
    CQTimeDiagramBase::AppendValue(signal, value, values, autoScroll);
    m_reach.Appended(values, value);
}

int CQTimeRectsDiagram::RowTop(int line, int lines) const
{
    const int rowHeight = m_pPlotRect->height() / lines;
    return m_pPlotRect->bottom() - (lines - line) * rowHeight;
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
            DrawRow(painter, map, line, QRect(m_pPlotRect->left(), RowTop(k, count) + 2, m_pPlotRect->width(), barHeight));
    }
}

void CQTimeRectsDiagram::DrawRow(QPainter& painter, CTimeMapping& map, DATA_LINE& line, const QRect& bars)
{
    const quint64 min = map.VisibleMin();
    const int from = m_reach.FirstReaching(line.values, min);
    const int end = CDiagramValues::FirstAfter(line.values, map.VisibleMax());
    if (from >= end)
        return;
    const int lastX = bars.right() + 1;
    line.aux2.reserve(end - from);
    // Bars that overlap on screen are drawn as one: a row of thousands of
    // events on a few hundred pixels then costs a few hundred rectangles,
    // and looks the same.
    QVector<QRect> runs;
    int runLeft = 0;
    int runRight = -1;
    for (int j = from; j < end; ++j) {
        const DATA_VALUE& value = line.values.at(j);
        const quint64 start = CDiagramValues::Time(value.x);
        const quint64 stop = CBarReach::EndOf(value);
        if (start < min && stop <= min)
            continue;
        // A bar that began before the window shows from its left edge.
        const int x1 = map.X(std::max(start, min));
        const int x2 = std::min(lastX, std::max(x1, map.X(stop)));
        const bool first = line.aux2.isEmpty();
        line.aux2.append(DATA_HIT { QRect(x1, bars.top(), x2 - x1, bars.height()), j });
        if (!first && x1 <= runRight) {
            runRight = std::max(runRight, x2);
            continue;
        }
        if (!first)
            runs.append(QRect(runLeft, bars.top(), runRight - runLeft, bars.height()));
        runLeft = x1;
        runRight = x2;
    }
    if (line.aux2.isEmpty())
        return;
    runs.append(QRect(runLeft, bars.top(), runRight - runLeft, bars.height()));

    const QColor color = line.pen.color();
    QColor outline = color;
    outline.setAlpha(200);
    painter.setPen(outline);
    painter.setBrush(QBrush(color, Qt::SolidPattern));
    painter.drawRects(runs);
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

quint64 CQTimeRectsDiagram::RunDuration(const DATA_LINE& line, int j)
{
    const QList<DATA_HIT>& hits = line.aux2;
    int first = j;
    while (first > 0 && hits.at(first).rect.left() - hits.at(first - 1).rect.right() <= RUN_GAP_PIXELS
        && HitValue(line, hits.at(first - 1)) != nullptr)
        --first;
    int last = j;
    while (last + 1 < hits.size() && hits.at(last + 1).rect.left() - hits.at(last).rect.right() <= RUN_GAP_PIXELS
        && HitValue(line, hits.at(last + 1)) != nullptr)
        ++last;
    const quint64 start = CDiagramValues::Time(HitValue(line, hits.at(first))->x);
    const quint64 end = CBarReach::EndOf(*HitValue(line, hits.at(last)));
    return end > start ? end - start : 0;
}

bool CQTimeRectsDiagram::GetToolTipText(bool, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text)
{
    for (const DATA_LINE* line : lines) {
        const QList<DATA_HIT>& hits = line->aux2;
        // The bar drawn last is the one on top.
        for (int j = int(hits.size()) - 1; j >= 0; --j) {
            const DATA_VALUE* value = HitValue(*line, hits.at(j));
            if (value == nullptr || !PaintedRect(hits.at(j).rect).contains(pos))
                continue;
            // One-second events come one per record: the event is the run.
            const quint64 seconds = value->extra == 1 ? RunDuration(*line, j) : quint64(std::max(0, value->extra));
            const QString duration = QTime(0, 0).addSecs(int(seconds % 86400)).toString(QStringLiteral("hh:mm:ss"));
            const QDateTime start = CDiagramValues::LocalDateTime(CDiagramValues::Time(value->x));
            text = tr("Date/Time: %1<br>Duration: %2<br>Level: %3 dBm")
                       .arg(start.toString(QStringLiteral("dd.MM hh:mm:ss")), duration,
                           QString::number(CDiagramValues::Real(value->y), 'g', QLocale::FloatingPointShortest));
            return true;
        }
    }
    return false;
}

bool CQTimeRectsDiagram::GetDataAtPos(bool, const QPoint&, const QList<DATA_LINE*>&, QList<QVariant>&)
{
    return false;
}
