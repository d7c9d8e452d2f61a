#pragma once

#include "GuiKitExport.h"
#include "diagram/DIAGRAM_RANGES.h"
#include "diagram/IDiagram.h"

#include <QFont>
#include <QPen>
#include <QVector>

// Sampled waveforms as one (low, high) envelope per pixel column, with a
// millisecond X axis, a Y scale in dB and a two-line delta cursor. X values
// are sample positions; ratioX turns them into milliseconds, ratioY turns
// levels into dB.
class GUIKIT_EXPORT CQOscilloscopeDiagram : public IDiagram
{
    Q_OBJECT

public:
    // Rows of one plot column; a column no sample reached stays (0, 0) and
    // unfilled.
    struct COLUMN
    {
        int yLow = 0;
        int yHigh = 0;
        bool filled = false;
    };

    CQOscilloscopeDiagram(const QRect* plotRect, const QRect* axisYRect, DIAGRAM_RANGES* ranges);

    void AttachLineData(QList<DATA_VALUE>& values) override;
    void AppendValue(int signal, const DATA_VALUE& value, QList<DATA_VALUE>& values, bool autoScroll) override;
    void DrawGrid(QPainter& painter, int visibleLines) override;
    void DrawAxisYTicks(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    void DrawAxisXLabels(QPainter& painter, const QRect& axisXRect) override;
    void DrawAxisYLabels(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    void DrawData(QPainter& painter, const QList<DATA_LINE*>& lines) override;
    void UpdateLayout() override;
    bool IsScrollableX() override;
    bool IsScrollableY() override;
    bool IsAxisYScrollable() override;
    void ScrollPlot(const QPoint& pressPos, int dx, double dy) override;
    bool ScrollAxisY(const QPoint& pressPos, double dy) override;
    void ShowPlotMenu(const QPoint& globalPos) override;
    void ShowAxisYMenu(const QPoint& globalPos) override;
    bool GetToolTipText(bool deltaFlag, const QPoint& pos, const QList<DATA_LINE*>& lines, QString& text) override;
    bool GetDataAtPos(bool flag, const QPoint& pos, const QList<DATA_LINE*>& lines, QList<QVariant>& out) override;

    // The columns of the last waveform drawn and the number of the last one
    // that samples reached, plus one.
    const QVector<COLUMN>& Columns() const;
    int FilledColumns() const;

public Q_SLOTS:
    void OnMenuAction();

private:
    struct VIEW
    {
        double fullXMin = 0.0;
        double fullXMax = 0.0;
        double visibleXMin = 0.0;
        double visibleXMax = 0.0;
        double visibleYMin = 0.0;
        double visibleYMax = 0.0;
        double ratioX = 1.0;
        double ratioY = 1.0;
    };

    VIEW ReadView() const;
    void FillColumns(const QList<DATA_VALUE>& samples, const VIEW& view);
    void FillDense(const QList<DATA_VALUE>& samples, const VIEW& view, double e, double g, int i);
    void FillSparse(const QList<DATA_VALUE>& samples, const VIEW& view, double e, double g);
    void SetColumn(int j, double low, double high, const VIEW& view);
    int Row(double v, const VIEW& view) const;
    void DrawWaveform(QPainter& painter, const DATA_LINE& line, const VIEW& view);
    void DrawThreshold(QPainter& painter, const DATA_LINE& line, const VIEW& view) const;
    void DrawDeltaCursor(QPainter& painter) const;
    // Rows of the Y scale with their levels, the step and its pixels.
    QVector<QPair<int, double>> ScaleRows(double& step, double& pxPerUnit) const;
    QString DeltaText() const;

    const QRect* m_pPlotRect;
    const QRect* m_pAxisYRect;
    DIAGRAM_RANGES* m_pRanges;
    QPen m_gridPen;
    QPen m_axisPen;
    QPen m_textPen;
    QFont m_textFont;
    QVector<COLUMN> m_columns;
    int m_nFilledColumns = 0;
};
