#include "diagram/CQDiagramWidget.h"
#include "diagram/DiagramDefaults.h"

#include "diagram/CTimeMapping.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CRangeGuard.h"
#include "diagram/CScrollThumb.h"
#include "diagram/kinds/CQTimeLevelRectsDiagram.h"
#include "diagram/kinds/CQTimeLinesDiagram.h"
#include "diagram/kinds/CQTimeRectsDiagram.h"
#include "export/CDiagramExport.h"
#include "oscilloscope/CQOscilloscopeDiagram.h"
#include "paint/CBandedPaint.h"
#include "spectrum/CQFreqDiagram.h"
#include "spectrum/CQSpectrumDiagram.h"

#include <QCursor>
#include <QDateTime>
#include <QMutexLocker>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

using Lock = QMutexLocker<QRecursiveMutex>;

IDiagram* CreateDiagram(DiagramType type, DIAGRAM_AREA& area, DIAGRAM_RANGES* ranges)
{
    switch (type) {
    case DIAGRAM_TIME_LINES: return new CQTimeLinesDiagram(&area.plotRect, &area.axisYRect, ranges);
    case DIAGRAM_TIME_RECTS: return new CQTimeRectsDiagram(&area.plotRect, &area.axisYRect, ranges);
    case DIAGRAM_TIME_LEVEL_RECTS: return new CQTimeLevelRectsDiagram(&area.plotRect, &area.axisYRect, ranges);
    case DIAGRAM_FREQ: return new CQFreqDiagram(&area.plotRect, &area.axisYRect, ranges);
    case DIAGRAM_SPECTRUM: return new CQSpectrumDiagram(&area.plotRect, &area.axisYRect, ranges);
    case DIAGRAM_OSCILLOSCOPE: return new CQOscilloscopeDiagram(&area.plotRect, &area.axisYRect, ranges);
    default: return nullptr;
    }
}

bool IsTimeKind(DiagramType type)
{
    return type == DIAGRAM_TIME_LINES || type == DIAGRAM_TIME_RECTS || type == DIAGRAM_TIME_LEVEL_RECTS;
}

} // namespace

CQDiagramWidget::CQDiagramWidget(QWidget* parent)
    : QFrame(parent)
    , m_titleFont(QStringLiteral("Arial"), 8, QFont::Bold)
    , m_valueFont(QStringLiteral("Arial"), 8, QFont::Normal)
    , m_labelFont(QStringLiteral("Arial"), 7, QFont::Bold)
    , m_statusBrush(QColor(250, 250, 255, 107), Qt::SolidPattern)
    , m_statusPen(Qt::darkBlue)
{
    setMouseTracking(true);
    SetSingleDiagramArea();
}

CQDiagramWidget::~CQDiagramWidget()
{
    qDeleteAll(m_areas);
}

DIAGRAM_AREA& CQDiagramWidget::Area(int area) const
{
    if (area < 0 || area >= m_areas.size())
        throw std::out_of_range("Area index out of range!");
    return *m_areas.at(area);
}

DATA_LINE* CQDiagramWidget::Line(int area, int signal) const
{
    const DIAGRAM_AREA& owner = Area(area);
    if (signal < 0 || signal >= owner.lines.size())
        throw std::out_of_range("Signal index out of range!");
    DATA_LINE* line = owner.lines.at(signal);
    if (line == nullptr)
        throw std::runtime_error("Empty signal data pointer!");
    return line;
}

QList<DATA_LINE*> CQDiagramWidget::VisibleLines(const DIAGRAM_AREA& area)
{
    QList<DATA_LINE*> visible;
    for (DATA_LINE* line : area.lines) {
        if (line != nullptr && line->visible)
            visible.append(line);
    }
    return visible;
}

QRect CQDiagramWidget::AxisXLeftHalf() const
{
    return QRect(m_axisXRect.left(), m_axisXRect.top(), m_axisXRect.width() / 2, m_axisXRect.height());
}

// Three rules tell a time X axis from a real one, each for its own part of
// the widget; they differ on the level-rects kind (2) on purpose.
bool CQDiagramWidget::IsTimeNavigation() const
{
    return m_eAxisXType == DIAGRAM_TIME_LINES || m_eAxisXType == DIAGRAM_TIME_RECTS;
}

bool CQDiagramWidget::IsTimeScrollBar() const
{
    return IsTimeKind(m_eAxisXType);
}

bool CQDiagramWidget::HighlightsAxisHalf() const
{
    return m_eAxisXType != DIAGRAM_TIME_LINES && m_eAxisXType != DIAGRAM_TIME_LEVEL_RECTS;
}

