#include "overview/COverviewPanel.h"

#include "ui_COverviewPanel.h"

#include "alerts/CAlertCenter.h"
#include "overview/CBandStripDelegate.h"
#include "overview/COverviewModel.h"

#include <QHeaderView>

COverviewPanel::COverviewPanel(COverviewModel* model, QWidget* parent)
    : QWidget(parent)
    , m_pUi(std::make_unique<Ui::COverviewPanel>())
    , m_pModel(model)
{
    m_pUi->setupUi(this);
    QTableView* table = m_pUi->m_pTable;
    table->setModel(model);
    table->setItemDelegateForColumn(COverviewModel::BandsColumn, new CBandStripDelegate(table));
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(table, &QTableView::doubleClicked, this, &COverviewPanel::OnTableDoubleClicked);
    connect(m_pUi->m_pAddButton, &QPushButton::clicked, this, &COverviewPanel::addRequested);
    connect(m_pUi->m_pSearchButton, &QPushButton::clicked, this, &COverviewPanel::searchRequested);
    connect(m_pUi->m_pRenameButton, &QPushButton::clicked, this, &COverviewPanel::OnRenameButtonClicked);
    connect(m_pUi->m_pRemoveButton, &QPushButton::clicked, this, &COverviewPanel::OnRemoveButtonClicked);
    connect(m_pUi->m_pOpenButton, &QPushButton::clicked, this, &COverviewPanel::OnOpenButtonClicked);
    connect(m_pUi->m_pAlertsButton, &QPushButton::clicked, this, &COverviewPanel::alertsRequested);
    connect(model, &QAbstractItemModel::modelReset, this, &COverviewPanel::UpdateSummary);
    connect(model, &QAbstractItemModel::dataChanged, this, &COverviewPanel::UpdateSummary);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &COverviewPanel::UpdateButtons);
    connect(model, &QAbstractItemModel::modelReset, this, &COverviewPanel::UpdateButtons);
    UpdateSummary();
    UpdateButtons();
}

COverviewPanel::~COverviewPanel() = default;

QTableView* COverviewPanel::Table() const
{
    return m_pUi->m_pTable;
}

QList<int> COverviewPanel::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_pUi->m_pTable->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void COverviewPanel::OnTableDoubleClicked(const QModelIndex& index)
{
    if (index.isValid())
        Q_EMIT openRequested(index.row());
}

void COverviewPanel::OnRenameButtonClicked()
{
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty())
        Q_EMIT renameRequested(rows.first());
}

void COverviewPanel::OnRemoveButtonClicked()
{
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty())
        Q_EMIT removeRequested(rows);
}

void COverviewPanel::OnOpenButtonClicked()
{
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty())
        Q_EMIT openRequested(rows.first());
}

void COverviewPanel::UpdateButtons()
{
    const int selected = int(SelectedRows().size());
    m_pUi->m_pRenameButton->setEnabled(selected == 1);
    m_pUi->m_pOpenButton->setEnabled(selected == 1);
    m_pUi->m_pRemoveButton->setEnabled(selected > 0);
}

// Counted again on every look: a few dozen rows cost nothing next to the
// repaint the same change causes.
void COverviewPanel::UpdateSummary()
{
    int online = 0;
    int alerting = 0;
    const int count = m_pModel->rowCount();
    for (int row = 0; row < count; ++row) {
        online += m_pModel->Row(row).state == OVERVIEW_ROW::Online ? 1 : 0;
        alerting += m_pModel->Row(row).level == CAlertCenter::Alerting ? 1 : 0;
    }
    m_pUi->m_pSummaryLabel->setText(count == 0
            ? tr("No detectors yet: add one, or search for servers.")
            : tr("%n detector(s), %1 online, %2 with alerts", nullptr, count).arg(online).arg(alerting));
}

void COverviewPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_pUi->retranslateUi(this);
        UpdateSummary();
    }
    QWidget::changeEvent(event);
}
