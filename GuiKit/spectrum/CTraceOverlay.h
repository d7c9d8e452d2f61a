#pragma once

#include "GuiKitExport.h"
#include "spectrum/CSpectrumTraces.h"

#include <QWidget>

#include <array>

class QMenu;

// The traces drawn over the spectrum's bars, each in a colour of its own,
// with a legend of those shown. It lies over the bar graph and lets the
// mouse through; its entries in the graph's context menu switch the
// traces, set the sweeps of the average and reset them. What is shown and
// the sweeps are kept in the settings.
class GUIKIT_EXPORT CTraceOverlay : public QWidget
{
    Q_OBJECT

public:
    using Trace = CSpectrumTraces::Trace;

    CTraceOverlay(CSpectrumTraces& traces, QWidget* graph);

    // The level of a bar of 0, as the sweeps drawn last gave it.
    void SetLevelMin(int levelMinDbm);
    void SetShown(Trace trace, bool shown);
    // A line of another overlay's at the legend's end (a site's reference);
    // empty for none.
    void SetExtraLegend(const QString& text, const QColor& colour);
    bool IsShown(Trace trace) const { return m_shown[trace]; }
    void SetAverageSweeps(int count);
    void ResetTraces();

    static QColor Colour(Trace trace);
    QString Name(Trace trace) const;
    // The entries of the graph's context menu.
    void AddActions(QMenu* menu);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintTrace(QPainter& painter, Trace trace) const;
    void PaintLegend(QPainter& painter) const;
    void AskAverageSweeps();
    void Load();
    void Save() const;

    CSpectrumTraces& m_traces;
    std::array<bool, CSpectrumTraces::TRACE_COUNT> m_shown {};
    int m_nLevelMinDbm = 0;
    QString m_strExtraLegend;
    QColor m_extraColour;
};
