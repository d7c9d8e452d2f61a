#pragma once

#include "GuiKitExport.h"
#include "diagram/CDiagramLayer.h"

#include <QList>
#include <QString>
#include <QWidget>

class CQDiagramWidget;

// Moments marked on a time diagram: a vertical line across its plots with a
// short label at the top, cut short where the next mark follows closely.
// Only marks in the visible window are drawn, and the marks are bounded
// (MAX_MARKS, the oldest go first).
class GUIKIT_EXPORT CTimeMarks : public CDiagramLayer
{
    Q_OBJECT

public:
    struct MARK
    {
        quint64 time = 0; // seconds, as the diagram's time axis
        QString text;
    };

    static constexpr int MAX_MARKS = 10000;
    static constexpr int LABEL_MAX_PIXELS = 160;
    // Less room than this before the next mark: the line only.
    static constexpr int LABEL_MIN_PIXELS = 24;
    static constexpr int NEAR_PIXELS = 3;
    static constexpr int TOOLTIP_LINES = 10;
    static const QColor COLOUR;

    explicit CTimeMarks(CQDiagramWidget* diagram);

    void Add(const MARK& mark);
    void SetMarks(const QList<MARK>& marks);
    const QList<MARK>& Marks() const { return m_marks; }
    // The texts of the marks within NEAR_PIXELS of a point of the diagram,
    // one a line; what its tooltip shows there.
    QString TextAt(const QPoint& pos) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The marks in view by their pixel column, left to right; the first
    // plot's and all plots' rectangles on the way.
    QList<std::pair<int, const MARK*>> Shown(QRect& first, QRect& plots) const;

    QList<MARK> m_marks;
};
