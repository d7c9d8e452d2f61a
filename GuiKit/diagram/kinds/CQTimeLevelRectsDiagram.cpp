#include "diagram/kinds/CQTimeLevelRectsDiagram.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CTimeMapping.h"
#include "diagram/history/CBarReach.h"

#include <QPainter>
#include <QVector>

#include <algorithm>

namespace {

const int TAG_BARS = 0;
const int TAG_LEVEL_LINES = 1;

} // namespace

void CQTimeLevelRectsDiagram::DrawGrid(QPainter& painter, int)
{
    DrawTimeGrid(painter);
    DrawLevelGrid(painter, true);
}

void CQTimeLevelRectsDiagram::DrawAxisYTicks(QPainter& painter, const QList<DATA_LINE*>&)
{
    DrawLevelTicks(painter, true);
}

void CQTimeLevelRectsDiagram::DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>&)
{
    DrawLevelLabels(painter, true);
}

void CQTimeLevelRectsDiagram::DrawData(QPainter& painter, const QList<DATA_LINE*>& lines)
{
    CTimeMapping map(*m_pRanges, *m_pPlotRect);
    if (!map.HasTimeAxis() || !map.HasLevelAxis())
        return;
    for (const DATA_LINE* line : lines) {
        if (line->values.isEmpty())
            continue;
        const int first = CDiagramValues::FirstAtOrAfter(line->values, map.VisibleMin());
        RememberFirstVisible(first, int(line->values.size()));
        if (line->tag == TAG_BARS)
            DrawLineValues(painter, map, *line, m_reach.FirstReaching(line->values, map.VisibleMin()));
        else if (line->tag == TAG_LEVEL_LINES)
            DrawLineValues(painter, map, *line, first);
    }
}

void CQTimeLevelRectsDiagram::DrawLineValues(QPainter& painter, CTimeMapping& map, const DATA_LINE& line, int from)
{
    const QRect& plot = *m_pPlotRect;
    const quint64 min = map.VisibleMin();
    const int end = CDiagramValues::FirstAfter(line.values, map.VisibleMax());
    if (from >= end)
        return;
    const int lastX = plot.right() + 1;
    QColor fill = line.pen.color();
    fill.setAlpha(100);
    painter.setPen(line.pen);
    painter.setBrush(QBrush(fill, Qt::SolidPattern));
    // Many values share a level; its line is drawn once.
    QVector<bool> levelDrawn(line.tag == TAG_LEVEL_LINES ? plot.height() : 0, false);
    for (int j = from; j < end; ++j) {
        const DATA_VALUE& value = line.values.at(j);
        const quint64 t = CDiagramValues::Time(value.x);
        int y = 0;
        if ((t < min && CBarReach::EndOf(value) <= min) || !map.Y(CDiagramValues::Real(value.y), y))
            continue;
        y = std::max(plot.top(), std::min(plot.bottom(), y));
        if (line.tag == TAG_LEVEL_LINES) {
            if (!levelDrawn.at(y - plot.top())) {
                levelDrawn[y - plot.top()] = true;
                painter.drawLine(plot.left(), y, plot.right(), y);
            }
            continue;
        }
        // A bar that began before the window shows from its left edge.
        const int x1 = map.X(std::max(t, min));
        const int x2 = std::min(lastX, std::max(x1, map.X(CBarReach::EndOf(value))));
        painter.drawRect(QRect(x1, y, x2 - x1, plot.bottom() - y));
    }
}

void CQTimeLevelRectsDiagram::AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values,
    bool autoScroll)
{
    CQTimeDiagramBase::AppendValue(signal, value, values, autoScroll);
    m_reach.Appended(values, value);
}

void CQTimeLevelRectsDiagram::UpdateLayout()
{
}

bool CQTimeLevelRectsDiagram::IsAxisYScrollable()
{
    return true;
}

void CQTimeLevelRectsDiagram::ShowAxisYMenu(const QPoint& globalPos)
{
    ExecLevelMenu(globalPos, false, this, &CQTimeLevelRectsDiagram::OnYMenuAction);
}

void CQTimeLevelRectsDiagram::OnYMenuAction()
{
    ApplyLevelMenuChoice(sender());
}

bool CQTimeLevelRectsDiagram::GetToolTipText(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines,
    QString& text)
{
    return LevelToolTip(deltaFlag, pos, lines, text);
}

bool CQTimeLevelRectsDiagram::GetDataAtPos(bool, const QPoint& pos, const QList<DATA_LINE*>&, QList<QVariant>& out)
{
    return TimeAndLevelAt(pos, true, out);
}
