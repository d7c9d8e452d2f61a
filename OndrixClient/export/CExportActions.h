#pragma once

#include "CRecord.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class CLogArea;
class CStoragePanel;
class QAction;
class QMenu;
class QStatusBar;
class QTreeWidget;
class QWidget;

// The main window's CSV exports (CCsvExport does the work): the Storage
// menu, which is also the storage tree's context menu, exports the current
// data file, or every data file of the current folder, and the events the
// List page shows; the Log menu has the event list too; the Realtime menu
// exports the live session. The target is asked for with a file dialog.
class CExportActions : public QObject
{
    Q_OBJECT

public:
    // Takes the place of the file dialog: gets the suggested path, gives
    // the target, or an empty path to cancel.
    using Chooser = std::function<QString(const QString& suggested)>;

    // The window's widgets the exports are offered in and tell about.
    struct WIDGETS
    {
        // The storage exports go after this menu's Replay.
        QMenu* storageMenu = nullptr;
        QAction* storageReplayAction = nullptr;
        QMenu* logMenu = nullptr;
        QMenu* realtimeMenu = nullptr;
        QTreeWidget* storageTree = nullptr;
        QStatusBar* statusBar = nullptr;
    };

    CExportActions(QWidget* window, const WIDGETS& widgets, CStoragePanel* storage, CLogArea* logArea);

    void SetChooser(Chooser chooser) { m_chooser = std::move(chooser); }

    void ExportStorageItem();
    void ExportEventList();
    void ExportLiveSession();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Retranslate();
    void UpdateEnabled();
    QString Choose(const QString& name);
    void Report(bool done, bool written, const QString& target, const QString& error);
    QString DeviceType() const;

    QWidget* m_pWindow;
    WIDGETS m_widgets;
    CStoragePanel* m_pStorage;
    CLogArea* m_pLogArea;
    QAction* m_pStorageAction;
    QAction* m_pEventsAction;
    QAction* m_pRealtimeAction;
    Chooser m_chooser;
};
