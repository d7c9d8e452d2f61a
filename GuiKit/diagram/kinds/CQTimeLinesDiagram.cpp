#include "diagram/kinds/CQTimeLinesDiagram.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CTimeMapping.h"
#include "diagram/history/CLevelBlocks.h"

#include <QLine>
#include <QPainter>
#include <QVector>

#include <algorithm>
#include <limits>

namespace {

// Levels of one pixel column: the first that maps into the plot (it ends the
// polyline's segment) and the lowest and highest of all that do.
struct COLUMN_LEVELS
{
    bool any = false;
    double first = 0.0;
    double low = 0.0;
    double high = 0.0;
};

// Extends the extremes over values[i..end) while their levels are doubles
// within [levelLow, levelHigh] (those always map into the plot); returns
// where it stopped. Nothing is called inside, so the extremes stay in
// registers.
int ScanLevels(const DATA_VALUE* values, int i, int end, double levelLow, double levelHigh, double& low, double& high)
{
    const QtPrivate::QMetaTypeInterface* doubleType = QMetaType::fromType<double>().iface();
    double lo = low;
    double hi = high;
    for (; i < end; ++i) {
        const QVariant::Private& d = values[i].y.data_ptr();
        if (d.typeInterface() != doubleType)
            break;
        const double v = d.get<double>();
        if (!(v >= levelLow && v <= levelHigh))
            break;
        lo = v < lo ? v : lo;
        hi = v > hi ? v : hi;
    }
    low = lo;
    high = hi;
    return i;
}

class CColumnScan
{
public:
    CColumnScan(const CTimeMapping& map, const QRect& plot, const QList<DATA_VALUE>& values,
        const QList<DATA_VALUE>& blocks)
        : m_map(map)
        , m_values(values)
        , m_blocks(blocks)
        , m_nTop(plot.top() - 1)
        , m_nBottom(plot.bottom() + 1)
    {
    }

    COLUMN_LEVELS Levels(int from, int to) const
    {
        COLUMN_LEVELS column;
        int i = from;
        for (; i < to && !column.any; ++i)
            Take(i, column);
        while (i < to) {
            const int block = i / CLevelBlocks::BLOCK;
            const int blockEnd = (block + 1) * CLevelBlocks::BLOCK;
            double low = 0.0;
            double high = 0.0;
            if (i == block * CLevelBlocks::BLOCK && blockEnd <= to && CLevelBlocks::Extremes(m_blocks, block, low, high)
                && low >= m_map.LevelLow() && high <= m_map.LevelHigh()) {
                column.low = std::min(column.low, low);
                column.high = std::max(column.high, high);
                i = blockEnd;
                continue;
            }
            const int stop = std::min(to, blockEnd);
            i = ScanLevels(m_values.constData(), i, stop, m_map.LevelLow(), m_map.LevelHigh(), column.low, column.high);
            if (i < stop)
                Take(i++, column);
        }
        return column;
    }

private:
    // One value by the exact rule: its row within one pixel of the plot.
    void Take(int i, COLUMN_LEVELS& column) const
    {
        const double level = CDiagramValues::Real(m_values.at(i).y);
        int y = 0;
        if (!m_map.Y(level, y) || y < m_nTop || y > m_nBottom)
            return;
        if (!column.any) {
            column.any = true;
            column.first = column.low = column.high = level;
            return;
        }
        column.low = std::min(column.low, level);
        column.high = std::max(column.high, level);
    }

    const CTimeMapping& m_map;
    const QList<DATA_VALUE>& m_values;
    const QList<DATA_VALUE>& m_blocks;
    int m_nTop;
    int m_nBottom;
};

// What one line draws, gathered to be drawn in three calls.
class CPolyline
{
public:
    explicit CPolyline(const QRect& axisYRect)
        : m_axisYRect(axisYRect)
    {
    }

    int LastX() const { return m_nPrevX; }

    // The next segment end. The first gets a level lead-in from the widget's
    // left edge, drawn lighter where it crosses the Y strip.
    void Add(int x, int y)
    {
        if (m_nPrevX < 0) {
            m_nPrevX = 0;
            m_nPrevY = y;
        }
        (m_axisYRect.contains(m_nPrevX, m_nPrevY) ? m_leadIns : m_segments).append(QLine(m_nPrevX, m_nPrevY, x, y));
        m_nPrevX = x;
        m_nPrevY = y;
    }

    void AddExtent(int x, int top, int bottom) { m_extents.append(QLine(x, top, x, bottom)); }

    void Draw(QPainter& painter, const QPen& pen) const
    {
        QPen lighter = pen;
        lighter.setColor(pen.color().lighter(170));
        painter.setPen(lighter);
        painter.drawLines(m_leadIns);
        painter.setPen(pen);
        painter.drawLines(m_segments);
        painter.drawLines(m_extents);
    }

private:
    const QRect& m_axisYRect;
    QVector<QLine> m_segments;
    QVector<QLine> m_leadIns;
    QVector<QLine> m_extents;
    int m_nPrevX = -1;
    int m_nPrevY = -1;
};

} // namespace

