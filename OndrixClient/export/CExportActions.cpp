#include "export/CExportActions.h"
#include "app/ClientSettingsKeys.h"
#include "mainwindow/StatusBar.h"

#include "app/CClientSession.h"
#include "app/CGuardedCall.h"
#include "export/CCsvExport.h"
#include "proxy/CMetaDevice.h"
#include "storage/CLogArea.h"
#include "storage/CStoragePanel.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

QAction* NewAction(QWidget* window, const char* name)
{
    auto* action = new QAction(window);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

CExportActions::CExportActions(QWidget* window, const WIDGETS& widgets, CStoragePanel* storage, CLogArea* logArea)
    : QObject(window)
    , m_pWindow(window)
    , m_widgets(widgets)
    , m_pStorage(storage)
    , m_pLogArea(logArea)
    , m_pStorageAction(NewAction(window, "m_pStorageCsvAction"))
    , m_pEventsAction(NewAction(window, "m_pEventsCsvAction"))
    , m_pRealtimeAction(NewAction(window, "m_pRealtimeCsvAction"))
{
    // Beside Replay in the Storage menu, before its last group.
    const QList<QAction*> actions = widgets.storageMenu->actions();
    const qsizetype replay = actions.indexOf(widgets.storageReplayAction);
    QAction* before = replay >= 0 && replay + 1 < actions.size() ? actions[replay + 1] : nullptr;
    widgets.storageMenu->insertAction(before, m_pStorageAction);
    widgets.storageMenu->insertAction(before, m_pEventsAction);
    widgets.logMenu->addAction(m_pEventsAction);
    widgets.realtimeMenu->addAction(m_pRealtimeAction);
    connect(m_pStorageAction, &QAction::triggered, this, &CExportActions::ExportStorageItem);
    connect(m_pEventsAction, &QAction::triggered, this, &CExportActions::ExportEventList);
    connect(m_pRealtimeAction, &QAction::triggered, this, &CExportActions::ExportLiveSession);
    connect(widgets.storageMenu, &QMenu::aboutToShow, this, &CExportActions::UpdateEnabled);
    connect(widgets.logMenu, &QMenu::aboutToShow, this, &CExportActions::UpdateEnabled);
    window->installEventFilter(this);
    Retranslate();
}

bool CExportActions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pWindow && event->type() == QEvent::LanguageChange)
        Retranslate();
    return QObject::eventFilter(watched, event);
}

void CExportActions::Retranslate()
{
    m_pStorageAction->setText(tr("Export to CSV..."));
    m_pStorageAction->setStatusTip(
        tr("Export the selected data file, or the data files of the selected folder, to CSV"));
    m_pEventsAction->setText(tr("Export Event List to CSV..."));
    m_pEventsAction->setStatusTip(tr("Export the events of the List page to CSV"));
    m_pRealtimeAction->setText(tr("Export to CSV..."));
    m_pRealtimeAction->setStatusTip(tr("Export the data collected live to CSV"));
}

void CExportActions::UpdateEnabled()
{
    QList<CRecord> records;
    QString name;
    m_pEventsAction->setEnabled(m_pLogArea->ListedEvents(records, name));
}

void CExportActions::ExportStorageItem()
{
    QTreeWidget* tree = m_widgets.storageTree;
    QList<QTreeWidgetItem*> selected = tree->selectedItems();
    QStringList files = m_pStorage->SelectedFiles();
    // Nothing chosen: the current folder or file, else the whole storage.
    if (selected.isEmpty() && (tree->currentItem() || tree->topLevelItem(0))) {
        selected.append(tree->currentItem() ? tree->currentItem() : tree->topLevelItem(0));
        files = m_pStorage->FilesUnder(selected.first());
    }
    if (files.isEmpty()) {
        QMessageBox::information(m_pWindow, QCoreApplication::applicationName(),
            tr("There are no data files in this folder."));
        return;
    }
    // One chosen item names the table after itself.
    QString name = QStringLiteral("export");
    if (selected.size() == 1) {
        const QFileInfo chosen(m_pStorage->PathOf(selected.first()));
        name = CStorageTree::IsFile(selected.first()) ? chosen.completeBaseName() : chosen.fileName();
    }
    const QString target = Choose(name);
    if (target.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    bool written = false;
    const bool done = CCsvExport::WriteFiles(files, DeviceType(), target, error, &written);
    QApplication::restoreOverrideCursor();
    Report(done, written, target, error);
}

void CExportActions::ExportEventList()
{
    QList<CRecord> records;
    QString name;
    if (!m_pLogArea->ListedEvents(records, name)) {
        QMessageBox::information(m_pWindow, QCoreApplication::applicationName(), tr("No event list is shown."));
        return;
    }
    const QString target = Choose(name.isEmpty() ? QStringLiteral("events") : QFileInfo(name).completeBaseName());
    if (target.isEmpty())
        return;
    QString error;
    const bool done = CCsvExport::WriteRecords(records, name, target, error);
    Report(done, done, target, error);
}

void CExportActions::ExportLiveSession()
{
    CMetaDevice* device = CClientSession::Device();
    QList<CRecord> records;
    QString error;
    if (device && !CGuardedCall::Run([&] { records = device->GetRealtimeRecords(); }, &error)) {
        Report(false, false, QString(), error);
        return;
    }
    if (records.isEmpty()) {
        QMessageBox::information(m_pWindow, QCoreApplication::applicationName(), tr("There's no data to export!"));
        return;
    }
    const QString target
        = Choose(QStringLiteral("live_") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_hhmmss")));
    if (target.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = CCsvExport::WriteRecords(records, QString(), target, error);
    QApplication::restoreOverrideCursor();
    Report(done, done, target, error);
}

QString CExportActions::Choose(const QString& name)
{
    QString folder = QSettings().value(QLatin1String(ClientSettingsKeys::CSV_FOLDER)).toString();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(folder).filePath(name + QStringLiteral(".csv"));
    QString target;
    if (m_chooser) {
        target = m_chooser(suggested);
    } else {
        QFileDialog dialog(m_pWindow, tr("Export to CSV"), suggested,
            tr("CSV files (*.csv)") + QStringLiteral(";;") + tr("All files (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.selectFile(suggested);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            target = dialog.selectedFiles().first();
    }
    if (!target.isEmpty())
        QSettings().setValue(QLatin1String(ClientSettingsKeys::CSV_FOLDER), QFileInfo(target).absolutePath());
    return target;
}

void CExportActions::Report(bool done, bool written, const QString& target, const QString& error)
{
    if (written)
        m_widgets.statusBar->showMessage(tr("Exported to %1").arg(QDir::toNativeSeparators(target)),
            StatusBar::MESSAGE_MS);
    if (done)
        return;
    // File names and device names come from the disk: never taken as markup.
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), error, QMessageBox::Ok, m_pWindow);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString CExportActions::DeviceType() const
{
    CMetaDevice* device = CClientSession::Device();
    return device ? CGuardedCall::Value([device] { return device->GetDevID(); }, QString()) : QString();
}
