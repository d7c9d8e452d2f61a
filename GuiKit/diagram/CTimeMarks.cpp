#include "diagram/CTimeMarks.h"

#include "diagram/CQDiagramWidget.h"
#include "diagram/CTimeMapping.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

const QColor CTimeMarks::COLOUR(200, 60, 160);

CTimeMarks::CTimeMarks(CQDiagramWidget* diagram)
    : CDiagramLayer(diagram)
{
}

void CTimeMarks::Add(const MARK& mark)
{
    if (m_marks.size() >= MAX_MARKS)
        m_marks.removeFirst();
    m_marks.append(mark);
    update();
}

void CTimeMarks::SetMarks(const QList<MARK>& marks)
{
    m_marks = marks.mid(std::max<qsizetype>(0, marks.size() - MAX_MARKS));
    update();
}

QList<std::pair<int, const CTimeMarks::MARK*>> CTimeMarks::Shown(QRect& first, QRect& plots) const
{
    QList<std::pair<int, const MARK*>> shown;
    const DiagramType type = Diagram()->GetAxisXType();
    if (m_marks.isEmpty() || Diagram()->AreaCount() == 0 || (type != DIAGRAM_TIME_LINES && type != DIAGRAM_TIME_RECTS))
        return shown;
    first = Diagram()->GetPlotRect(0);
    plots = first;
    for (int area = 1; area < Diagram()->AreaCount(); ++area)
        plots = plots.united(Diagram()->GetPlotRect(area));
    CTimeMapping mapping(Diagram()->Ranges(), first);
    if (!mapping.HasTimeAxis())
        return shown;
    for (const MARK& mark : std::as_const(m_marks)) {
        if (mark.time >= mapping.VisibleMin() && mark.time <= mapping.VisibleMax())
            shown.append({ mapping.X(mark.time), &mark });
    }
    std::stable_sort(shown.begin(), shown.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return shown;
}

QString CTimeMarks::TextAt(const QPoint& pos) const
{
    QRect first, plots;
    QStringList texts;
    for (const auto& [x, mark] : Shown(first, plots)) {
        if (plots.contains(pos) && std::abs(x - pos.x()) <= NEAR_PIXELS && texts.size() < TOOLTIP_LINES)
            texts.append(mark->text);
    }
    return texts.join(QLatin1Char('\n'));
}

// A label takes no more than the room up to the next mark, so that close
// marks keep their lines clear; the whole text is the mark's tooltip.
void CTimeMarks::paintEvent(QPaintEvent*)
{
    QRect first, plots;
    const QList<std::pair<int, const MARK*>> shown = Shown(first, plots);
    if (shown.isEmpty())
        return;
    QPainter painter(this);
    const QFontMetrics metrics(font());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const int x = shown.at(i).first;
        // Marks of one pixel column are one line: a long session's many
        // notes cost a line a column at most.
        if (i > 0 && shown.at(i - 1).first == x)
            continue;
        painter.setPen(QPen(COLOUR, 1, Qt::DashLine));
        painter.drawLine(x, plots.top(), x, plots.bottom());
        qsizetype next = i + 1;
        while (next < shown.size() && shown.at(next).first == x)
            ++next;
        const int room = next < shown.size() ? shown.at(next).first - x - 6 : LABEL_MAX_PIXELS;
        if (room < LABEL_MIN_PIXELS)
            continue;
        const QString label
            = metrics.elidedText(shown.at(i).second->text, Qt::ElideRight, std::min(room, LABEL_MAX_PIXELS));
        const QRect box(x + 2, first.top() + 1, metrics.horizontalAdvance(label) + 4, metrics.height());
        painter.fillRect(box, QColor(255, 255, 255, 200));
        painter.setPen(COLOUR);
        painter.drawText(box, Qt::AlignCenter, label);
    }
}