const DIAGRAM_AREA* CQDiagramWidget::AreaUnder(const QPoint& pos, QRect DIAGRAM_AREA::*part) const
{
    for (const DIAGRAM_AREA* area : m_areas) {
        if ((area->*part).contains(pos))
            return area;
    }
    return nullptr;
}

void CQDiagramWidget::SetSingleDiagramArea()
{
    SetDiagramAreas({ DIAGRAM_AREA_OPTIONS { DIAGRAM_TIME_LINES, 0, 1.0 } });
}

void CQDiagramWidget::SetDiagramAreas(const QList<DIAGRAM_AREA_OPTIONS>& options)
{
    qDeleteAll(m_areas);
    m_areas.clear();
    for (const DIAGRAM_AREA_OPTIONS& option : options) {
        auto* area = new DIAGRAM_AREA;
        area->height = option.height;
        area->ratio = option.ratio;
        m_areas.append(area);
        SetDiagramType(int(m_areas.size()) - 1, option.type);
    }
    CalculateRects();
}

void CQDiagramWidget::GetDiagramAreasCount()
{
}

void CQDiagramWidget::SetDiagramType(int area, DiagramType type)
{
    DIAGRAM_AREA& target = Area(area);
    delete target.diagram;
    target.diagram = nullptr;
    target.type = type;
    if (IsTimeKind(type)) {
        const quint64 now = quint64(std::max<qint64>(0, QDateTime::currentSecsSinceEpoch()));
        const QVariant start = QVariant::fromValue<quint64>(now);
        const QVariant end = QVariant::fromValue<quint64>(now + DiagramDefaults::TIME_WINDOW_SECONDS);
        SetMaxXRange(start, end, 1.0, false);
        SetVisibleXRange(start, end);
    }
    target.diagram = CreateDiagram(type, target, &m_ranges);
    if (target.diagram != nullptr) {
        for (DATA_LINE* line : target.lines)
            target.diagram->AttachLineData(line->values);
        target.diagram->UpdateLayout();
    }
    Q_EMIT diagramTypeChanged(area, type);
}

DiagramType CQDiagramWidget::GetDiagramType(int area)
{
    return Area(area).type;
}

void CQDiagramWidget::SetAxisXType(DiagramType type)
{
    m_eAxisXType = type;
}

DiagramType CQDiagramWidget::GetAxisXType()
{
    return m_eAxisXType;
}

void CQDiagramWidget::SetMaxXRange(const QVariant& min, const QVariant& max, double ratioX, bool setVisible)
{
    Lock lock(&CRangeGuard::Mutex());
    m_ranges.fullXMin = min;
    if (m_ranges.visibleXMin.isNull())
        m_ranges.visibleXMin = min;
    m_ranges.fullXMax = max;
    if (m_ranges.visibleXMax.isNull())
        m_ranges.visibleXMax = max;
    m_ranges.ratioX = ratioX;
    if (setVisible)
        SetVisibleXRange(min, max);
}

void CQDiagramWidget::SetVisibleXRange(const QVariant& min, const QVariant& max)
{
    Lock lock(&CRangeGuard::Mutex());
    m_ranges.visibleXMin = min;
    m_ranges.visibleXMax = max;
}

void CQDiagramWidget::SetMaxYRange(double min, double max, double ratioY)
{
    Lock lock(&CRangeGuard::Mutex());
    m_ranges.fullYMin = m_ranges.visibleYMin = min;
    m_ranges.fullYMax = m_ranges.visibleYMax = max;
    m_ranges.ratioY = ratioY;
}

void CQDiagramWidget::SetYRangeRatio(double ratioY)
{
    Lock lock(&CRangeGuard::Mutex());
    m_ranges.ratioY = ratioY;
}

double CQDiagramWidget::GetYRangeRatio()
{
    Lock lock(&CRangeGuard::Mutex());
    return m_ranges.ratioY;
}

void CQDiagramWidget::SetVisibleYRange(double min, double max, bool alsoFull)
{
    Lock lock(&CRangeGuard::Mutex());
    if (alsoFull) {
        m_ranges.fullYMin = m_ranges.visibleYMin = min;
        m_ranges.fullYMax = m_ranges.visibleYMax = max;
    }
    CRangeGuard::SetVisibleYMin(m_ranges, min);
    CRangeGuard::SetVisibleYMax(m_ranges, max);
}

void CQDiagramWidget::Reset()
{
    Lock lock(&CRangeGuard::Mutex());
    m_ranges.visibleXMin = m_ranges.fullXMin;
    m_ranges.visibleXMax = m_ranges.fullXMax;
    CRangeGuard::SetVisibleYMin(m_ranges, m_ranges.fullYMin);
    CRangeGuard::SetVisibleYMax(m_ranges, m_ranges.fullYMax);
}

