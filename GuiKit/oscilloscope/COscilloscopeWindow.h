#pragma once

#include "GuiKitExport.h"

#include <QDockWidget>
#include <QList>
#include <QPoint>

#include <memory>

namespace Ui {
class COscilloscopeWindow;
}

// A separate window with an oscilloscope diagram fed with blocks of 8-bit
// samples, a level trigger that freezes the display on the first sample
// above it, pause, reset and the delta cursor.
class GUIKIT_EXPORT COscilloscopeWindow : public QDockWidget
{
    Q_OBJECT

public:
    static constexpr double MS_PER_SAMPLE = 0.0065156482861401;

    explicit COscilloscopeWindow(QWidget* parent = nullptr);
    ~COscilloscopeWindow() override;

    // A block overwrites the samples from the first on; a shorter block
    // leaves the tail of a longer one. gainExp sets the dB scale.
    void SetOscData(const unsigned char* block, int count, int gainExp);
    void SetXRange(double min, double max);
    void SetYRange(double min, double max);

    const QList<double>& Samples() const;
    bool IsPaused() const;
    double TriggerLevel() const;

public Q_SLOTS:
    void OnTriggerButton(bool on);
    void OnPauseButton();
    void OnResetButton();
    void OnSetTriggerLevelAction();
    void OnToggleDeltaCursorAction();
    void OnContextMenu(QPoint pos);

Q_SIGNALS:
    void closed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void StoreBlock(const unsigned char* block, int count);
    void SetPaused(bool paused);
    void RetranslateTexts();

    std::unique_ptr<Ui::COscilloscopeWindow> m_pUi;
    QList<double> m_samples;
    QList<double> m_thresholds;
    bool m_bPaused = false;
    bool m_bTriggerArmed = false;
    double m_dTriggerLevel = 100.0;
    QPoint m_lastRightPress;
};
