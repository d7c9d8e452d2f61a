// The main window's storage pane and log download: the panel does the work,
// the slots and the names stay on the window.
#include "mainwindow/CMainWindow.h"

#include "app/CClientSession.h"
#include "app/CGuardedCall.h"
#include "mainwindow/StatusBar.h"
#include "proxy/CMetaDevice.h"
#include "storage/CLogArea.h"
#include "storage/CLogDownload.h"
#include "storage/CStoragePanel.h"
#include "storage/CStorageTree.h"
#include "ui_CMainWindow.h"

void CMainWindow::InitStorage()
{
    m_pStoragePanel = new CStoragePanel(m_pUi->m_pStorageTree, m_pUi->m_pStatusBar, this);
    m_pLogDownload = new CLogDownload(m_pStoragePanel, m_pUi->m_pStatusBar, this);
    CMetaDevice* device = CClientSession::Device();
    // A device that cannot be asked keeps its data in the program's own
    // folder.
    m_pStoragePanel->Init(device ? CGuardedCall::Value([device] { return device->GetDevID(); }, QString()) : QString());
}

// One line a function, read as a table.
// clang-format off
void CMainWindow::FillStorageTree() { m_pStoragePanel->Fill(); }
void CMainWindow::FillFolder(QTreeWidgetItem* pItem, const QString& strPath) { m_pStoragePanel->FillFolder(pItem, strPath); }
QString CMainWindow::GetItemPath(QTreeWidgetItem* pItem) const { return m_pStoragePanel->PathOf(pItem); }
QTreeWidgetItem* CMainWindow::TargetFolder() const { return m_pStoragePanel->TargetFolder(); }
void CMainWindow::OnBrowseButton() { m_pStoragePanel->Browse(); }
void CMainWindow::OnFolderButton() { m_pStoragePanel->NewFolder(); }
void CMainWindow::OnRenameButton() { m_pStoragePanel->Rename(); }
void CMainWindow::OnDeleteButton() { m_pStoragePanel->Delete(); }
void CMainWindow::OnDeleteAllAction() { m_pStoragePanel->DeleteAll(); }
void CMainWindow::OnStorageContextMenu(QPoint pt) { m_pStoragePanel->ShowContextMenu(m_pUi->menuTree, pt); }
void CMainWindow::OnStorageItemExpanded(QTreeWidgetItem* pItem) { m_pStoragePanel->ShowExpanded(pItem); }
// clang-format on

void CMainWindow::OnStorageItemActivated(QTreeWidgetItem* pItem)
{
    if (CStorageTree::IsFile(pItem))
        m_pLogArea->Open(GetItemPath(pItem));
}

void CMainWindow::SelectFile(QTreeWidgetItem* pFolder, const QString& strName)
{
    if (QTreeWidgetItem* file = m_pStoragePanel->FindFile(pFolder, strName)) {
        m_pUi->m_pStorageTree->setCurrentItem(file);
        OnStorageItemActivated(file);
    }
}

// ---------------------------------------------------------------------------
// Log download

void CMainWindow::OnDownloadButton()
{
    QTreeWidgetItem* folder = nullptr;
    const QString newest = m_pLogDownload->Run(CClientSession::Device(), folder);
    if (newest.isEmpty())
        return;
    // The newest bank goes into the log area.
    SelectFile(folder, newest);
    m_pUi->m_pStatusBar->showMessage(tr("The log has been downloaded and parsed"), StatusBar::MESSAGE_MS);
}