int CQDiagramWidget::GetRatioX()
{
    return CTimeMapping::ClampedInt(m_ranges.ratioX);
}

void CQDiagramWidget::SetItemsOnPixel(int items)
{
    m_ranges.itemsOnPixel = items;
}

int CQDiagramWidget::GetItemsOnPixel()
{
    return m_ranges.itemsOnPixel;
}

void CQDiagramWidget::SetAxisYWidth(int pixels)
{
    m_nAxisYWidth = pixels;
}

void CQDiagramWidget::SetAxisXHeight(int pixels)
{
    m_nAxisXHeight = pixels;
}

const QRect& CQDiagramWidget::GetPlotRect(int area)
{
    return Area(area).plotRect;
}

void CQDiagramWidget::EnableAutoscroll(bool enable)
{
    m_bAutoScroll = enable;
}

bool CQDiagramWidget::IsAutoScroll()
{
    return m_bAutoScroll;
}

void CQDiagramWidget::AddLine(int area, const QString& name, const QPen& pen, int tag, bool visible)
{
    DIAGRAM_AREA& owner = Area(area);
    auto* line = new DATA_LINE;
    line->name = name;
    line->pen = pen;
    line->tag = tag;
    line->visible = visible;
    owner.lines.append(line);
    CalculateRects();
}

void CQDiagramWidget::AddValue(int area, int signal, const QVariant& x, const QVariant& y, int extra)
{
    DATA_LINE* line = Line(area, signal);
    const DATA_VALUE value { x, y, extra };
    IDiagram* diagram = m_areas.at(area)->diagram;
    // An area without a diagram keeps the value, so that a kind set later shows it.
    if (diagram != nullptr)
        diagram->AppendValue(signal, value, line->values, m_bAutoScroll);
    else
        line->values.append(value);
    if (QToolTip::isVisible())
        ShowPosToolTip(m_ranges.deltaCursor);
}

void CQDiagramWidget::AddValues(int area, int signal, const QList<double>& values)
{
    DATA_LINE* line = Line(area, signal);
    QList<DATA_VALUE>& target = line->values;
    const int count = int(values.size());
    const int kept = std::min(count, int(target.size()));
    for (int i = 0; i < kept; ++i)
        target[i] = DATA_VALUE { QVariant(i), QVariant(values.at(i)), 0 };
    target.reserve(count);
    for (int i = kept; i < count; ++i)
        target.append(DATA_VALUE { QVariant(i), QVariant(values.at(i)), 0 });
    target.resize(count);
    // Whatever the diagram derived from the old values (level summaries) is void.
    line->aux.clear();
    if (QToolTip::isVisible())
        ShowPosToolTip(m_ranges.deltaCursor);
}

void CQDiagramWidget::SetLineVisible(int area, int signal, bool visible)
{
    Line(area, signal)->visible = visible;
    update();
}

void CQDiagramWidget::Clear(bool keepLines)
{
    for (int i = 0; i < m_areas.size(); ++i) {
        DIAGRAM_AREA& area = *m_areas.at(i);
        for (DATA_LINE* line : area.lines) {
            line->values.clear();
            line->aux.clear();
            line->aux2.clear();
        }
        if (!keepLines) {
            qDeleteAll(area.lines);
            area.lines.clear();
        }
        SetDiagramType(i, area.type);
    }
}

bool CQDiagramWidget::GetDataAtPos(bool flag, const QPoint& pos, QList<QVariant>& out)
{
    if (m_areas.isEmpty() || m_areas.first()->diagram == nullptr)
        return false;
    return m_areas.first()->diagram->GetDataAtPos(flag, pos, m_areas.first()->lines, out);
}

void CQDiagramWidget::SetDebugDataItem(int index, int x, int y, const QString& name, double value, double extra)
{
    QString text = QStringLiteral("%1=\t%2").arg(name, QString::number(value, 'g', QLocale::FloatingPointShortest));
    if (extra != 0.0)
        text += QStringLiteral(" (%1)").arg(QString::number(extra, 'g', QLocale::FloatingPointShortest));
    const DEBUG_DATA_ITEM item { x, y, text };
    if (index >= 0 && index < m_debugItems.size())
        m_debugItems[index] = item;
    else
        m_debugItems.append(item);
}

void CQDiagramWidget::update()
{
    CalculateRects();
    QFrame::update();
}

