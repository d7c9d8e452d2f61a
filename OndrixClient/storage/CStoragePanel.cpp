#include "storage/CStoragePanel.h"

#include "app/ClientSettingsKeys.h"
#include "mainwindow/StatusBar.h"

#include "app/ClientLog.h"
#include "files/CNotesFile.h"
#include "live/CLiveRecorder.h"
#include "sites/CSiteFolder.h"
#include "storage/CStorageLocation.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

namespace {

// How soon a refresh put off by an open dialog is tried again.
const int REFRESH_RETRY_MS = 500;

} // namespace

CStoragePanel::CStoragePanel(QTreeWidget* tree, QStatusBar* statusBar, QWidget* window)
    : QObject(window)
    , m_pTree(tree)
    , m_pStatusBar(statusBar)
    , m_pWindow(window)
    , m_tree(tree)
{
    connect(&m_closer, &CRecordingCloser::finished, this, &CStoragePanel::OnCloserFinished);
}

void CStoragePanel::Init(const QString& deviceId)
{
    m_strDefaultStorage = CStorageLocation::Default(deviceId);
    QDir().mkpath(m_strDefaultStorage);
    m_strStoragePath = QSettings().value(ClientSettingsKeys::STORAGE_PATH).toString();
    if (m_strStoragePath.isEmpty())
        m_strStoragePath = m_strDefaultStorage;
}

void CStoragePanel::SavePath() const
{
    QSettings().setValue(ClientSettingsKeys::STORAGE_PATH, m_strStoragePath);
}

QString CStoragePanel::DefaultStorage() const
{
    return m_strDefaultStorage;
}

QString CStoragePanel::StoragePath() const
{
    return m_strStoragePath;
}

void CStoragePanel::Fill()
{
    CSiteFolder::SetStorage(m_strStoragePath);
    const QString label = m_strStoragePath == m_strDefaultStorage ? tr("Default Storage") : m_strStoragePath;
    QTreeWidgetItem* root = m_tree.Rebuild(label, m_strStoragePath);
    // Opened by the program, the root keeps its drive icon until the user
    // opens or closes it.
    const QSignalBlocker blocker(m_pTree);
    root->setExpanded(true);
}

void CStoragePanel::FillFolder(QTreeWidgetItem* item, const QString& path)
{
    m_tree.Fill(item, path);
}

QString CStoragePanel::PathOf(QTreeWidgetItem* item) const
{
    return CStorageTree::PathOf(item, m_strStoragePath);
}

QTreeWidgetItem* CStoragePanel::TargetFolder() const
{
    return m_tree.TargetFolder();
}

QTreeWidgetItem* CStoragePanel::FindFile(QTreeWidgetItem* folder, const QString& name) const
{
    for (int i = 0; folder && i < folder->childCount(); ++i) {
        QTreeWidgetItem* child = folder->child(i);
        if (CStorageTree::IsFile(child) && child->text(0) == name)
            return child;
    }
    return nullptr;
}

void CStoragePanel::Browse()
{
    const QString folder = QFileDialog::getExistingDirectory(m_pWindow, tr("Select a storage folder"), m_strStoragePath,
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty())
        return;
    m_strStoragePath = folder;
    Fill();
    m_pTree->topLevelItem(0)->setText(0, folder);
    Say(tr("New storage has been loaded"), true);
}

void CStoragePanel::NewFolder()
{
    const QString name = QInputDialog::getText(m_pWindow, tr("Create a folder"), tr("Folder name:"));
    QTreeWidgetItem* target = TargetFolder();
    if (name.isEmpty() || !target)
        return;
    if (!CStorageTree::IsPlainName(name) || !QDir(PathOf(target)).mkdir(name)) {
        qCWarning(lcStorage) << "folder not created:" << name << "in" << PathOf(target);
        Warn(tr("Could not create the folder!"));
        return;
    }
    m_tree.AddItem(target, CStorageTree::KindFolder, name);
    target->setExpanded(true);
    Say(tr("A folder created"), true);
}

void CStoragePanel::Rename()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    // A recording's name is its start time: the oldest go first by it.
    if (!CStorageTree::IsFile(item) || CStorageTree::KindOf(item) == CStorageTree::KindRecording)
        return;
    const QString name
        = QInputDialog::getText(m_pWindow, tr("Rename a file"), tr("New file name:"), QLineEdit::Normal, item->text(0));
    if (name.isEmpty() || name == item->text(0))
        return;
    const QString extension = CStorageTree::Extension(CStorageTree::KindOf(item));
    const QString path = PathOf(item->parent()) + QLatin1Char('/') + name + QLatin1Char('.') + extension;
    // Renaming never replaces another file.
    const QString old = PathOf(item);
    if (!CStorageTree::IsPlainName(name) || !QFile::rename(old, path)) {
        qCWarning(lcStorage) << "not renamed:" << old << "to" << path;
        Warn(tr("Could not rename the file!"));
        return;
    }
    if (!CNotesFile::Move(old, path))
        qCWarning(lcStorage) << "the notes stayed under the old name:" << CNotesFile::PathFor(old);
    item->setText(0, name);
    Say(tr("A file renamed"), true);
}

