#include "connect/CServerTrustDialog.h"

#include "protocol/CCertificateFingerprint.h"
#include "ui_CServerTrustDialog.h"

#include <QFontDatabase>
#include <QPushButton>

CServerTrustDialog::CServerTrustDialog(const QString& server, const QString& fingerprint, bool keyRefused,
    QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CServerTrustDialog>())
{
    m_pUi->setupUi(this);
    m_pUi->m_pIntroLabel->setText(keyRefused
            ? tr("The server %1 refused the access key. Its certificate's fingerprint (SHA-256) is:").arg(server)
            : tr("This is the first connection to the server %1. Its certificate's fingerprint (SHA-256) is:")
                  .arg(server));
    m_pUi->m_pFingerprintLabel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pUi->m_pFingerprintLabel->setText(CCertificateFingerprint::Readable(fingerprint));
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pUi->m_pKeyEdit, &QLineEdit::textChanged, this, &CServerTrustDialog::OnKeyEditTextChanged);
    OnKeyEditTextChanged(QString());
}

CServerTrustDialog::~CServerTrustDialog() = default;

QString CServerTrustDialog::Key() const
{
    return m_pUi->m_pKeyEdit->text().trimmed();
}

void CServerTrustDialog::OnKeyEditTextChanged(const QString& text)
{
    m_pUi->m_pButtonBox->button(QDialogButtonBox::Ok)->setEnabled(!text.trimmed().isEmpty());
}
