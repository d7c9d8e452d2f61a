// The navigation of the diagram widget: hit tests, panning and zooming the
// X range, the time-window menu, the tooltips and the mouse and wheel
// events. The widget's state, its layout and its painting are in
// CQDiagramWidget.cpp.
#include "diagram/CQDiagramWidget.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CRangeGuard.h"

#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QMutexLocker>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

using Lock = QMutexLocker<QRecursiveMutex>;

} // namespace

bool CQDiagramWidget::IsPlotArea(const QPoint& globalPos)
{
    return AreaUnder(mapFromGlobal(globalPos), &DIAGRAM_AREA::plotRect) != nullptr;
}

bool CQDiagramWidget::IsAxisXArea(const QPoint& globalPos)
{
    return m_axisXRect.contains(mapFromGlobal(globalPos));
}

bool CQDiagramWidget::IsAxisYArea(const QPoint& globalPos)
{
    return AreaUnder(mapFromGlobal(globalPos), &DIAGRAM_AREA::axisYRect) != nullptr;
}

bool CQDiagramWidget::IsAxisXScrollable()
{
    return true;
}

void CQDiagramWidget::ScrollAxisX(const QPoint& pressPos, int dx)
{
    if (IsTimeNavigation())
        ScrollAxisXDate(pressPos, dx);
    else
        ScrollAxisXDouble(pressPos, dx);
}

void CQDiagramWidget::ScrollAxisXDate(const QPoint& pressPos, int dx)
{
    Lock lock(&CRangeGuard::Mutex());
    const qint64 fullSpan
        = CRangeGuard::Seconds(CDiagramValues::Time(m_ranges.fullXMin), CDiagramValues::Time(m_ranges.fullXMax));
    const double step = std::max(0.1, double(std::max<qint64>(0, fullSpan / 600)));
    if (AxisXLeftHalf().contains(pressPos)) {
        const double min = double(CDiagramValues::Time(m_ranges.visibleXMin)) - dx * step;
        CRangeGuard::SetVisibleXMinTime(m_ranges, CDiagramValues::TruncatedTime(min));
        m_ranges.firstVisibleIndex = -1;
    } else {
        const double max = double(CDiagramValues::Time(m_ranges.visibleXMax)) - dx * step;
        CRangeGuard::SetVisibleXMaxTime(m_ranges, CDiagramValues::TruncatedTime(max));
    }
}

void CQDiagramWidget::ScrollAxisXDouble(const QPoint& pressPos, int dx)
{
    Lock lock(&CRangeGuard::Mutex());
    const double fullSpan = CDiagramValues::Real(m_ranges.fullXMax) - CDiagramValues::Real(m_ranges.fullXMin);
    const double step = std::max(1.0, fullSpan / 200);
    if (AxisXLeftHalf().contains(pressPos)) {
        CRangeGuard::SetVisibleXMinReal(m_ranges, CDiagramValues::Real(m_ranges.visibleXMin) - dx * step);
        m_ranges.firstVisibleIndex = -1;
    } else {
        CRangeGuard::SetVisibleXMaxReal(m_ranges, CDiagramValues::Real(m_ranges.visibleXMax) - dx * step);
    }
}

void CQDiagramWidget::ShrinkAxisX(int delta)
{
    if (IsTimeNavigation())
        ShrinkAxisXDate(delta);
    else
        ShrinkAxisXDouble(delta);
}

void CQDiagramWidget::ShrinkAxisXDate(int delta)
{
    Lock lock(&CRangeGuard::Mutex());
    const qint64 fullSpan
        = CRangeGuard::Seconds(CDiagramValues::Time(m_ranges.fullXMin), CDiagramValues::Time(m_ranges.fullXMax));
    const double step = std::max(0.1, double(std::max<qint64>(0, fullSpan / 6000)));
    const double min = double(CDiagramValues::Time(m_ranges.visibleXMin));
    const double max = double(CDiagramValues::Time(m_ranges.visibleXMax));
    CRangeGuard::SetVisibleXMinReal(m_ranges, min - delta * step);
    CRangeGuard::SetVisibleXMaxReal(m_ranges, max + delta * step);
}

