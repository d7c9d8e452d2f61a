#pragma once

#include "GuiKitExport.h"

#include <QImage>
#include <QWidget>

class CWaterfallPalette;

// The waterfall's colour scale: the palette as a bar, bottom to top, with
// the levels of its ends and middle in dBm, named like the bar graph's.
class GUIKIT_EXPORT CWaterfallLegend : public QWidget
{
    Q_OBJECT

public:
    static constexpr int BAR_WIDTH = 10;

    explicit CWaterfallLegend(const CWaterfallPalette& palette, QWidget* parent = nullptr);

    // The level of the bar's bottom; no labels until it is known.
    void SetLevelMin(int levelMinDbm);
    QRect BarRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void PaintLabel(QPainter& painter, int y, int level) const;

    QImage m_bar;
    int m_nLevelSpan;
    int m_nLevelMin = 0;
    bool m_bLevelKnown = false;
};
