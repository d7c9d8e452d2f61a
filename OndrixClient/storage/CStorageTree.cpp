#include "storage/CStorageTree.h"

#include "files/CRecordingTrailer.h"
#include "live/CLiveRecorder.h"
#include "live/CRecordingRetention.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>
#include <climits>

CStorageTree::CStorageTree(QTreeWidget* tree)
    : m_pTree(tree)
    , m_driveIcon(tree->style()->standardIcon(QStyle::SP_DriveHDIcon))
    , m_folderIcon(tree->style()->standardIcon(QStyle::SP_DirClosedIcon))
    , m_openFolderIcon(tree->style()->standardIcon(QStyle::SP_DirOpenIcon))
    , m_logIcon(QStringLiteral(":/CMainWindow/Resources/file_log.ico"))
    , m_realtimeIcon(QStringLiteral(":/CMainWindow/Resources/file_realtime.ico"))
    , m_recordingIcon(tree->style()->standardIcon(QStyle::SP_MediaPlay))
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
    const QIcon& icon = kind == KindLog ? m_logIcon
        : kind == KindRealtime          ? m_realtimeIcon
        : kind == KindRecording         ? m_recordingIcon
                                        : m_folderIcon;
    item->setIcon(0, icon);
    return item;
}

void CStorageTree::Fill(QTreeWidgetItem* item, const QString& path) const
{
    qDeleteAll(item->takeChildren());
    const bool recordings
        = item->parent() && !item->parent()->parent() && item->text(0) == QLatin1String(RecordingSettings::FOLDER);
    if (recordings) {
        FillRecordings(item, path);
        return;
    }
    QStringList branch { QFileInfo(path).canonicalFilePath() };
    FillFrom(item, path, branch);
}

void CStorageTree::FillFrom(QTreeWidgetItem* item, const QString& path, QStringList& branch) const
{
    // By name, as the file systems the storage was first kept on list it.
    const QFileInfoList entries
        = QDir(path).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir()) {
            QTreeWidgetItem* folder = AddItem(item, KindFolder, name);
            const QString real
                = entry.isSymLink() ? entry.canonicalFilePath() : branch.last() + QLatin1Char('/') + name;
            // A link back into its own branch would never end.
            if (branch.contains(real))
                continue;
            branch.append(real);
            if (branch.size() == 2 && name == QLatin1String(RecordingSettings::FOLDER))
                FillRecordings(folder, entry.filePath());
            else
                FillFrom(folder, entry.filePath(), branch);
            branch.removeLast();
        } else if (name.endsWith(QLatin1String(".ldf"))) {
            AddItem(item, KindLog, entry.completeBaseName());
        } else if (name.endsWith(QLatin1String(".rdf"))) {
            AddItem(item, KindRealtime, entry.completeBaseName());
        }
    }
}

void CStorageTree::FillRecordings(QTreeWidgetItem* item, const QString& path) const
{
    QStringList recordings = CRecordingRetention::List(path);
    std::reverse(recordings.begin(), recordings.end());
    for (const QString& recording : std::as_const(recordings)) {
        QTreeWidgetItem* child = AddItem(item, KindRecording, Label(recording));
        child->setData(0, PathRole, recording);
        child->setToolTip(0, QFileInfo(recording).fileName());
    }
}

QString CStorageTree::Label(const QString& path)
{
    CRecordingCodec::SUMMARY summary;
    const QString name = QFileInfo(path).completeBaseName();
    if (CRecordingTrailer::Version(path) < CRecordingCodec::VERSION)
        return tr("%1 (older format)").arg(name);
    if (!CRecordingTrailer::Read(path, summary))
        return tr("%1 (being recorded or not yet closed)").arg(name);
    if (summary.records == 0)
        return tr("%1 (no records)").arg(name);
    const QDateTime first = QDateTime::fromSecsSinceEpoch(qint64(summary.first));
    const QDateTime last = QDateTime::fromSecsSinceEpoch(qint64(summary.last));
    const QString end = last.toString(
        first.date() == last.date() ? QStringLiteral("hh:mm:ss") : QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    QString label = tr("%1 \u2013 %2, %n record(s)", nullptr, int(std::min<qint64>(summary.records, INT_MAX)))
                        .arg(first.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")), end);
    if (summary.damagedPlaces > 0 || summary.gaps > 0)
        label += tr(" (gaps or damage)");
    return label;
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
    return kind == KindLog || kind == KindRealtime || kind == KindRecording;
}

QString CStorageTree::Extension(int kind)
{
    return kind == KindLog ? QStringLiteral("ldf") : QStringLiteral("rdf");
}

QString CStorageTree::PathOf(const QTreeWidgetItem* item, const QString& rootPath)
{
    if (!item || !item->parent())
        return rootPath;
    if (KindOf(item) == KindRecording)
        return item->data(0, PathRole).toString();
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
