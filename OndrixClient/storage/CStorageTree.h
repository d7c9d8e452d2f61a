#pragma once

#include <QCoreApplication>
#include <QIcon>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

// The items of the storage tree and the disk paths behind them. Each item
// keeps its kind in column 0 under Qt::UserRole; the root and the folders
// mirror the disk as it was at the last fill, files show their name without
// the extension.
class CStorageTree
{
    Q_DECLARE_TR_FUNCTIONS(CStorageTree)

public:
    enum Kind { KindLog = 0, KindRealtime = 1, KindFolder = 2, KindRecording = 3 };
    // A recording item's file; its text is what it holds, not its name.
    static constexpr int PathRole = Qt::UserRole + 1;

    explicit CStorageTree(QTreeWidget* tree);

    // Clears the tree and fills it anew under a root item with this label.
    QTreeWidgetItem* Rebuild(const QString& label, const QString& path) const;
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, int kind, const QString& text) const;
    // Replaces the item's children with the folders and data files found
    // under path, and theirs in turn.
    void Fill(QTreeWidgetItem* item, const QString& path) const;
    void ShowExpanded(QTreeWidgetItem* item) const;
    // The tree's current item, or the root when none is current; for a file,
    // the folder that holds it.
    QTreeWidgetItem* TargetFolder() const;

    static int KindOf(const QTreeWidgetItem* item);
    static bool IsFile(const QTreeWidgetItem* item);
    static QString Extension(int kind);
    // The root stands for rootPath whatever its label.
    static QString PathOf(const QTreeWidgetItem* item, const QString& rootPath);
    // A name that stays inside its folder.
    static bool IsPlainName(const QString& name);
    // A folder with all it holds. A link to a folder goes alone: what it
    // points to is not part of the storage.
    static bool RemoveFolder(const QString& path);

private:
    void FillFrom(QTreeWidgetItem* item, const QString& path, QStringList& branch) const;
    // The recordings folder lists what each recording holds, newest first.
    void FillRecordings(QTreeWidgetItem* item, const QString& path) const;
    static QString Label(const QString& path);

    QTreeWidget* m_pTree;
    QIcon m_driveIcon;
    QIcon m_folderIcon;
    QIcon m_openFolderIcon;
    QIcon m_logIcon;
    QIcon m_realtimeIcon;
    QIcon m_recordingIcon;
};
