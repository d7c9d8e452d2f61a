#pragma once

#include "RZ450_LOOK.h"

#include <QStyledItemDelegate>

class QPainter;

// The band column of the overview: a bar a band, as high as its level
// between FLOOR_DBM and CEILING_DBM, red in alarm, with its threshold as a
// tick; a band the detector does not measure now is a dot. The bands with
// an alarm flag come first, then the one the detector watches when it is
// another.
class CBandStripDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int FLOOR_DBM = -100;
    static constexpr int CEILING_DBM = -10;
    static constexpr int BAR_WIDTH = 5;
    static constexpr int GAP = 2;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Paints a look's strip into rect; the tests see the same picture.
    static void Paint(QPainter& painter, const QRect& rect, const RZ450_LOOK& look);
    // The bands of the strip, in their order.
    static QList<int> Bands(const RZ450_LOOK& look);
    static QColor AlarmColor() { return QColor(220, 40, 40); }
    static QColor LevelColor() { return QColor(40, 110, 200); }
};
