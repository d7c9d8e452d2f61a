#include "reference/CReferenceDialog.h"

#include "reference/CReferenceFile.h"
#include "sites/CSiteFolder.h"

#include "ui_CReferenceDialog.h"

#include <QPushButton>

CReferenceDialog::CReferenceDialog(Mode mode, const QString& storage, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CReferenceDialog>())
    , m_mode(mode)
    , m_strStorage(storage)
{
    m_pUi->setupUi(this);
    const bool saving = mode == SaveMode;
    for (QWidget* widget : { static_cast<QWidget*>(m_pUi->m_pTraceLabel), static_cast<QWidget*>(m_pUi->m_pTraceCombo),
             static_cast<QWidget*>(m_pUi->m_pNameLabel), static_cast<QWidget*>(m_pUi->m_pNameEdit) })
        widget->setVisible(saving);
    m_pUi->m_pListLabel->setVisible(!saving);
    m_pUi->m_pReferenceList->setVisible(!saving);
    // A new site is typed in when saving; a load needs one that has references.
    m_pUi->m_pSiteCombo->setEditable(saving);
    m_pUi->m_pSiteCombo->addItems(CSiteFolder::Sites(storage));
    connect(m_pUi->m_pSiteCombo, &QComboBox::currentTextChanged, this, &CReferenceDialog::OnSiteComboTextChanged);
    connect(m_pUi->m_pNameEdit, &QLineEdit::textChanged, this, &CReferenceDialog::UpdateControls);
    connect(m_pUi->m_pReferenceList, &QListWidget::currentRowChanged, this, &CReferenceDialog::UpdateControls);
    connect(m_pUi->m_pReferenceList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    OnSiteComboTextChanged(Site());
    Retranslate();
    if (saving) {
        m_pUi->m_pNameEdit->setFocus();
        resize(width(), minimumSizeHint().height());
    }
}

CReferenceDialog::~CReferenceDialog() = default;

void CReferenceDialog::SetTraces(const QList<QPair<CSpectrumReference::Trace, QString>>& traces)
{
    m_pUi->m_pTraceCombo->clear();
    for (const auto& trace : traces)
        m_pUi->m_pTraceCombo->addItem(trace.second, int(trace.first));
    UpdateControls();
}

void CReferenceDialog::SetSite(const QString& site)
{
    m_pUi->m_pSiteCombo->setCurrentText(site);
}

CSpectrumReference::Trace CReferenceDialog::Trace() const
{
    return CSpectrumReference::Trace(m_pUi->m_pTraceCombo->currentData().toInt());
}

QString CReferenceDialog::Site() const
{
    return m_pUi->m_pSiteCombo->currentText();
}

QString CReferenceDialog::Name() const
{
    if (m_mode == SaveMode)
        return m_pUi->m_pNameEdit->text();
    const QListWidgetItem* item = m_pUi->m_pReferenceList->currentItem();
    return item == nullptr ? QString() : item->text();
}

void CReferenceDialog::OnSiteComboTextChanged(const QString& site)
{
    m_pUi->m_pReferenceList->clear();
    QString error;
    if (m_mode == LoadMode && CSiteFolder::IsValidName(site, error))
        m_pUi->m_pReferenceList->addItems(CReferenceFile::List(m_strStorage, site));
    if (m_pUi->m_pReferenceList->count() > 0)
        m_pUi->m_pReferenceList->setCurrentRow(0);
    UpdateControls();
}

void CReferenceDialog::UpdateControls()
{
    const bool ready = m_mode == SaveMode
        ? m_pUi->m_pTraceCombo->count() > 0 && !Site().trimmed().isEmpty() && !Name().trimmed().isEmpty()
        : !Name().isEmpty();
    m_pUi->m_pButtonBox->button(QDialogButtonBox::Ok)->setEnabled(ready);
}

void CReferenceDialog::Retranslate()
{
    setWindowTitle(m_mode == SaveMode ? tr("Save Trace as Reference") : tr("Load Reference"));
}

void CReferenceDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_pUi->retranslateUi(this);
        Retranslate();
    }
    QDialog::changeEvent(event);
}
