#include "overview/CBandStripDelegate.h"

#include "RZ450Alarm.h"
#include "RZ450Layout.h"
#include "alerts/CLookJudge.h"
#include "overview/COverviewModel.h"

#include <QPainter>

#include <algorithm>

QList<int> CBandStripDelegate::Bands(const RZ450_LOOK& look)
{
    QList<int> bands;
    for (int band = 0; band < RZ450Layout::INDICATED_BANDS; ++band)
        bands.append(band);
    if (look.band >= RZ450Layout::INDICATED_BANDS && look.band < RZ450Layout::BAND_COUNT)
        bands.append(look.band);
    return bands;
}

void CBandStripDelegate::Paint(QPainter& painter, const QRect& rect, const RZ450_LOOK& look)
{
    if (!CLookJudge::IsWhole(look))
        return;
    const int height = std::max(rect.height() - 2, 1);
    const auto yOf = [&](int dbm) {
        const double share
            = double(std::clamp(dbm, int(FLOOR_DBM), int(CEILING_DBM)) - FLOOR_DBM) / (CEILING_DBM - FLOOR_DBM);
        return rect.bottom() - int(share * height);
    };
    int x = rect.left() + GAP;
    for (const int band : Bands(look)) {
        const int raw = quint8(look.levels.at(band));
        const int rawThreshold = quint8(look.thresholds.at(band));
        const int level = RZ450Alarm::Dbm(raw);
        const int threshold = RZ450Alarm::Dbm(rawThreshold);
        if (!RZ450Alarm::IsMeasured(look.mode, band, look.band, raw, rawThreshold)) {
            painter.fillRect(QRect(x + BAR_WIDTH / 2, rect.bottom() - 1, 1, 1), Qt::gray);
        } else {
            const bool alarm = RZ450Alarm::IsAlarm(band, look.band, look.flags, level, threshold);
            const int top = yOf(level);
            painter.fillRect(QRect(x, top, BAR_WIDTH, rect.bottom() - top + 1), alarm ? AlarmColor() : LevelColor());
            painter.fillRect(QRect(x - 1, yOf(threshold), BAR_WIDTH + 2, 1), Qt::black);
        }
        x += BAR_WIDTH + GAP;
    }
}

void CBandStripDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const auto* model = qobject_cast<const COverviewModel*>(index.model());
    // A row that is not online shows no levels: the last ones are old.
    if (!model || index.row() >= model->rowCount() || model->Row(index.row()).state != OVERVIEW_ROW::Online)
        return;
    painter->save();
    Paint(*painter, option.rect.adjusted(0, 2, 0, -2), model->Row(index.row()).look);
    painter->restore();
}

QSize CBandStripDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QSize text = QStyledItemDelegate::sizeHint(option, index);
    return { (RZ450Layout::INDICATED_BANDS + 1) * (BAR_WIDTH + GAP) + GAP, std::max(text.height(), 24) };
}
