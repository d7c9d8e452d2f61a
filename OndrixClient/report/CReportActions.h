#pragma once

#include "report/REPORT_INPUT.h"

#include <QObject>
#include <QStringList>

class CNoteActions;
class CQDiagramWidget;
class CStoragePanel;
class QAction;
class QMainWindow;
class QStatusBar;
class QTreeWidgetItem;

// File > Report... of the main window: a sweep report of the files chosen
// in the storage tree (a chosen folder stands for every data file in it),
// or of the live session when none is chosen, with the diagrams that show
// it (the realtime diagram, the spectrum window with its waterfall when it
// has sweeps). The report dialog edits the title block; the PDF is opened
// in the desktop's viewer afterwards when the user asks.
class CReportActions : public QObject
{
    Q_OBJECT

public:
    // The window's widgets the report starts from and tells about.
    struct WIDGETS
    {
        QAction* reportAction = nullptr;
        // Pictured in a report of the live session.
        CQDiagramWidget* realtimeDiagram = nullptr;
        QStatusBar* statusBar = nullptr;
    };

    CReportActions(QMainWindow* window, const WIDGETS& widgets, CStoragePanel* storage);

    // The input for the chosen files or the live session; false, with the
    // user told why, when there is nothing to report or it cannot be read.
    bool Build(REPORT_INPUT& input);
    // Asks, writes and opens; the path written, or empty.
    QString Run();
    // The live session's notes, for a report of the live session.
    void SetLiveNotes(const CNoteActions* notes) { m_pNotes = notes; }

private:
    void AddLiveDiagrams(REPORT_INPUT& input) const;
    // The comparison with the baseline the options name, if any.
    bool AddBaseline(REPORT_INPUT& input) const;
    void Warn(const QString& text) const;

    QMainWindow* m_pWindow;
    WIDGETS m_widgets;
    CStoragePanel* m_pStorage;
    const CNoteActions* m_pNotes = nullptr;
    QStringList m_files; // of the report being made; none for the live session
};
