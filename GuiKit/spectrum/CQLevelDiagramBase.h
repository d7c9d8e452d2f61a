#pragma once

#include "GuiKitExport.h"
#include "diagram/CLevelScale.h"
#include "diagram/DIAGRAM_RANGES.h"
#include "diagram/IDiagram.h"

#include <QFont>
#include <QMenu>
#include <QPen>
#include <QVector>

// What the two diagrams of levels against frequency share: no panning, the
// level scale with its ticks and labels, dragging a Y bound and the level
// menu.
class GUIKIT_EXPORT CQLevelDiagramBase : public IDiagram
{
    Q_OBJECT

public:
    CQLevelDiagramBase(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges);

    void AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values, bool autoScroll) override;
    void DrawAxisYTicks(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    void UpdateLayout() override;
    bool IsScrollableX() override;
    bool IsScrollableY() override;
    bool IsAxisYScrollable() override;
    void ScrollPlot(const QPoint& pressPos, int dx, double dy) override;
    void ShowPlotMenu(const QPoint& globalPos) override;
    bool GetDataAtPos(bool flag, const QPoint& pos, const QList<DATA_LINE*>& lines, QList<QVariant>& out) override;

protected:
    CLevelScale LevelScale() const;
    // Labels at the rows of the scale; fromTop also counts the shown level
    // down from visibleYMax.
    void DrawLevelLabels(QPainter& painter, bool fromTop) const;
    // Moves the bound of the half of the Y strip that was pressed by -delta.
    bool MoveLevelBound(const QPoint& pressPos, double delta);
    // Units of the full range per pixel of the Y strip; 0 when there is none.
    double UnitsPerPixel() const;

    template <class TDiagram>
    void ExecLevelMenu(const QPoint& globalPos, TDiagram* receiver, void (TDiagram::*slot)())
    {
        // No parent: the widget may delete this diagram while the menu runs.
        QMenu menu;
        for (int level : LevelMenuValues()) {
            QAction* action = menu.addAction(tr("0 - %1 %2").arg(level).arg(tr("dBm")));
            action->setObjectName(QString::number(level));
            connect(action, &QAction::triggered, receiver, slot);
        }
        if (!menu.isEmpty())
            menu.exec(globalPos);
    }
    QList<int> LevelMenuValues() const;
    void ApplyLevelMenuChoice(const QObject* action);

    const QRect* m_pPlotRect;
    const QRect* m_pAxisYRect;
    DIAGRAM_RANGES* m_pRanges;
    QPen m_gridPen;
    QPen m_axisPen;
    QPen m_textPen;
    QFont m_textFont;
};