void CQDiagramWidget::ShrinkAxisXDouble(int delta)
{
    Lock lock(&CRangeGuard::Mutex());
    const double fullMin = CDiagramValues::Real(m_ranges.fullXMin);
    const double fullMax = CDiagramValues::Real(m_ranges.fullXMax);
    const double min = CDiagramValues::Real(m_ranges.visibleXMin);
    const double max = CDiagramValues::Real(m_ranges.visibleXMax);
    const double step = std::max(1.0, (fullMax - fullMin) / 10000);
    if (delta <= 0 && max - min <= 100)
        return;
    // Zooming out stops at the full range; zooming in that the span refuses
    // leaves the bound where it is instead of jumping out.
    if (!CRangeGuard::SetVisibleXMinReal(m_ranges, min - delta * step) && delta > 0)
        m_ranges.visibleXMin = m_ranges.fullXMin;
    if (!CRangeGuard::SetVisibleXMaxReal(m_ranges, max + delta * step) && delta > 0)
        m_ranges.visibleXMax = m_ranges.fullXMax;
}

void CQDiagramWidget::ShowAxisXMenu(const QPoint& globalPos)
{
    if (IsTimeNavigation())
        ShowAxisXDateMenu(globalPos);
    else
        ShowAxisXDoubleMenu(globalPos);
}

void CQDiagramWidget::ShowAxisXDateMenu(const QPoint& globalPos)
{
    const struct
    {
        const char* text;
        int minutes;
    } entries[] = {
        { QT_TR_NOOP("3 minutes"), 3 },
        { QT_TR_NOOP("10 minutes"), 10 },
        { QT_TR_NOOP("20 minutes"), 20 },
        { QT_TR_NOOP("30 minutes"), 30 },
        { QT_TR_NOOP("1 hour"), 60 },
        { QT_TR_NOOP("2 hours"), 120 },
        { QT_TR_NOOP("3 hours"), 180 },
        { QT_TR_NOOP("6 hours"), 360 },
    };
    // No parent: the widget may be deleted while the menu runs its own loop.
    QMenu menu;
    for (const auto& entry : entries) {
        QAction* action = menu.addAction(tr(entry.text));
        action->setObjectName(QString::number(entry.minutes));
        connect(action, &QAction::triggered, this, &CQDiagramWidget::OnXMenuDateAction);
    }
    menu.exec(globalPos);
}

void CQDiagramWidget::ShowAxisXDoubleMenu(const QPoint&)
{
}

void CQDiagramWidget::OnXMenuDateAction()
{
    const QObject* action = sender();
    if (action == nullptr)
        return;
    const int minutes = action->objectName().toInt();
    if (minutes <= 0)
        return;
    {
        Lock lock(&CRangeGuard::Mutex());
        m_ranges.visibleXMin = m_ranges.fullXMin;
        const quint64 end = CRangeGuard::AddSeconds(CDiagramValues::Time(m_ranges.visibleXMin), qint64(minutes) * 60);
        if (end > CDiagramValues::Time(m_ranges.fullXMax))
            CRangeGuard::SetFullXMaxTime(m_ranges, end);
        CRangeGuard::SetVisibleXMaxTime(m_ranges, end);
        m_ranges.firstVisibleIndex = 0;
    }
    QFrame::update();
}

void CQDiagramWidget::SetDeltaCursor(bool on)
{
    m_ranges.deltaCursor = on;
    m_ranges.deltaStartX = m_pressPos.x();
}

void CQDiagramWidget::ShowPosToolTip(bool deltaFlag)
{
    if (!isActiveWindow())
        return;
    const QPoint global = QCursor::pos();
    const QPoint pos = mapFromGlobal(global);
    if (m_axisXRect.contains(pos) && IsTimeNavigation()) {
        quint64 min = 0;
        quint64 max = 0;
        {
            Lock lock(&CRangeGuard::Mutex());
            min = CDiagramValues::Time(m_ranges.visibleXMin);
            max = CDiagramValues::Time(m_ranges.visibleXMax);
        }
        const QString format = QStringLiteral("dd.MM hh:mm:ss");
        QToolTip::showText(global,
            tr("Min = %1<br>Max = %2")
                .arg(CDiagramValues::LocalDateTime(min).toString(format),
                    CDiagramValues::LocalDateTime(max).toString(format)),
            this);
        return;
    }
    bool shown = false;
    for (const DIAGRAM_AREA* area : std::as_const(m_areas)) {
        QString text;
        if (area->diagram != nullptr && area->diagram->GetToolTipText(deltaFlag, pos, VisibleLines(*area), text)) {
            QToolTip::showText(global, text, this);
            shown = true;
        }
    }
    // A tooltip of a place the mouse has left would describe the wrong data.
    if (!shown)
        QToolTip::hideText();
}

