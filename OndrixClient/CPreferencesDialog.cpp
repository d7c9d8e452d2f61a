#include "CPreferencesDialog.h"

#include "CLiveRecorder.h"
#include "ui_CPreferencesDialog.h"

#include <QSettings>

CPreferencesDialog::CPreferencesDialog(int nLanguage, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CPreferencesDialog>())
    , m_nLanguage(nLanguage)
{
    m_pUi->setupUi(this);
    m_pUi->m_pLanguageCombo->setCurrentIndex(nLanguage);
    m_pUi->m_pRecordingCheck->setChecked(QSettings().value(QLatin1String(CLiveRecorder::ENABLED_KEY), true).toBool());
    connect(m_pUi->m_pOkButton, &QPushButton::clicked, this, &CPreferencesDialog::OnOkButton);
    connect(m_pUi->m_pCancelButton, &QPushButton::clicked, this, &CPreferencesDialog::reject);
}

CPreferencesDialog::~CPreferencesDialog() = default;

int CPreferencesDialog::GetLanguageIndex() const
{
    return m_nLanguage;
}

void CPreferencesDialog::OnOkButton()
{
    m_nLanguage = m_pUi->m_pLanguageCombo->currentIndex();
    QSettings().setValue(QLatin1String(CLiveRecorder::ENABLED_KEY), m_pUi->m_pRecordingCheck->isChecked());
    accept();
}

void CPreferencesDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        m_pUi->retranslateUi(this);
    QDialog::changeEvent(event);
}
