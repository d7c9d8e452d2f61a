#include "storage/CLogDownload.h"

#include "RZ450Layout.h"
#include "app/CGuardedCall.h"
#include "files/CLogSaver.h"
#include "mainwindow/CProgressDialog.h"
#include "proxy/CMetaDevice.h"
#include "storage/CStoragePanel.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>

namespace {

// The device's log progress figure at the end of a download.
const int LOG_DOWNLOADED = RZ450Layout::Log::PROGRESS_DONE;
const int LOG_FAILED = RZ450Layout::Log::PROGRESS_FAILED;

} // namespace

CLogDownload::CLogDownload(CStoragePanel* storage, QStatusBar* statusBar, QWidget* window)
    : QObject(window)
    , m_pStorage(storage)
    , m_pStatusBar(statusBar)
    , m_pWindow(window)
{
}

QString CLogDownload::Run(CMetaDevice* device, QTreeWidgetItem*& folder)
{
    // A server that cannot be asked has no log to give.
    if (!device || !CGuardedCall::Value([device] { return device->IsOnline(); }, false)) {
        QMessageBox::warning(m_pWindow, QCoreApplication::applicationName(), tr("No connection with the device!"));
        return QString();
    }
    Say(tr("Downloading the log..."));
    if (!Read(device)) {
        m_pStatusBar->clearMessage();
        return QString();
    }
    Say(tr("Parsing the log..."));
    return Store(device, folder);
}

bool CLogDownload::Read(CMetaDevice* device)
{
    CProgressDialog dialog(tr("Reading the log from the internal flash memory"), LOG_DOWNLOADED, LOG_FAILED, m_pWindow);
    dialog.setWindowTitle(QCoreApplication::applicationName());
    for (;;) {
        bool taken = false;
        const bool posted = CGuardedCall::Run([device, &taken] { taken = device->Request(IDevice::ReadLog); });
        // Refused, the server's progress would be of someone else's download.
        if (posted && !taken) {
            QMessageBox::warning(m_pWindow, QCoreApplication::applicationName(),
                tr("The server shares this detector read-only: its log cannot be downloaded from here."));
            return false;
        }
        if (posted && dialog.exec() == QDialog::Accepted)
            return true;
        const QMessageBox::StandardButton answer = QMessageBox::question(m_pWindow, QCoreApplication::applicationName(),
            tr("An error occured reading the log. Retry?"), QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
    }
}

QString CLogDownload::Store(CMetaDevice* device, QTreeWidgetItem*& folder)
{
    folder = m_pStorage->TargetFolder();
    CLogSaver saver(device);
    const CLogSaver::Result result = folder ? saver.Save(m_pStorage->PathOf(folder)) : CLogSaver::Failed;
    // Banks written before a failure stay on disk: the tree shows them.
    if (!saver.SavedNames().isEmpty())
        m_pStorage->FillFolder(folder, m_pStorage->PathOf(folder));
    if (result != CLogSaver::Saved) {
        m_pStatusBar->clearMessage();
        if (result == CLogSaver::NoEvents)
            QMessageBox::information(m_pWindow, QCoreApplication::applicationName(), tr("No new events!"));
        else
            QMessageBox::warning(m_pWindow, QCoreApplication::applicationName(), tr("Error loading events!"));
        return QString();
    }
    QMessageBox::information(m_pWindow, QCoreApplication::applicationName(), tr("The log has been successfully read!"));
    return QFileInfo(saver.SavedNames().constLast()).completeBaseName();
}

void CLogDownload::Say(const QString& text)
{
    m_pStatusBar->showMessage(text);
}
