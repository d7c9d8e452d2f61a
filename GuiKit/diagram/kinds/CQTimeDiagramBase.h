#pragma once

#include "GuiKitExport.h"
#include "diagram/CLevelScale.h"
#include "diagram/DIAGRAM_RANGES.h"
#include "diagram/IDiagram.h"
#include "paint/CDashedLines.h"
#include "paint/CLabelCache.h"

#include <QBrush>
#include <QFont>
#include <QMenu>
#include <QPen>
#include <QVector>

class CTimeMapping;

// What the three time diagrams share: appending with auto-scroll, panning,
// dragging a Y bound, the time grid, the level scale and its menu.
class GUIKIT_EXPORT CQTimeDiagramBase : public IDiagram
{
    Q_OBJECT

public:
    CQTimeDiagramBase(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges);

    void AttachLineData(QList<DATA_VALUE>& values) override;
    void AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values, bool autoScroll) override;
    void DrawAxisXLabels(QPainter& painter, const QRect& axisXRect) override;
    bool IsScrollableX() override;
    bool IsScrollableY() override;
    void ScrollPlot(const QPoint& pressPos, int dx, double dy) override;
    bool ScrollAxisY(const QPoint& pressPos, double dy) override;
    void ShowPlotMenu(const QPoint& globalPos) override;
    bool GetToolTipText(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text) override;

protected:
    CLevelScale LevelScale() const;
    void DrawTimeGrid(QPainter& painter) const;
    void DrawLevelGrid(QPainter& painter, bool downwards) const;
    void DrawLevelTicks(QPainter& painter, bool downwards) const;
    void DrawLevelLabels(QPainter& painter, bool downwards) const;

    // Time and level under a point of the plot; the level from the visible
    // range or from the full one.
    bool TimeAndLevelAt(const QPoint& pos, bool fullLevels, QList<QVariant>& out) const;
    // The Y-range text, else the time and level under the point.
    bool LevelToolTip(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text);

    // Sets ranges->firstVisibleIndex when it was given up, from the first
    // line drawn; drawing itself searches each line afresh.
    void RememberFirstVisible(int index, int count);

    QList<int> LevelMenuValues(bool beyondSpanOnly) const;
    void ApplyLevelMenuChoice(const QObject* action);

    template <class TDiagram>
    void ExecLevelMenu(const QPoint& globalPos, bool beyondSpanOnly, TDiagram* receiver, void (TDiagram::*slot)())
    {
        // No parent: the widget may delete this diagram while the menu runs.
        QMenu menu;
        for (int level : LevelMenuValues(beyondSpanOnly)) {
            QAction* action = menu.addAction(tr("0 - %1 %2").arg(level).arg(tr("dBm")));
            action->setObjectName(QString::number(level));
            connect(action, &QAction::triggered, receiver, slot);
        }
        if (!menu.isEmpty())
            menu.exec(globalPos);
    }

    const QRect* m_pPlotRect;
    const QRect* m_pAxisYRect;
    DIAGRAM_RANGES* m_pRanges;
    QPen m_gridPen;
    QPen m_axisPen;
    QPen m_textPen;
    QFont m_textFont;
    QBrush m_boxBrush;
    QPen m_boxPen;
    // What the grid and the level labels keep from one paint to the next.
    mutable CDashedLines m_gridLines;
    mutable CLabelCache m_levelLabels;
};