void CQDiagramWidget::CalculateRects()
{
    const int w = width();
    const int h = height();
    m_scrollBarRect = QRect(m_nAxisYWidth, h - 6, w - m_nAxisYWidth - 1, 5);
    m_axisXRect = QRect(m_nAxisYWidth, m_scrollBarRect.top() - m_nAxisXHeight - 1, w - m_nAxisYWidth, m_nAxisXHeight);

    qint64 reserved = 5 * qint64(m_areas.size());
    for (const DIAGRAM_AREA* area : m_areas) {
        if (area->ratio == 0.0)
            reserved += area->height;
    }
    const double free = double(m_axisXRect.top()) - double(reserved);

    int y = 0;
    for (int i = 0; i < m_areas.size(); ++i) {
        DIAGRAM_AREA& area = *m_areas.at(i);
        if (i > 0)
            y += 5;
        int areaHeight = area.height;
        if (area.height < 10)
            areaHeight = area.ratio != 0.0 ? CTimeMapping::ClampedInt(free * area.ratio) : m_axisXRect.top();
        else if (area.ratio != 0.0)
            areaHeight = std::max(area.height, CTimeMapping::ClampedInt(free * area.ratio));
        area.axisYRect = QRect(0, y, m_nAxisYWidth, areaHeight);
        area.plotRect = QRect(m_nAxisYWidth, y, w - m_nAxisYWidth, areaHeight);
        if (area.diagram != nullptr)
            area.diagram->UpdateLayout();
        y = CTimeMapping::ClampedInt(double(y) + areaHeight);
    }
}

void CQDiagramWidget::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    CalculateRects();
}

void CQDiagramWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // A picture of the diagram leaves out what follows the mouse.
    const QPoint cursor = CDiagramExport::IsExporting(this) ? QPoint(-1, -1) : mapFromGlobal(QCursor::pos());

    QColor axisColor = QColor(Qt::darkGreen).lighter(70);
    axisColor.setAlpha(m_nHighlightAlpha);
    painter.fillRect(m_axisXRect, axisColor);
    if (HighlightsAxisHalf()) {
        // The half a drag from here would move.
        const QRect left = AxisXLeftHalf();
        const QRect right(left.right() + 1, left.top(), m_axisXRect.right() - left.right(), left.height());
        if (left.contains(cursor))
            painter.fillRect(left, QColor(100, 100, 255, 55));
        else if (right.contains(cursor))
            painter.fillRect(right, QColor(100, 100, 255, 55));
    }

    QList<DATA_LINE*> statusLines;
    DrawAreas(painter, cursor, statusLines);
    DrawCrosshair(painter, cursor);
    DrawStatus(cursor, painter, statusLines);
    DrawXLabels(painter);
    DrawScrollBarX(painter, m_ranges.visibleXMin);
    for (const DEBUG_DATA_ITEM& item : std::as_const(m_debugItems))
        painter.drawText(item.x, item.y, item.text);
}

void CQDiagramWidget::DrawAreas(QPainter& painter, const QPoint& cursor, QList<DATA_LINE*>& statusLines)
{
    QColor stripColor = QColor(Qt::darkBlue).lighter(80);
    stripColor.setAlpha(m_nHighlightAlpha / 2);
    for (const DIAGRAM_AREA* area : std::as_const(m_areas)) {
        const QList<DATA_LINE*> visible = VisibleLines(*area);
        if (area->diagram != nullptr) {
            area->diagram->DrawGrid(painter, int(visible.size()));
            area->diagram->DrawData(painter, visible);
            if (m_nAxisYWidth > 0) {
                area->diagram->DrawAxisYLabels(painter, visible);
                area->diagram->DrawAxisYTicks(painter, visible);
            }
        }
        CBandedPaint::FillRect(painter, area->axisYRect, stripColor);
        if (area->plotRect.contains(cursor))
            statusLines.append(visible);
    }
}

void CQDiagramWidget::DrawCrosshair(QPainter& painter, const QPoint& cursor)
{
    if (!AreaUnder(cursor, &DIAGRAM_AREA::plotRect))
        return;
    const QRect& first = m_areas.first()->plotRect;
    const QRect& last = m_areas.last()->plotRect;
    painter.setPen(QColor(255, 255, 255, 127).darker(250));
    painter.drawLine(first.left(), cursor.y(), first.right(), cursor.y());
    painter.drawLine(cursor.x(), first.top(), cursor.x(), last.bottom());
}

