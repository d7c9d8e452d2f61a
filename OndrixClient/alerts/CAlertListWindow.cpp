#include "alerts/CAlertListWindow.h"

#include "alerts/CAlertCsv.h"
#include "alerts/CAlertTableModel.h"
#include "app/ClientSettingsKeys.h"
#include "ui_CAlertListWindow.h"

#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelection>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <numeric>

CAlertListWindow::CAlertListWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_pUi(std::make_unique<Ui::CAlertListWindow>())
    , m_pModel(new CAlertTableModel(this))
{
    m_pUi->setupUi(this);
    QTableView* view = m_pUi->m_pTableView;
    view->setModel(m_pModel);
    // Rows of one height need no measuring, however many there are.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    SizeColumns();
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &CAlertListWindow::OnSelectionChanged);
    connect(m_pUi->m_pAcknowledgeButton, &QPushButton::clicked, this, &CAlertListWindow::OnAcknowledgeButtonClicked);
    connect(m_pUi->m_pAcknowledgeAllButton, &QPushButton::clicked, this,
        &CAlertListWindow::OnAcknowledgeAllButtonClicked);
    connect(m_pUi->m_pExportButton, &QPushButton::clicked, this, &CAlertListWindow::OnExportButtonClicked);
    connect(m_pUi->m_pCloseButton, &QPushButton::clicked, this, &QWidget::close);
    UpdateStatus();
}

CAlertListWindow::~CAlertListWindow() = default;

void CAlertListWindow::SetAlerts(const QList<ALERT>& alerts)
{
    // Most refreshes only change what the rows say; only a change of rows
    // needs the view's state carried over by hand.
    const bool sameRows = m_pModel->SameRows(alerts);
    const VIEW_STATE state = sameRows ? VIEW_STATE() : KeptState();
    m_pModel->SetAlerts(alerts);
    if (!sameRows)
        Restore(state);
    UpdateStatus();
}

void CAlertListWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_pUi->retranslateUi(this);
        m_pModel->Retranslate();
        UpdateStatus();
    }
    QWidget::changeEvent(event);
}

void CAlertListWindow::OnAcknowledgeButtonClicked()
{
    const QList<int> rows = Unacknowledged(SelectedIndices());
    if (!rows.isEmpty())
        Q_EMIT acknowledgeRequested(rows);
}

void CAlertListWindow::OnAcknowledgeAllButtonClicked()
{
    QList<int> all(m_pModel->Alerts().size());
    std::iota(all.begin(), all.end(), 0);
    const QList<int> rows = Unacknowledged(all);
    if (!rows.isEmpty())
        Q_EMIT acknowledgeRequested(rows);
}

void CAlertListWindow::OnExportButtonClicked()
{
    const QString path = ChoosePath();
    if (path.isEmpty())
        return;
    QString error;
    if (!CAlertCsv::Save(m_pModel->Alerts(), path, error))
        ShowError(error);
}

void CAlertListWindow::OnSelectionChanged()
{
    m_pUi->m_pAcknowledgeButton->setEnabled(!Unacknowledged(SelectedIndices()).isEmpty());
}

CAlertListWindow::VIEW_STATE CAlertListWindow::KeptState() const
{
    const QTableView* view = m_pUi->m_pTableView;
    const QList<ALERT>& alerts = m_pModel->Alerts();
    VIEW_STATE state;
    for (int index : SelectedIndices())
        state.selected.append(alerts.at(index));
    const QModelIndex current = view->currentIndex();
    state.hasCurrent = current.isValid();
    if (state.hasCurrent)
        state.current = alerts.at(m_pModel->AlertIndex(current.row()));
    const int top = view->rowAt(0);
    state.atTop = top <= 0 || view->verticalScrollBar()->value() == 0;
    if (!state.atTop)
        state.top = alerts.at(m_pModel->AlertIndex(top));
    state.horizontal = view->horizontalScrollBar()->value();
    return state;
}