CQTimeLinesDiagram::CQTimeLinesDiagram(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges)
    : CQTimeDiagramBase(plotRect, axisYRect, ranges)
    , m_history(CHistoryCompactor::LEVELS)
{
}

void CQTimeLinesDiagram::AttachLineData(QList<DATA_VALUE>& values)
{
    m_staleFrom.insert(&values, 0);
}

void CQTimeLinesDiagram::AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values, bool autoScroll)
{
    const qsizetype before = values.size();
    CQTimeDiagramBase::AppendValue(signal, value, values, autoScroll);
    const qsizetype changed = m_history.Offered(values, before, CDiagramValues::Time(value.x));
    if (changed < 0)
        return;
    const auto stale = m_staleFrom.constFind(&values);
    m_staleFrom.insert(&values, stale == m_staleFrom.cend() ? changed : std::min(*stale, changed));
    m_pRanges->firstVisibleIndex = -1;
}

void CQTimeLinesDiagram::DrawGrid(QPainter& painter, int)
{
    DrawTimeGrid(painter);
    DrawLevelGrid(painter, false);
}

void CQTimeLinesDiagram::DrawAxisYTicks(QPainter& painter, const QList<DATA_LINE*>&)
{
    DrawLevelTicks(painter, false);
}

void CQTimeLinesDiagram::DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>&)
{
    DrawLevelLabels(painter, false);
}

void CQTimeLinesDiagram::DrawData(QPainter& painter, const QList<DATA_LINE*>& lines)
{
    CTimeMapping map(*m_pRanges, *m_pPlotRect);
    if (!map.HasTimeAxis() || !map.HasLevelAxis())
        return;
    for (DATA_LINE* line : lines) {
        if (line->values.isEmpty())
            continue;
        CLevelBlocks::Update(line->values, line->aux, m_staleFrom.value(&line->values, -1));
        m_staleFrom.remove(&line->values);
        // Each line finds its own start: lines of one area need not hold
        // the same number of values, and the window may have moved since
        // the cached index was set.
        const int start = CDiagramValues::FirstAtOrAfter(line->values, map.VisibleMin());
        RememberFirstVisible(start, int(line->values.size()));
        if (start < line->values.size())
            DrawLine(painter, map, *line, start);
    }
}

void CQTimeLinesDiagram::DrawLine(QPainter& painter, CTimeMapping& map, const DATA_LINE& line, int start)
{
    const int lastX = m_pPlotRect->right() + 1;
    const quint64 end = map.VisibleMax();
    const quint64 afterEnd = end == std::numeric_limits<quint64>::max() ? end : end + 1;
    const QList<DATA_VALUE>& values = line.values;
    const int count = int(values.size());
    const CColumnScan scan(map, *m_pPlotRect, values, line.aux);
    CPolyline polyline(*m_pAxisYRect);
    // One pixel column at a time: its values are found by time, then only
    // their levels are read.
    for (int j = start; j < count;) {
        const quint64 t = CDiagramValues::Time(values.at(j).x);
        if (t > end)
            break;
        const int x = map.X(t);
        const int first = j;
        j = std::max(j + 1, CDiagramValues::NextAtOrAfter(values, j + 1, std::min(map.NextColumnTime(), afterEnd)));
        if (x < 0 || x > lastX || x <= polyline.LastX())
            continue;
        const COLUMN_LEVELS column = scan.Levels(first, j);
        int y = 0;
        if (!column.any || !map.Y(column.first, y))
            continue;
        polyline.Add(x, y);
        // Rows fall as levels rise: the extreme levels give the extreme rows.
        int top = 0;
        int bottom = 0;
        if (column.low != column.high && map.Y(column.high, top) && map.Y(column.low, bottom) && top != bottom)
            polyline.AddExtent(x, top, bottom);
    }
    polyline.Draw(painter, line.pen);
}

void CQTimeLinesDiagram::UpdateLayout()
{
}

bool CQTimeLinesDiagram::IsAxisYScrollable()
{
    return true;
}

void CQTimeLinesDiagram::ShowAxisYMenu(const QPoint& globalPos)
{
    ExecLevelMenu(globalPos, true, this, &CQTimeLinesDiagram::OnYMenuAction);
}

void CQTimeLinesDiagram::OnYMenuAction()
{
    ApplyLevelMenuChoice(sender());
}

bool CQTimeLinesDiagram::GetToolTipText(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines,
    QString& text)
{
    return LevelToolTip(deltaFlag, pos, lines, text);
}

bool CQTimeLinesDiagram::GetDataAtPos(bool, const QPoint& pos, const QList<DATA_LINE*>&, QList<QVariant>& out)
{
    return TimeAndLevelAt(pos, false, out);
}
