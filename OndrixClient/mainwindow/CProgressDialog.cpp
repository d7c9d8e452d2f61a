#include "mainwindow/CProgressDialog.h"

#include "ui_CProgressDialog.h"

#include "app/CClientSession.h"
#include "proxy/CMetaDevice.h"

#include <exception>

CProgressDialog::CProgressDialog(QString strMessage, int nAcceptValue, int nRejectValue, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CProgressDialog>())
    , m_timer(this)
    , m_nAcceptValue(nAcceptValue)
    , m_nRejectValue(nRejectValue)
{
    m_pUi->setupUi(this);
    m_pUi->m_pMessageLabel->setText(strMessage);
    m_pUi->m_pProgressBar->setValue(0);
    connect(m_pUi->m_pCancelButton, &QPushButton::clicked, this, &CProgressDialog::OnCancelButton);
    connect(&m_timer, &QTimer::timeout, this, &CProgressDialog::OnTimer);
    m_timer.start(POLL_MS);
}

CProgressDialog::~CProgressDialog() = default;

void CProgressDialog::OnTimer()
{
    CMetaDevice* device = CClientSession::Device();
    // Between two runs (while the retry is asked) the figure is not ours to
    // act on: it belongs to the request that failed.
    if (!device || !isVisible())
        return;
    int progress = 0;
    try {
        progress = device->GetLogLoadProgress();
    } catch (const std::exception&) {
        // A device that cannot be asked any more will not finish.
        reject();
        return;
    }
    m_pUi->m_pProgressBar->setValue(progress);
    if (progress == m_nAcceptValue)
        accept();
    else if (progress == m_nRejectValue)
        reject();
}

void CProgressDialog::OnCancelButton()
{
    reject();
}