void CAlertListWindow::Restore(const VIEW_STATE& state)
{
    QTableView* view = m_pUi->m_pTableView;
    // The scroll bars learn of the new rows now, not when next painted.
    view->doItemsLayout();
    QList<int> rows;
    for (const ALERT& alert : state.selected) {
        const int row = m_pModel->FindRow(alert);
        if (row >= 0)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    for (qsizetype first = 0; first < rows.size();) {
        qsizetype last = first;
        while (last + 1 < rows.size() && rows.at(last + 1) == rows.at(last) + 1)
            ++last;
        selection.select(m_pModel->index(rows.at(first), 0),
            m_pModel->index(rows.at(last), CAlertTableModel::COLUMNS - 1));
        first = last + 1;
    }
    const int current = state.hasCurrent ? m_pModel->FindRow(state.current) : -1;
    if (current >= 0)
        view->selectionModel()->setCurrentIndex(m_pModel->index(current, 0), QItemSelectionModel::NoUpdate);
    view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    const int top = state.atTop ? -1 : m_pModel->FindRow(state.top);
    if (top >= 0)
        view->scrollTo(m_pModel->index(top, 0), QAbstractItemView::PositionAtTop);
    else
        view->scrollToTop();
    view->horizontalScrollBar()->setValue(state.horizontal);
}

QList<int> CAlertListWindow::SelectedIndices() const
{
    QList<int> indices;
    for (const QModelIndex& index : m_pUi->m_pTableView->selectionModel()->selectedRows())
        indices.append(m_pModel->AlertIndex(index.row()));
    std::sort(indices.begin(), indices.end());
    return indices;
}

QList<int> CAlertListWindow::Unacknowledged(const QList<int>& indices) const
{
    // An alert is acknowledged once: the first to hear of it is who it names.
    QList<int> left;
    for (int index : indices) {
        if (m_pModel->Alerts().at(index).acknowledgedMs == 0)
            left.append(index);
    }
    return left;
}

QString CAlertListWindow::ChoosePath()
{
    QString folder = QSettings().value(QLatin1String(ClientSettingsKeys::ALERTS_CSV_FOLDER)).toString();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name
        = QStringLiteral("alerts_") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_hhmmss"));
    const QString suggested = QDir(folder).filePath(name + QStringLiteral(".csv"));
    QString path;
    if (m_chooser) {
        path = m_chooser(suggested);
    } else {
        // The dialog itself asks before a file is replaced.
        QFileDialog dialog(this, tr("Export Alerts to CSV"), suggested,
            tr("CSV files (*.csv)") + QStringLiteral(";;") + tr("All files (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.selectFile(suggested);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (!path.isEmpty())
        QSettings().setValue(QLatin1String(ClientSettingsKeys::ALERTS_CSV_FOLDER), QFileInfo(path).absolutePath());
    return path;
}

void CAlertListWindow::ShowError(const QString& error)
{
    // Paths come from the disk: never taken as markup.
    QMessageBox box(QMessageBox::Warning, windowTitle(), error, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void CAlertListWindow::UpdateStatus()
{
    const QList<ALERT>& alerts = m_pModel->Alerts();
    const int open = int(
        std::count_if(alerts.cbegin(), alerts.cend(), [](const ALERT& alert) { return alert.acknowledgedMs == 0; }));
    m_pUi->m_pStatusLabel->setText(
        tr("%1, %n not acknowledged", nullptr, open).arg(tr("%n alert(s)", nullptr, int(alerts.size()))));
    m_pUi->m_pAcknowledgeAllButton->setEnabled(open > 0);
    m_pUi->m_pExportButton->setEnabled(!alerts.isEmpty());
    OnSelectionChanged();
}

void CAlertListWindow::SizeColumns()
{
    // Wide enough for the usual texts; the last column takes the rest.
    const QStringList samples { QStringLiteral("0000-00-00 00:00:00"), QStringLiteral("RZ450 Room 000"),
        QStringLiteral("00 WLAN 2.4 GHz"), QStringLiteral("-000 dBm"), QStringLiteral("00 min 00 s") };
    const QFontMetrics metrics = fontMetrics();
    QHeaderView* header = m_pUi->m_pTableView->horizontalHeader();
    for (int column = 0; column < samples.size(); ++column)
        header->resizeSection(column, metrics.horizontalAdvance(samples.at(column)) + 2 * metrics.height());
}
