#include "oscilloscope/COscilloscopeWindow.h"
#include "GuiKitSettingsKeys.h"

#include "ui_COscilloscopeWindow.h"

#include "export/CDiagramMenu.h"

#include <QCloseEvent>
#include <QMenu>
#include <QSettings>

#include <cmath>

namespace {

} // namespace

COscilloscopeWindow::COscilloscopeWindow(QWidget* parent)
    : QDockWidget(parent)
    , m_pUi(std::make_unique<Ui::COscilloscopeWindow>())
{
    m_pUi->setupUi(this);
    CQDiagramWidget* diagram = m_pUi->m_pOscilloscopeWidget;
    connect(diagram, &QWidget::customContextMenuRequested, this, &COscilloscopeWindow::OnContextMenu);
    connect(m_pUi->m_pTriggerButton, &QPushButton::clicked, this, &COscilloscopeWindow::OnTriggerButton);
    connect(m_pUi->m_pPauseButton, &QPushButton::clicked, this, &COscilloscopeWindow::OnPauseButton);
    connect(m_pUi->m_pResetButton, &QPushButton::clicked, this, &COscilloscopeWindow::OnResetButton);
    connect(m_pUi->m_pCloseButton, &QPushButton::clicked, this, &QWidget::close);
    diagram->SetDiagramType(0, DIAGRAM_OSCILLOSCOPE);
    diagram->SetAxisXType(DIAGRAM_OSCILLOSCOPE);
    diagram->AddLine(0, tr("Oscilloscope"), QPen(Qt::blue), 0, true);
    diagram->AddLine(0, tr("Threshold"), QPen(Qt::red), 0, false);
    setGeometry(QSettings()
                    .value(QLatin1String(GuiKitSettingsKeys::OSCILLOSCOPE_GEOMETRY), QRect(110, 110, 600, 400))
                    .toRect());
}

COscilloscopeWindow::~COscilloscopeWindow() = default;

void COscilloscopeWindow::SetOscData(const unsigned char* block, int count, int gainExp)
{
    if (!m_bPaused && block != nullptr && count > 0) {
        StoreBlock(block, count);
        m_pUi->m_pOscilloscopeWidget->AddValues(0, 0, m_samples);
        if (m_bTriggerArmed)
            m_pUi->m_pOscilloscopeWidget->AddValues(0, 1, m_thresholds);
    }
    m_pUi->m_pOscilloscopeWidget->SetYRangeRatio(std::ldexp(0.1 / 7.6, gainExp));
    m_pUi->m_pOscilloscopeWidget->update();
}

void COscilloscopeWindow::StoreBlock(const unsigned char* block, int count)
{
    bool triggered = false;
    for (int i = 0; i < count; ++i) {
        const double sample = block[i];
        if (i < m_samples.size()) {
            m_samples[i] = sample;
            m_thresholds[i] = m_dTriggerLevel;
        } else {
            m_samples.append(sample);
            m_thresholds.append(m_dTriggerLevel);
        }
        // The rest of the block still goes in: the display freezes on it whole.
        triggered = triggered || (m_bTriggerArmed && sample > m_dTriggerLevel);
    }
    if (triggered)
        SetPaused(true);
}

void COscilloscopeWindow::SetXRange(double min, double max)
{
    m_pUi->m_pOscilloscopeWidget->SetMaxXRange(QVariant(min), QVariant(max), MS_PER_SAMPLE, false);
    m_pUi->m_pOscilloscopeWidget->SetVisibleXRange(QVariant(min), QVariant(max));
}

void COscilloscopeWindow::SetYRange(double min, double max)
{
    m_pUi->m_pOscilloscopeWidget->SetMaxYRange(min, max, 0.1);
    m_pUi->m_pOscilloscopeWidget->SetVisibleYRange(min, max, true);
}

const QList<double>& COscilloscopeWindow::Samples() const
{
    return m_samples;
}

bool COscilloscopeWindow::IsPaused() const
{
    return m_bPaused;
}

double COscilloscopeWindow::TriggerLevel() const
{
    return m_dTriggerLevel;
}

void COscilloscopeWindow::OnTriggerButton(bool on)
{
    m_bTriggerArmed = on;
    m_pUi->m_pOscilloscopeWidget->SetLineVisible(0, 1, on);
    m_pUi->m_pTriggerButton->setChecked(on);
    if (!on && m_bPaused)
        OnPauseButton();
}

void COscilloscopeWindow::OnPauseButton()
{
    SetPaused(!m_bPaused);
}

void COscilloscopeWindow::SetPaused(bool paused)
{
    m_bPaused = paused;
    m_pUi->m_pPauseButton->setText(paused ? tr("Resume") : tr("Pause"));
}

void COscilloscopeWindow::OnResetButton()
{
    OnTriggerButton(false);
    m_pUi->m_pOscilloscopeWidget->Reset();
    m_pUi->m_pOscilloscopeWidget->SetDeltaCursor(false);
    m_pUi->m_pOscilloscopeWidget->repaint();
}

void COscilloscopeWindow::OnSetTriggerLevelAction()
{
    CQDiagramWidget* diagram = m_pUi->m_pOscilloscopeWidget;
    QList<QVariant> values;
    if (diagram->GetDataAtPos(false, diagram->mapFromGlobal(m_lastRightPress), values) && values.size() > 1)
        m_dTriggerLevel = values.at(1).toDouble();
    OnTriggerButton(true);
    for (double& threshold : m_thresholds)
        threshold = m_dTriggerLevel;
    diagram->AddValues(0, 1, m_thresholds);
    diagram->repaint();
}

void COscilloscopeWindow::OnToggleDeltaCursorAction()
{
    m_pUi->m_pOscilloscopeWidget->SetDeltaCursor(true);
}

void COscilloscopeWindow::OnContextMenu(QPoint pos)
{
    // The diagram takes its own mouse presses, so the window may never see
    // the right press that opened this menu: the menu's point is the one.
    const QPoint global = m_pUi->m_pOscilloscopeWidget->mapToGlobal(pos);
    m_lastRightPress = global;
    QMenu menu;
    connect(menu.addAction(tr("Set Trigger Level")), &QAction::triggered, this,
        &COscilloscopeWindow::OnSetTriggerLevelAction);
    connect(menu.addAction(tr("Toggle Delta Cursor")), &QAction::triggered, this,
        &COscilloscopeWindow::OnToggleDeltaCursorAction);
    CDiagramMenu::AddExportAction(&menu, m_pUi->m_pOscilloscopeWidget);
    menu.exec(global);
}

void COscilloscopeWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        m_lastRightPress = event->globalPosition().toPoint();
    QDockWidget::mousePressEvent(event);
}

void COscilloscopeWindow::mouseMoveEvent(QMouseEvent* event)
{
    m_pUi->m_pOscilloscopeWidget->update();
    QDockWidget::mouseMoveEvent(event);
}

void COscilloscopeWindow::closeEvent(QCloseEvent* event)
{
    QSettings().setValue(QLatin1String(GuiKitSettingsKeys::OSCILLOSCOPE_GEOMETRY), geometry());
    Q_EMIT closed();
    QDockWidget::closeEvent(event);
}

void COscilloscopeWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        RetranslateTexts();
        return;
    }
    QDockWidget::changeEvent(event);
}

void COscilloscopeWindow::RetranslateTexts()
{
    m_pUi->retranslateUi(this);
    SetPaused(m_bPaused);
}
