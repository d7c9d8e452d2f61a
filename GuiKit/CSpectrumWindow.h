#pragma once

#include "GuiKitExport.h"

#include <QWidget>

class CLabel;
class CQDiagramWidget;
class QLabel;

// A small window with the 160-point spectrum of the scan band as a bar graph,
// its frequency bounds, its level scale and the strongest signal.
class GUIKIT_EXPORT CSpectrumWindow : public QWidget
{
    Q_OBJECT

public:
    // The level of the lowest bar that tells the device is searching.
    static constexpr int SEARCH_MODE_MARKER = 153;

    explicit CSpectrumWindow(QWidget* parent = nullptr);

    // Points beyond the graph's 160 bars are ignored.
    void SetSpectrumData(const unsigned char* data, int count, int xMin, int xMax, int signalFreq, int yMin,
        int signalLevel, int noiseLevel, int signalNo);

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QLabel* AddLabel(const QString& name, const QRect& geometry);
    void SetLevels(int yMin);
    void SetSignal(int signalFreq, int signalLevel, int noiseLevel, int signalNo);
    void ClearTexts();

    CQDiagramWidget* m_pSpectrumWidget;
    CLabel* m_pGraphLabel;
    QLabel* m_pXMINLabel;
    QLabel* m_pXMAXLabel;
    QLabel* m_pYMINLabel;
    QLabel* m_pYMIDLabel;
    QLabel* m_pYMAXLabel;
    QLabel* m_pFREQLabel;
};