void CQDiagramWidget::mousePressEvent(QMouseEvent* event)
{
    m_pressPos = event->position().toPoint();
    // A drag measures from here even when no move arrived before the press.
    m_lastPos = m_pressPos;
    event->ignore();
}

void CQDiagramWidget::mouseReleaseEvent(QMouseEvent* event)
{
    event->ignore();
    if (event->button() != Qt::RightButton)
        return;
    const QPoint pos = event->position().toPoint();
    const QPoint global = event->globalPosition().toPoint();
    if (m_axisXRect.contains(pos)) {
        ShowAxisXMenu(global);
        return;
    }
    if (const DIAGRAM_AREA* area = AreaUnder(pos, &DIAGRAM_AREA::axisYRect)) {
        if (area->diagram != nullptr)
            area->diagram->ShowAxisYMenu(global);
    } else if (const DIAGRAM_AREA* plot = AreaUnder(pos, &DIAGRAM_AREA::plotRect)) {
        if (plot->diagram != nullptr)
            plot->diagram->ShowPlotMenu(global);
    }
}

void CQDiagramWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    bool deltaFlag = false;
    if (m_ranges.deltaCursor) {
        m_ranges.deltaEndX = pos.x();
        deltaFlag = true;
    }
    ShowPosToolTip(deltaFlag);
    UpdateCursorShape(pos);
    if (event->buttons() & Qt::LeftButton)
        DragTo(pos);
    m_lastPos = pos;
    // The crosshair and the status box follow the mouse.
    QFrame::update();
    event->ignore();
}

void CQDiagramWidget::UpdateCursorShape(const QPoint& pos)
{
    if (m_axisXRect.contains(pos)) {
        setCursor(Qt::SizeHorCursor);
        return;
    }
    if (const DIAGRAM_AREA* strip = AreaUnder(pos, &DIAGRAM_AREA::axisYRect)) {
        if (strip->diagram != nullptr && strip->diagram->IsAxisYScrollable())
            setCursor(Qt::SizeVerCursor);
        return;
    }
    const DIAGRAM_AREA* plot = AreaUnder(pos, &DIAGRAM_AREA::plotRect);
    IDiagram* diagram = plot ? plot->diagram : nullptr;
    const bool draggable
        = diagram != nullptr && !m_bAutoScroll && (diagram->IsScrollableX() || diagram->IsScrollableY());
    setCursor(draggable ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

void CQDiagramWidget::DragTo(const QPoint& pos)
{
    const int dx = m_lastPos.x() - pos.x();
    const double dy = double(pos.y()) - m_lastPos.y();
    SwitchAutoScrollOff();
    const DIAGRAM_AREA* plot = AreaUnder(m_pressPos, &DIAGRAM_AREA::plotRect);
    if (plot != nullptr && plot->diagram != nullptr)
        plot->diagram->ScrollPlot(m_pressPos, dx, dy);
    if (m_axisXRect.contains(m_pressPos))
        ScrollAxisX(m_pressPos, dx);
    const DIAGRAM_AREA* strip = AreaUnder(m_pressPos, &DIAGRAM_AREA::axisYRect);
    if (strip != nullptr && strip->diagram != nullptr && strip->diagram->IsAxisYScrollable())
        strip->diagram->ScrollAxisY(m_pressPos, dy);
}

void CQDiagramWidget::SwitchAutoScrollOff()
{
    if (!m_bAutoScroll)
        return;
    m_bAutoScroll = false;
    Q_EMIT autoScrollToggle(false);
}

void CQDiagramWidget::wheelEvent(QWheelEvent* event)
{
    SwitchAutoScrollOff();
    const QPoint pos = event->position().toPoint();
    const int delta = event->angleDelta().y();
    if (AreaUnder(pos, &DIAGRAM_AREA::plotRect))
        ShrinkAxisX(delta);
    QFrame::update();
    event->accept();
}

int CQDiagramWidget::VisibleRow(int area, int signal, int& rows) const
{
    rows = 0;
    if (area < 0 || area >= m_areas.size())
        return -1;
    int row = -1;
    const QList<DATA_LINE*>& lines = m_areas.at(area)->lines;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (lines.at(k) == nullptr || !lines.at(k)->visible)
            continue;
        if (k == signal)
            row = rows;
        ++rows;
    }
    return row;
}