void CStoragePanel::Delete()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    if (!item || !item->parent())
        return;
    const bool folder = !CStorageTree::IsFile(item);
    if (!Ask(folder ? tr("Do you really want to delete the folder and all its content?")
                    : tr("Do you really want to delete the file?")))
        return;
    const QString path = PathOf(item);
    // Held while its writer runs: deleting it would stop this session's
    // recording, or another client's.
    const bool recording = CStorageTree::KindOf(item) == CStorageTree::KindRecording;
    const std::unique_ptr<QLockFile> lock = recording ? CLiveRecorder::Claim(path) : nullptr;
    if (recording && !lock) {
        Warn(tr("The recording is being written. It can be deleted once its session has ended."));
        return;
    }
    if (folder ? !CStorageTree::RemoveFolder(path) : !QFile::remove(path)) {
        qCWarning(lcStorage) << "not deleted:" << path;
        // Part of a folder may be gone: the tree shows what is left.
        if (folder)
            FillFolder(item, path);
        Warn(folder ? tr("Could not delete the folder!") : tr("Could not delete the file!"));
        return;
    }
    if (!folder && !CNotesFile::Remove(path))
        qCWarning(lcStorage) << "the notes of a deleted file stayed:" << CNotesFile::PathFor(path);
    delete item;
    Say(folder ? tr("A folder has been deleted") : tr("A file has been deleted"), false);
}

void CStoragePanel::DeleteAll()
{
    if (!Ask(tr("Do you really want to delete all the items in the archive?")))
        return;
    // The files stay on disk and come back with the next fill.
    if (QTreeWidgetItem* root = m_pTree->topLevelItem(0))
        qDeleteAll(root->takeChildren());
    QDir().mkpath(m_strStoragePath);
}

void CStoragePanel::AddFiles(QTreeWidgetItem* item, QStringList& paths) const
{
    if (CStorageTree::IsFile(item)) {
        const QString path = PathOf(item);
        if (!paths.contains(path))
            paths.append(path);
        return;
    }
    for (int i = 0; i < item->childCount(); ++i)
        AddFiles(item->child(i), paths);
}

QStringList CStoragePanel::FilesUnder(QTreeWidgetItem* item) const
{
    QStringList paths;
    AddFiles(item, paths);
    return paths;
}

QStringList CStoragePanel::SelectedFiles() const
{
    QStringList paths;
    // Walked from the root so that the files come in the tree's order.
    QList<QTreeWidgetItem*> pending;
    for (int i = m_pTree->topLevelItemCount() - 1; i >= 0; --i)
        pending.append(m_pTree->topLevelItem(i));
    while (!pending.isEmpty()) {
        QTreeWidgetItem* item = pending.takeLast();
        if (item->isSelected()) {
            AddFiles(item, paths);
            continue;
        }
        for (int i = item->childCount() - 1; i >= 0; --i)
            pending.append(item->child(i));
    }
    return paths;
}

void CStoragePanel::ShowContextMenu(QMenu* menu, const QPoint& pt)
{
    if (m_pTree->itemAt(pt))
        menu->popup(m_pTree->viewport()->mapToGlobal(pt));
}

void CStoragePanel::ShowExpanded(QTreeWidgetItem* item)
{
    m_tree.ShowExpanded(item);
}

void CStoragePanel::Say(const QString& text, bool brief)
{
    m_pStatusBar->showMessage(text, brief ? StatusBar::MESSAGE_MS : 0);
}

void CStoragePanel::Warn(const QString& text)
{
    QMessageBox::warning(m_pWindow, QCoreApplication::applicationName(), text);
}

bool CStoragePanel::Ask(const QString& question)
{
    return QMessageBox::question(m_pWindow, QCoreApplication::applicationName(), question,
               QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void CStoragePanel::RefreshRecordings()
{
    // Items must not go from under an open dialog that works on one.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(REFRESH_RETRY_MS, this, &CStoragePanel::RefreshRecordings);
        return;
    }
    QTreeWidgetItem* root = m_pTree->topLevelItem(0);
    const QString path = CLiveRecorder::Folder(m_strStoragePath);
    if (!root || !QFileInfo(path).isDir())
        return;
    const QString name = QLatin1String(RecordingSettings::FOLDER);
    QTreeWidgetItem* folder = nullptr;
    for (int i = 0; i < root->childCount() && !folder; ++i) {
        QTreeWidgetItem* child = root->child(i);
        if (CStorageTree::KindOf(child) == CStorageTree::KindFolder && child->text(0) == name)
            folder = child;
    }
    // The first recording made the folder: it goes first, where the
    // newest data is looked for.
    if (!folder) {
        folder = m_tree.AddItem(nullptr, CStorageTree::KindFolder, name);
        root->insertChild(0, folder);
    }
    m_tree.Fill(folder, path);
}

void CStoragePanel::CloseInterrupted()
{
    m_closer.Start(m_strStoragePath);
}

void CStoragePanel::OnCloserFinished()
{
    if (!m_closer.Closed().isEmpty())
        RefreshRecordings();
    const QString note = CRecordingCloser::Note(m_closer.Closed());
    if (!note.isEmpty())
        Say(note, false);
}
