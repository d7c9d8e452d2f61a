#pragma once

#include "files/NOTE.h"

#include <QList>
#include <QObject>
#include <QPointer>

class CLiveFeed;
class CQDiagramWidget;
class CReplayController;
class CTimeMarks;
class QAction;
class QMenu;
class QPushButton;
class QStatusBar;
class QWidget;

// Notes taken during a live sweep: Realtime > Add Note... (Ctrl+N) and the
// Note... button at the right of the status bar (the realtime buttons' row
// belongs to the device GUI's buttons after the built-in ones) ask for one at the present
// moment of the detector's clock. A note goes into the live recording, is
// marked on the realtime diagram and is kept for a save of the live buffer.
// A replay shows the notes of its file instead; notes are taken live only,
// so that a recording never changes after its session.
class CNoteActions : public QObject
{
    Q_OBJECT

public:
    // The session keeps at most this many; a hand never writes so many.
    static constexpr int MAX_NOTES = 10000;

    struct WIDGETS
    {
        QMenu* realtimeMenu = nullptr;
        CQDiagramWidget* realtimeDiagram = nullptr;
        QStatusBar* statusBar = nullptr;
    };

    CNoteActions(QWidget* window, const WIDGETS& widgets, CLiveFeed* feed, CReplayController* replay);

    // A note of the live session; why not, for the user, when it is refused.
    QString Add(const NOTE& note);
    const QList<NOTE>& Notes() const { return m_notes; }
    // The live data was cleared: its notes go from the view (a recording
    // keeps them).
    void Clear();
    QAction* Action() const { return m_pAction; }
    CTimeMarks* Marks() const { return m_pMarks; }

private:
    void OnNoteAction();
    void OnReplayNotes(const QList<NOTE>& notes);
    void ShowLiveMarks();

    QWidget* m_pWindow;
    WIDGETS m_widgets;
    QPointer<CLiveFeed> m_pFeed;
    CReplayController* m_pReplay;
    QAction* m_pAction;
    QPushButton* m_pButton;
    CTimeMarks* m_pMarks;
    QList<NOTE> m_notes;
};
