#pragma once

#include "GuiKitExport.h"

#include <QWidget>

#include <vector>

// A reference drawn over the spectrum's bars: its trace in a colour of its
// own with a legend line at the top left (the traces' legend is at the top
// right), the points over the new-signal margin marked, and on demand the
// difference view: an opaque panel over the bars with live minus reference
// as bars up and down from a zero line across the middle. It lies over the
// bar graph and lets the mouse through; CReferenceController feeds it.
class GUIKIT_EXPORT CReferenceOverlay : public QWidget
{
    Q_OBJECT

public:
    // The difference panel shows this many dB above and below its zero line.
    static constexpr int DIFFERENCE_SPAN_DB = 30;

    explicit CReferenceOverlay(QWidget* graph);

    static QColor Colour();
    static QColor RiseColour();
    static QColor FallColour();
    static QColor MarkColour();

    // Empty levels draw nothing; NaN levels leave gaps. note follows the
    // legend, e.g. why the levels are empty.
    void SetReference(const QString& legend, const std::vector<double>& levels, const QString& note = QString());
    void SetLive(const std::vector<double>& live, int levelMinDbm);
    void SetDifferenceView(bool on);
    bool IsDifferenceView() const { return m_bDifference; }
    // Points to mark, empty for none.
    void SetMarked(const std::vector<bool>& marked);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintReference(QPainter& painter) const;
    void PaintDifference(QPainter& painter) const;
    void PaintDifferenceScale(QPainter& painter, int zero) const;
    void PaintMarks(QPainter& painter) const;
    void PaintLegend(QPainter& painter) const;
    double LevelY(double levelDbm) const;

    QString m_strLegend;
    QString m_strNote;
    std::vector<double> m_levels;
    std::vector<double> m_live;
    std::vector<bool> m_marked;
    int m_nLevelMinDbm = 0;
    bool m_bDifference = false;
};
