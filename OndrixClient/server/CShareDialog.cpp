#include "server/CShareDialog.h"

#include "ui_CShareDialog.h"

#include "connect/CServerIdentityQuery.h"
#include "protocol/CCertificateFingerprint.h"
#include "server/CLocalNetworks.h"
#include "server/CServerStarter.h"

#include <QFontDatabase>

CShareDialog::CShareDialog(const CServerSharing& sharing, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CShareDialog>())
    , m_initial(sharing)
{
    m_pUi->setupUi(this);
    m_pUi->m_pKeepCheck->setChecked(sharing.KeepsSharing());
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QLabel* label : { m_pUi->m_pFingerprintLabel, m_pUi->m_pViewKeyLabel, m_pUi->m_pControlKeyLabel })
        label->setFont(fixed);
    SetLocalNetworks(CLocalNetworks::AddressEntries());
    connect(m_pUi->m_pNetworkList, &QListWidget::itemChanged, this, &CShareDialog::OnNetworkListItemChanged);
    connect(m_pUi->m_pReadOnlyRadio, &QRadioButton::toggled, this, &CShareDialog::OnControlEditTextChanged);
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
    return CServerSharing(ChosenMode(), m_pUi->m_pControlEdit->text(), CheckedNetworks(),
        m_pUi->m_pKeepCheck->isChecked());
}

void CShareDialog::SetLocalNetworks(const QList<QNetworkAddressEntry>& local)
{
    QStringList offered = CServerSharing::LocalSubnets(local) + m_initial.GetNetworks();
    offered.removeDuplicates();
    const QStringList chosen = m_initial.GetNetworks();
    QSignalBlocker blocker(m_pUi->m_pNetworkList);
    m_pUi->m_pNetworkList->clear();
    for (const QString& network : std::as_const(offered)) {
        auto* item = new QListWidgetItem(network, m_pUi->m_pNetworkList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const bool on = chosen.isEmpty() ? !CServerSharing::IsWide(network) : chosen.contains(network);
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    ShowWide();
}

QStringList CShareDialog::CheckedNetworks() const
{
    QStringList networks;
    for (int i = 0; i < m_pUi->m_pNetworkList->count(); ++i) {
        if (m_pUi->m_pNetworkList->item(i)->checkState() == Qt::Checked)
            networks.append(m_pUi->m_pNetworkList->item(i)->text());
    }
    return networks;
}

void CShareDialog::OnNetworkListItemChanged(QListWidgetItem*)
{
    ShowWide();
}

void CShareDialog::ShowWide()
{
    QStringList wide = CheckedNetworks();
    wide.removeIf([](const QString& network) { return !CServerSharing::IsWide(network); });
    m_pUi->m_pWideLabel->setText(wide.isEmpty()
            ? QString()
            : tr("Warning: %1 is wider than a /%2: more computers than you can know could try to connect.")
                  .arg(wide.join(QStringLiteral(", ")))
                  .arg(CServerSharing::WIDEST_PREFIX));
}

// Read once a network is chosen: the program makes its identity on its
// first run, and a computer that shares with nobody needs none.
void CShareDialog::ShowIdentity()
{
    const bool network = ChosenMode() != CServerSharing::ThisComputer;
    m_pUi->m_pNetworkList->setEnabled(network);
    m_pUi->m_pIdentityGroup->setEnabled(network);
    if (!network || m_bIdentityRead)
        return;
    m_bIdentityRead = true;
    CServerIdentityQuery identity;
    QString error;
    if (!identity.Read(CServerStarter::ProgramPath(), error)) {
        m_pUi->m_pFingerprintLabel->setText(tr("not known: %1").arg(error));
        return;
    }
    m_pUi->m_pFingerprintLabel->setText(CCertificateFingerprint::Readable(identity.fingerprint));
    m_pUi->m_pViewKeyLabel->setText(identity.viewKey);
    m_pUi->m_pControlKeyLabel->setText(identity.controlKey);
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
    ShowIdentity();
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
