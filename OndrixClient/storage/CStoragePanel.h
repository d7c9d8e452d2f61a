#pragma once

#include "live/CRecordingCloser.h"
#include "storage/CStorageTree.h"

#include <QObject>
#include <QString>

class QMenu;
class QPoint;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The storage panel of the main window: the folder tree of recordings and
// logs on disk, the storage folder it shows, and the user's folder and file
// operations on it. Files are loaded by the window, which owns the views.
class CStoragePanel : public QObject
{
    Q_OBJECT

public:
    CStoragePanel(QTreeWidget* tree, QStatusBar* statusBar, QWidget* window);

    // The default folder for this device and the folder last used.
    void Init(const QString& deviceId);
    void SavePath() const;
    QString DefaultStorage() const;
    QString StoragePath() const;

    void Fill();
    void FillFolder(QTreeWidgetItem* item, const QString& path);
    QString PathOf(QTreeWidgetItem* item) const;
    // The data files of the selected items, a folder standing for every file
    // under it: in the tree's order, each once.
    QStringList SelectedFiles() const;
    QStringList FilesUnder(QTreeWidgetItem* item) const;
    QTreeWidgetItem* TargetFolder() const;
    // The folder's file item of that name, or null.
    QTreeWidgetItem* FindFile(QTreeWidgetItem* folder, const QString& name) const;

    void Browse();
    void NewFolder();
    void Rename();
    void Delete();
    void DeleteAll();
    void ShowContextMenu(QMenu* menu, const QPoint& pt);
    void ShowExpanded(QTreeWidgetItem* item);
    // The recordings folder listed anew: one was started or closed.
    void RefreshRecordings();
    // Closes, on a thread, what a crash left open, and says so when done.
    void CloseInterrupted();
    bool IsClosing() const { return m_closer.IsRunning(); }

private:
    void AddFiles(QTreeWidgetItem* item, QStringList& paths) const;
    void OnCloserFinished();
    void Say(const QString& text, bool brief);
    void Warn(const QString& text);
    bool Ask(const QString& question);

    QTreeWidget* m_pTree;
    QStatusBar* m_pStatusBar;
    QWidget* m_pWindow;
    CStorageTree m_tree;
    QString m_strDefaultStorage;
    QString m_strStoragePath;
    CRecordingCloser m_closer;
};
