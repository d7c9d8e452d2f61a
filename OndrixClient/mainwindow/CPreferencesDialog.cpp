#include "mainwindow/CPreferencesDialog.h"
#include "app/ClientSettingsKeys.h"

#include "alerts/CAlertRulesPage.h"
#include "files/RecordingSettings.h"
#include "live/CLiveRecorder.h"
#include "ui_CPreferencesDialog.h"

#include <QMessageBox>
#include <QSettings>

CPreferencesDialog::CPreferencesDialog(int nLanguage, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CPreferencesDialog>())
    , m_nLanguage(nLanguage)
{
    m_pUi->setupUi(this);
    m_pUi->m_pLanguageCombo->setCurrentIndex(nLanguage);
    const RecordingSettings::LIMITS limits = CLiveRecorder::Limits();
    m_pUi->m_pRecordingCheck->setChecked(limits.enabled);
    m_pUi->m_pKeepSizeSpin->setValue(int(limits.keepBytes >> 30));
    m_pUi->m_pKeepDaysSpin->setValue(limits.keepDays);
    m_pUi->m_pFreeFloorSpin->setValue(int(limits.freeFloorBytes >> 20));
    connect(m_pUi->m_pOkButton, &QPushButton::clicked, this, &CPreferencesDialog::OnOkButton);
    connect(m_pUi->m_pCancelButton, &QPushButton::clicked, this, &CPreferencesDialog::reject);
}

CPreferencesDialog::~CPreferencesDialog() = default;

int CPreferencesDialog::GetLanguageIndex() const
{
    return m_nLanguage;
}

void CPreferencesDialog::SetAlertDetectors(const QList<QPair<QString, QString>>& detectors)
{
    m_pUi->m_pAlertsPage->SetDetectors(detectors);
}

void CPreferencesDialog::SetAlertStorage(const QString& storage)
{
    m_pUi->m_pAlertsPage->SetStorage(storage);
}

void CPreferencesDialog::OnOkButton()
{
    QString error;
    if (!m_pUi->m_pAlertsPage->Validate(error)) {
        m_pUi->m_pTabs->setCurrentWidget(m_pUi->m_pAlertsPage);
        QMessageBox::warning(this, windowTitle(), error);
        return;
    }
    m_nLanguage = m_pUi->m_pLanguageCombo->currentIndex();
    using namespace RecordingSettings;
    QSettings settings;
    settings.setValue(QLatin1String(ClientSettingsKeys::RECORDING_ENABLED), m_pUi->m_pRecordingCheck->isChecked());
    settings.setValue(QLatin1String(ClientSettingsKeys::RECORDING_KEEP_GB), m_pUi->m_pKeepSizeSpin->value());
    settings.setValue(QLatin1String(ClientSettingsKeys::RECORDING_KEEP_DAYS), m_pUi->m_pKeepDaysSpin->value());
    settings.setValue(QLatin1String(ClientSettingsKeys::RECORDING_FREE_FLOOR_MB), m_pUi->m_pFreeFloorSpin->value());
    m_pUi->m_pAlertsPage->Save();
    accept();
}

void CPreferencesDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        m_pUi->retranslateUi(this);
    QDialog::changeEvent(event);
}