void CQDiagramWidget::DrawStatus(const QPoint& point, QPainter& painter, const QList<DATA_LINE*>& lines)
{
    QList<QVariant> values;
    const DIAGRAM_AREA* answering = nullptr;
    for (const DIAGRAM_AREA* area : std::as_const(m_areas)) {
        if (area->diagram != nullptr && area->diagram->GetDataAtPos(false, point, lines, values)) {
            answering = area;
            break;
        }
    }
    if (answering == nullptr || (answering->type != DIAGRAM_TIME_LINES && answering->type != DIAGRAM_FREQ))
        return;
    const int rows = int(VisibleLines(*answering).size());
    const int boxHeight = (m_nStatusLineHeight + 5) * rows + m_nStatusTitleHeight + 10;
    const QRect& plot = answering->plotRect;
    m_statusRect = QRect(plot.right() - 135, plot.top() + 2, 130, boxHeight);
    if (lines.isEmpty())
        return;

    CBandedPaint::DrawRect(painter, m_statusRect, m_statusPen, m_statusBrush);
    painter.setPen(Qt::white);
    painter.setFont(m_titleFont);
    m_statusTexts.DrawCentred(painter,
        QRect(m_statusRect.left() + 5, m_statusRect.top() + 2, m_statusRect.width() - 10, m_nStatusTitleHeight),
        tr("Cursor values"));
    painter.setFont(m_valueFont);
    for (int k = 0; k < lines.size(); ++k) {
        QString text;
        if (answering->type == DIAGRAM_TIME_LINES && !values.isEmpty())
            text = FormatStatusDate(lines.at(k), CDiagramValues::Time(values.at(0)));
        else if (answering->type == DIAGRAM_FREQ && values.size() > 3)
            text
                = FormatStatusFreq(lines.at(k), CDiagramValues::Real(values.at(2)), CDiagramValues::Real(values.at(3)));
        painter.setPen(lines.at(k)->pen);
        const int top = m_statusRect.top() + m_nStatusTitleHeight + k * (m_nStatusLineHeight + 5) + 7;
        m_statusTexts.DrawCentred(painter,
            QRect(m_statusRect.left() + 5, top, m_statusRect.width() - 10, m_nStatusLineHeight), text);
    }
}

QString CQDiagramWidget::FormatStatusDate(DATA_LINE* line, quint64 time)
{
    const int index = CDiagramValues::FindTime(line->values, time);
    if (index < 0)
        return line->name + tr(" = n/a");
    const double level = CDiagramValues::Real(line->values.at(index).y);
    return line->name + tr(" = %1 %2").arg(QString::number(level, 'f', 1), tr("dB"));
}

QString CQDiagramWidget::FormatStatusFreq(DATA_LINE* line, double x, double)
{
    if (!std::isfinite(x))
        return line->name + tr(" = n/a");
    const double whole = std::trunc(x);
    for (const DATA_VALUE& value : std::as_const(line->values)) {
        if (CDiagramValues::Real(value.x) == whole) {
            const double level = CDiagramValues::Real(value.y);
            return line->name + tr(" = %1 %2").arg(QString::number(level, 'f', 1), tr("dB"));
        }
    }
    return line->name + tr(" = n/a");
}

void CQDiagramWidget::DrawXLabels(QPainter& painter)
{
    painter.setFont(m_labelFont);
    if (IsTimeNavigation())
        DrawXLabelsDate(painter);
    else
        DrawXLabelsDouble(painter);
}

void CQDiagramWidget::DrawXLabelsDate(QPainter& painter)
{
    quint64 min = 0;
    quint64 max = 0;
    {
        Lock lock(&CRangeGuard::Mutex());
        min = CDiagramValues::Time(m_ranges.visibleXMin);
        max = CDiagramValues::Time(m_ranges.visibleXMax);
    }
    if (max <= min || m_axisXRect.width() <= 0 || m_axisXRect.height() <= 0)
        return;
    painter.setPen(Qt::white);
    m_timeLabels.Draw(painter, m_axisXRect, min, max);
}

void CQDiagramWidget::DrawXLabelsDouble(QPainter& painter)
{
    if (!m_areas.isEmpty() && m_areas.first()->diagram != nullptr)
        m_areas.first()->diagram->DrawAxisXLabels(painter, m_axisXRect);
}

void CQDiagramWidget::DrawScrollBarX(QPainter& painter, const QVariant& position)
{
    CScrollThumb range;
    {
        Lock lock(&CRangeGuard::Mutex());
        range = CScrollThumb::Read(m_ranges, IsTimeScrollBar(), position);
    }
    CBandedPaint::DrawRect(painter, m_scrollBarRect, QPen(Qt::white), Qt::NoBrush);
    painter.fillRect(range.Rect(m_scrollBarRect), Qt::black);
}
