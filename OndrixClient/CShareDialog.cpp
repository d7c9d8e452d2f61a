#include "CShareDialog.h"

#include "ui_CShareDialog.h"

CShareDialog::CShareDialog(const CServerSharing& sharing, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CShareDialog>())
{
    m_pUi->setupUi(this);
    m_pUi->m_pControlEdit->setText(sharing.GetControl());
    m_pUi->m_pReadOnlyRadio->setChecked(sharing.GetMode() == CServerSharing::NetworkReadOnly);
    m_pUi->m_pControlRadio->setChecked(sharing.GetMode() == CServerSharing::NetworkControl);
    connect(m_pUi->m_pControlRadio, &QRadioButton::toggled, this, &CShareDialog::OnControlRadioToggled);
    connect(m_pUi->m_pControlEdit, &QLineEdit::textChanged, this, &CShareDialog::OnControlEditTextChanged);
    connect(m_pUi->m_pOkButton, &QPushButton::clicked, this, &CShareDialog::accept);
    connect(m_pUi->m_pCancelButton, &QPushButton::clicked, this, &CShareDialog::reject);
    OnControlRadioToggled(m_pUi->m_pControlRadio->isChecked());
}

CShareDialog::~CShareDialog() = default;

CServerSharing CShareDialog::GetSharing() const
{
    return CServerSharing(ChosenMode(), m_pUi->m_pControlEdit->text());
}

CServerSharing::Mode CShareDialog::ChosenMode() const
{
    if (m_pUi->m_pControlRadio->isChecked())
        return CServerSharing::NetworkControl;
    return m_pUi->m_pReadOnlyRadio->isChecked() ? CServerSharing::NetworkReadOnly : CServerSharing::ThisComputer;
}

void CShareDialog::OnControlRadioToggled(bool bOn)
{
    m_pUi->m_pControlEdit->setEnabled(bOn);
    if (bOn)
        m_pUi->m_pControlEdit->setFocus();
    Validate();
}

void CShareDialog::OnControlEditTextChanged()
{
    Validate();
}

void CShareDialog::Validate()
{
    const bool valid = GetSharing().IsValid();
    m_pUi->m_pOkButton->setEnabled(valid);
    m_pUi->m_pErrorLabel->setText(valid ? QString() : ErrorText());
}

QString CShareDialog::ErrorText() const
{
    QStringList networks;
    QString bad;
    CServerSharing::ParseNetworks(m_pUi->m_pControlEdit->text(), networks, bad);
    if (bad.isEmpty())
        return tr("Enter the addresses or networks that may control the detector.");
    return tr("Not an address or network: %1").arg(bad);
}

void CShareDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_pUi->retranslateUi(this);
        Validate();
    }
    QDialog::changeEvent(event);
}
