#include "connect/CDeviceSelectDialog.h"

#include "ui_CDeviceSelectDialog.h"

CDeviceSelectDialog::CDeviceSelectDialog(QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CDeviceSelectDialog>())
{
    m_pUi->setupUi(this);
    connect(m_pUi->m_pSelectButton, &QPushButton::clicked, this, &CDeviceSelectDialog::OnSelectButton);
    connect(m_pUi->m_pCancelButton, &QPushButton::clicked, this, &CDeviceSelectDialog::reject);
    connect(m_pUi->m_pDevicesList, &QListWidget::itemDoubleClicked, this, &CDeviceSelectDialog::OnSelectButton);
}

CDeviceSelectDialog::~CDeviceSelectDialog() = default;

void CDeviceSelectDialog::AddDevice(const QString& name)
{
    m_pUi->m_pDevicesList->addItem(name);
}

void CDeviceSelectDialog::SetCurrentRow(int row)
{
    m_nSelected = row;
    m_pUi->m_pDevicesList->setCurrentRow(row);
}

int CDeviceSelectDialog::GetSelectedIndex() const
{
    return m_nSelected;
}

void CDeviceSelectDialog::OnSelectButton()
{
    // A stored row that no longer exists leaves nothing current.
    const int row = m_pUi->m_pDevicesList->currentRow();
    if (row < 0)
        return;
    m_nSelected = row;
    accept();
}

void CDeviceSelectDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        m_pUi->retranslateUi(this);
    QDialog::changeEvent(event);
}
