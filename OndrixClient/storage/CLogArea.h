#pragma once

#include "CRecord.h"
#include "notes/CLogNotes.h"

#include <QList>
#include <QObject>
#include <QString>

class CQDiagramWidget;
class IDeviceGui;
class QLabel;
class QLineEdit;
class QStatusBar;
class QTabWidget;
class QTreeWidget;
class QWidget;

// The log area of the main window: a data file from the storage shown as a
// diagram and, for a log, as the list of its events with their count. A
// realtime file has no list: its page is taken out while it shows.
class CLogArea : public QObject
{
    Q_OBJECT

public:
    // The window's widgets the log area shows its file in.
    struct WIDGETS
    {
        QStatusBar* statusBar = nullptr;
        CQDiagramWidget* diagram = nullptr;
        // The Diagram page, then the List page.
        QTabWidget* pages = nullptr;
        QTreeWidget* list = nullptr;
        QLabel* countLabel = nullptr;
        QLineEdit* countEdit = nullptr;
    };

    CLogArea(const WIDGETS& widgets, QWidget* window);

    // Loads and shows a file, with the user told how it went.
    void Open(const QString& path);

    // Records and kind (0 realtime, 1 automatic realtime, 2 log) of a file
    // for the current device; false, with the user told why where it helps,
    // when it cannot be used.
    bool Load(const QString& path, QList<CRecord>& records, int& kind);
    void Show(const QList<CRecord>& records, int kind);
    void ShowListPage(bool show);

    // A file's records drawn by the device GUI over their time range, as
    // the log area shows them; allBands shows the lines of every band.
    static void Draw(CQDiagramWidget* diagram, IDeviceGui* gui, const QList<CRecord>& records, int kind, bool allBands);
    // The events the List page shows, and the name of their log file (empty
    // for records shown without a file); false when it shows none.
    bool ListedEvents(QList<CRecord>& records, QString& name) const;
    const WIDGETS& Widgets() const { return m_widgets; }

Q_SIGNALS:
    // A file shown, its notes too; listed: the list holds its records' rows.
    void opened(const QString& path, const QList<CRecord>& records, int kind, bool listed);

private:
    void DrawRecords(const QList<CRecord>& records, int kind);
    void ShowLogList(const QList<CRecord>& records);
    void HideLogList();

    WIDGETS m_widgets;
    QWidget* m_pWindow;
    // The "List" page while a realtime file shows; owned by the tab widget.
    QWidget* m_pListTabWidget = nullptr;
    bool m_bListed = false;
    QList<CRecord> m_listed;
    QString m_strListedName;
    CLogNotes m_notes;
};
