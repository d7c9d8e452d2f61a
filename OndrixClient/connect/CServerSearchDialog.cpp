#include "connect/CServerSearchDialog.h"

#include "ui_CServerSearchDialog.h"

CServerSearchDialog::CServerSearchDialog(QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CServerSearchDialog>())
    , m_progress(this)
{
    m_pUi->setupUi(this);
    m_progress.setRange(0, 100);
    // The dialog comes and goes with the search, never by itself: left to
    // its defaults it would pop up four seconds after construction and
    // close itself on reaching 100 before the results are in.
    m_progress.setAutoClose(false);
    m_progress.setAutoReset(false);
    m_progress.reset();
    TranslateProgress();

    connect(&m_thread, &CServerSearchThread::serverFound, this, &CServerSearchDialog::OnServerFound);
    connect(&m_thread, &CServerSearchThread::progressChanged, this, &CServerSearchDialog::OnProgressChanged);
    connect(&m_thread, &CServerSearchThread::finished, this, &CServerSearchDialog::OnFinished);
    connect(&m_progress, &QProgressDialog::canceled, this, &CServerSearchDialog::OnFinished);
    connect(m_pUi->m_pSearchButton, &QPushButton::clicked, this, &CServerSearchDialog::OnSearchButton);
    connect(m_pUi->m_pSelectButton, &QPushButton::clicked, this, &CServerSearchDialog::OnSelectButton);
    connect(m_pUi->m_pCancelButton, &QPushButton::clicked, this, &CServerSearchDialog::reject);
}

CServerSearchDialog::~CServerSearchDialog() = default;

QString CServerSearchDialog::GetSelectedServer() const
{
    return m_strServer;
}

void CServerSearchDialog::SetAddressEntries(const QList<QNetworkAddressEntry>& entries)
{
    m_thread.SetAddressEntries(entries);
}

void CServerSearchDialog::OnSearchButton()
{
    m_progress.setValue(0);
    m_thread.StartSearch();
    m_progress.exec();
}

void CServerSearchDialog::OnSelectButton()
{
    const QListWidgetItem* item = m_pUi->m_pServersList->currentItem();
    if (!item)
        return;
    m_strServer = item->text();
    accept();
}

void CServerSearchDialog::OnServerFound(QString strServer)
{
    m_pUi->m_pServersList->addItem(strServer);
}

void CServerSearchDialog::OnProgressChanged(int nPercent, QString strMessage)
{
    m_progress.setValue(nPercent);
    m_progress.setLabelText(tr("Searching for Ondrix Servers: %1").arg(strMessage));
}

void CServerSearchDialog::OnFinished()
{
    m_thread.StopSearch();
    m_progress.hide();
    const bool found = m_pUi->m_pServersList->count() > 0;
    if (found)
        m_pUi->m_pServersList->setCurrentRow(0);
    m_pUi->m_pSelectButton->setEnabled(found);
}

void CServerSearchDialog::TranslateProgress()
{
    m_progress.setWindowTitle(tr("Progress"));
    m_progress.setLabelText(tr("Searching for Ondrix Servers"));
}

void CServerSearchDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_pUi->retranslateUi(this);
        TranslateProgress();
    }
    QDialog::changeEvent(event);
}
