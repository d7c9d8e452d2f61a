#include "notes/CNoteActions.h"

#include "diagram/CQDiagramWidget.h"
#include "diagram/CTimeMarks.h"
#include "files/CNoteCodec.h"
#include "live/CLiveFeed.h"
#include "notes/CNoteDialog.h"
#include "replay/CReplayController.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

namespace {

const int STATUS_MS = 5000;

} // namespace

CNoteActions::CNoteActions(QWidget* window, const WIDGETS& widgets, CLiveFeed* feed, CReplayController* replay)
    : QObject(window)
    , m_pWindow(window)
    , m_widgets(widgets)
    , m_pFeed(feed)
    , m_pReplay(replay)
    , m_pAction(new QAction(tr("Add Note..."), this))
    , m_pButton(new QPushButton(tr("Note..."), widgets.statusBar))
    , m_pMarks(new CTimeMarks(widgets.realtimeDiagram))
{
    m_pAction->setObjectName(QStringLiteral("m_pRealtimeNoteAction"));
    m_pAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_pAction->setShortcutContext(Qt::WindowShortcut);
    m_pButton->setObjectName(QStringLiteral("m_pRealtimeNoteButton"));
    m_pButton->setToolTip(tr("Write down where you are at this moment (Ctrl+N)"));
    m_pMarks->setObjectName(QStringLiteral("m_pRealtimeNoteMarks"));
    window->addAction(m_pAction);
    if (widgets.realtimeMenu)
        widgets.realtimeMenu->addAction(m_pAction);
    widgets.statusBar->addPermanentWidget(m_pButton, 0);
    connect(m_pAction, &QAction::triggered, this, &CNoteActions::OnNoteAction);
    connect(m_pButton, &QPushButton::clicked, this, &CNoteActions::OnNoteAction);
    if (replay)
        connect(replay, &CReplayController::notesChanged, this, &CNoteActions::OnReplayNotes);
}

QString CNoteActions::Add(const NOTE& note)
{
    QString refusal = CNoteCodec::Refusal(note.text);
    if (refusal.isEmpty() && m_notes.size() >= MAX_NOTES)
        refusal = tr("The session holds %1 notes, as many as it keeps.").arg(MAX_NOTES);
    if (!refusal.isEmpty())
        return refusal;
    m_notes.append(note);
    if (m_pFeed)
        m_pFeed->Recorder()->AppendNote(note);
    if (!m_pReplay || !m_pReplay->IsReplaying())
        ShowLiveMarks();
    return QString();
}

void CNoteActions::Clear()
{
    m_notes.clear();
    if (!m_pReplay || !m_pReplay->IsReplaying())
        ShowLiveMarks();
}

void CNoteActions::OnNoteAction()
{
    if (m_pReplay && m_pReplay->IsReplaying()) {
        m_widgets.statusBar
            ->showMessage(tr("A replay shows the notes of its file; notes are taken during a live session."),
                STATUS_MS);
        return;
    }
    CNoteDialog dialog(m_pFeed ? m_pFeed->DetectorNowMs() : quint64(QDateTime::currentMSecsSinceEpoch()), m_pWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString refusal = Add(dialog.Note());
    m_widgets.statusBar->showMessage(refusal.isEmpty() ? tr("Note added") : refusal, STATUS_MS);
}

void CNoteActions::OnReplayNotes(const QList<NOTE>& notes)
{
    if (m_pReplay && !m_pReplay->IsReplaying()) {
        ShowLiveMarks();
        return;
    }
    QList<CTimeMarks::MARK> marks;
    for (const NOTE& note : notes)
        marks.append({ note.Seconds(), note.text });
    m_pMarks->SetMarks(marks);
}

void CNoteActions::ShowLiveMarks()
{
    // Drawn where the live view draws the records of that moment.
    const quint64 shift = m_pFeed ? m_pFeed->ViewShift() : 0;
    QList<CTimeMarks::MARK> marks;
    for (const NOTE& note : std::as_const(m_notes))
        marks.append({ note.Seconds() + shift, note.text });
    m_pMarks->SetMarks(marks);
}
