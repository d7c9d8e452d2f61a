#include "CStorageTree.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QTreeWidget>

CStorageTree::CStorageTree(QTreeWidget* tree)
    : m_pTree(tree)
    , m_driveIcon(tree->style()->standardIcon(QStyle::SP_DriveHDIcon))
    , m_folderIcon(tree->style()->standardIcon(QStyle::SP_DirClosedIcon))
    , m_openFolderIcon(tree->style()->standardIcon(QStyle::SP_DirOpenIcon))
    , m_logIcon(QStringLiteral(":/CMainWindow/Resources/file_log.ico"))
    , m_realtimeIcon(QStringLiteral(":/CMainWindow/Resources/file_realtime.ico"))
{
}

QTreeWidgetItem* CStorageTree::Rebuild(const QString& label, const QString& path) const
{
    m_pTree->clear();
    auto* root = new QTreeWidgetItem(m_pTree, { label });
    root->setData(0, Qt::UserRole, int(KindFolder));
    root->setIcon(0, m_driveIcon);
    Fill(root, path);
    return root;
}

QTreeWidgetItem* CStorageTree::AddItem(QTreeWidgetItem* parent, int kind, const QString& text) const
{
    auto* item = new QTreeWidgetItem(parent, { text });
    item->setData(0, Qt::UserRole, kind);
    item->setIcon(0, kind == KindLog ? m_logIcon : kind == KindRealtime ? m_realtimeIcon : m_folderIcon);
    return item;
}

void CStorageTree::Fill(QTreeWidgetItem* item, const QString& path) const
{
    qDeleteAll(item->takeChildren());
    QStringList branch{ QFileInfo(path).canonicalFilePath() };
    FillFrom(item, path, branch);
}

void CStorageTree::FillFrom(QTreeWidgetItem* item, const QString& path, QStringList& branch) const
{
    // By name, as the file systems the storage was first kept on list it.
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot,
        QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir()) {
            QTreeWidgetItem* folder = AddItem(item, KindFolder, name);
            const QString real =
                entry.isSymLink() ? entry.canonicalFilePath() : branch.last() + QLatin1Char('/') + name;
            // A link back into its own branch would never end.
            if (branch.contains(real))
                continue;
            branch.append(real);
            FillFrom(folder, entry.filePath(), branch);
            branch.removeLast();
        } else if (name.endsWith(QLatin1String(".ldf"))) {
            AddItem(item, KindLog, entry.completeBaseName());
        } else if (name.endsWith(QLatin1String(".rdf"))) {
            AddItem(item, KindRealtime, entry.completeBaseName());
        }
    }
}

void CStorageTree::ShowExpanded(QTreeWidgetItem* item) const
{
    if (item && KindOf(item) == KindFolder)
        item->setIcon(0, item->isExpanded() ? m_openFolderIcon : m_folderIcon);
}

QTreeWidgetItem* CStorageTree::TargetFolder() const
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    if (!item)
        item = m_pTree->topLevelItem(0);
    if (IsFile(item))
        item = item->parent();
    return item;
}

int CStorageTree::KindOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toInt() : int(KindFolder);
}

bool CStorageTree::IsFile(const QTreeWidgetItem* item)
{
    const int kind = KindOf(item);
    return kind == KindLog || kind == KindRealtime;
}

QString CStorageTree::Extension(int kind)
{
    return kind == KindLog ? QStringLiteral("ldf") : QStringLiteral("rdf");
}

QString CStorageTree::PathOf(const QTreeWidgetItem* item, const QString& rootPath)
{
    if (!item || !item->parent())
        return rootPath;
    QString path = PathOf(item->parent(), rootPath) + QLatin1Char('/') + item->text(0);
    if (IsFile(item))
        path += QLatin1Char('.') + Extension(KindOf(item));
    return path;
}

bool CStorageTree::IsPlainName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    // The colon and control characters too: the same storage is read on
    // systems whose file names cannot hold them.
    for (QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20)
            return false;
    }
    return true;
}

bool CStorageTree::RemoveFolder(const QString& path)
{
    // QDir("") is the working folder.
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).isSymLink())
        return QFile::remove(path);
    return QDir(path).removeRecursively();
}
