#include "baseline/CCaptureBaselineDialog.h"

#include "app/ClientSettingsKeys.h"
#include "baseline/CBaselineFile.h"
#include "report/CReportWriter.h"
#include "sites/CSiteFolder.h"
#include "ui_CCaptureBaselineDialog.h"

#include <QDir>
#include <QEvent>
#include <QSettings>

#include <algorithm>
#include <climits>
#include <cmath>

CCaptureBaselineDialog::CCaptureBaselineDialog(const QString& storage, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CCaptureBaselineDialog>())
    , m_strStorage(storage)
    , m_timer(this)
{
    m_pUi->setupUi(this);
    Ui::CCaptureBaselineDialog& ui = *m_pUi;
    ui.m_pSiteCombo->addItems(CSiteFolder::Sites(storage));
    QSettings settings;
    ui.m_pSiteCombo->setCurrentText(
        settings.value(QLatin1String(ClientSettingsKeys::BASELINE_CAPTURE_SITE)).toString());
    ui.m_pMinutesSpin->setValue(
        settings.value(QLatin1String(ClientSettingsKeys::BASELINE_CAPTURE_MINUTES), 10.0).toDouble());
    ui.m_pSiteErrorLabel->hide();
    m_timer.setInterval(TICK_MS);
    connect(&m_timer, &QTimer::timeout, this, &CCaptureBaselineDialog::OnTimer);
    connect(ui.m_pStartButton, &QPushButton::clicked, this, &CCaptureBaselineDialog::OnStartButton);
    connect(ui.m_pCancelButton, &QPushButton::clicked, this, &CCaptureBaselineDialog::reject);
    connect(ui.m_pSiteCombo, &QComboBox::editTextChanged, this, &CCaptureBaselineDialog::OnSiteEdited);
    OnSiteEdited(ui.m_pSiteCombo->currentText());
}

CCaptureBaselineDialog::~CCaptureBaselineDialog() = default;

void CCaptureBaselineDialog::SetSite(const QString& site)
{
    m_pUi->m_pSiteCombo->setCurrentText(site);
}

void CCaptureBaselineDialog::SetMinutes(double minutes)
{
    m_pUi->m_pMinutesSpin->setValue(minutes);
}

QString CCaptureBaselineDialog::Status() const
{
    return m_pUi->m_pStatusLabel->text();
}

QString CCaptureBaselineDialog::SiteError() const
{
    return m_pUi->m_pSiteErrorLabel->isHidden() ? QString() : m_pUi->m_pSiteErrorLabel->text();
}

void CCaptureBaselineDialog::OnSiteEdited(const QString& text)
{
    // An empty field is no mistake yet: it is told at Start.
    QString error;
    const bool bad = !text.isEmpty() && !CSiteFolder::IsValidName(text, error);
    m_pUi->m_pSiteErrorLabel->setText(error);
    m_pUi->m_pSiteErrorLabel->setVisible(bad);
}

void CCaptureBaselineDialog::OnStartButton()
{
    Start();
}

bool CCaptureBaselineDialog::Start()
{
    if (m_bRunning)
        return false;
    Ui::CCaptureBaselineDialog& ui = *m_pUi;
    const QString site = ui.m_pSiteCombo->currentText();
    QString error;
    if (!CSiteFolder::IsValidName(site, error)) {
        ui.m_pSiteErrorLabel->setText(error);
        ui.m_pSiteErrorLabel->show();
        ui.m_pSiteCombo->setFocus();
        return false;
    }
    // Refused now rather than after the minutes of the capture.
    if (m_strStorage.isEmpty()) {
        ui.m_pStatusLabel->setText(tr("No storage folder is set, so the baseline would have nowhere to go."));
        return false;
    }
    if (m_strDevice.isEmpty()) {
        ui.m_pStatusLabel->setText(
            tr("No detector is connected. A baseline is captured from the live records of a connected detector."));
        return false;
    }
    QSettings settings;
    settings.setValue(QLatin1String(ClientSettingsKeys::BASELINE_CAPTURE_SITE), site);
    settings.setValue(QLatin1String(ClientSettingsKeys::BASELINE_CAPTURE_MINUTES), ui.m_pMinutesSpin->value());
    m_strSite = site;
    m_strSavedPath.clear();
    m_stats = CBaselineStats();
    m_stats.SetDevice(m_strDevice);
    m_nTotalMs = std::max<qint64>(1, std::llround(ui.m_pMinutesSpin->value() * 60000.0));
    m_nElapsedMs = 0;
    SetRunning(true);
    ShowProgress();
    m_clock.start();
    m_timer.start();
    return true;
}

void CCaptureBaselineDialog::SetRunning(bool running)
{
    m_bRunning = running;
    Ui::CCaptureBaselineDialog& ui = *m_pUi;
    ui.m_pSiteCombo->setEnabled(!running);
    ui.m_pMinutesSpin->setEnabled(!running);
    ui.m_pStartButton->setEnabled(!running);
    ui.m_pCancelButton->setText(running || m_strSavedPath.isEmpty() ? tr("Cancel") : tr("Close"));
    if (!running)
        m_timer.stop();
}

void CCaptureBaselineDialog::Add(const CRecord& record)
{
    if (m_bRunning)
        m_stats.Add(record);
}

void CCaptureBaselineDialog::OnTimer()
{
    Advance(m_clock.restart());
}

void CCaptureBaselineDialog::Advance(qint64 elapsedMs)
{
    if (!m_bRunning)
        return;
    m_nElapsedMs = std::min(m_nTotalMs, m_nElapsedMs + std::max<qint64>(0, elapsedMs));
    if (m_nElapsedMs >= m_nTotalMs)
        Finish();
    else
        ShowProgress();
}

void CCaptureBaselineDialog::ShowProgress()
{
    const int maximum = m_pUi->m_pProgressBar->maximum();
    m_pUi->m_pProgressBar->setValue(int(m_nElapsedMs * maximum / std::max<qint64>(1, m_nTotalMs)));
    m_pUi->m_pStatusLabel->setText(tr("%n sample(s), %1 left", nullptr, int(std::min<qint64>(Samples(), INT_MAX)))
                                       .arg(CReportWriter::FormatDuration((m_nTotalMs - m_nElapsedMs + 999) / 1000)));
}

void CCaptureBaselineDialog::Finish()
{
    m_pUi->m_pProgressBar->setValue(m_pUi->m_pProgressBar->maximum());
    CBaseline baseline;
    QString error;
    QString path;
    const bool done
        = m_stats.Result(m_strSite, baseline, error) && CBaselineFile::Save(m_strStorage, baseline, path, error);
    if (done)
        m_strSavedPath = path;
    SetRunning(false);
    m_pUi->m_pStatusLabel->setText(done ? tr("The baseline of %1 (%n sample(s)) was saved to %2", nullptr,
                                       int(std::min<qint64>(Samples(), INT_MAX)))
                                              .arg(m_strSite, QDir::toNativeSeparators(path))
                                        : error);
    if (done)
        Q_EMIT saved(path, m_strSite);
}

void CCaptureBaselineDialog::reject()
{
    if (m_bRunning) {
        SetRunning(false);
        m_pUi->m_pProgressBar->setValue(0);
        m_pUi->m_pStatusLabel->setText(tr("The capture was cancelled; nothing was saved."));
    }
    QDialog::reject();
}

void CCaptureBaselineDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        const QString status = m_pUi->m_pStatusLabel->text();
        m_pUi->retranslateUi(this);
        m_pUi->m_pStatusLabel->setText(status);
        SetRunning(m_bRunning);
    }
    QDialog::changeEvent(event);
}
