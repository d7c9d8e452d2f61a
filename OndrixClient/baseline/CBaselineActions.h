#pragma once

#include "CRecord.h"
#include "baseline/CBaseline.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class CBandFlagMarks;
class CBaselineComparator;
class CCaptureBaselineDialog;
class CLiveFeed;
class CLogArea;
class CLogBaselineFlags;
class CQDiagramWidget;
class CReplayController;
class QAction;
class QMenu;
class QStatusBar;
class QWidget;

// Site baselines in the main window. Realtime > Capture Baseline... sums up
// the live records of a few minutes into a site's baseline
// (CCaptureBaselineDialog); Compare with Baseline... compares what the
// realtime diagram shows, live or replayed, with a site's newest baseline
// and marks the bands over it there (CBandFlagMarks), until Stop
// Comparing. While a comparison is on, a file opened in the log area is
// compared as well (CLogBaselineFlags). The realtime diagram starting over
// (a replay, a seek, a clear, a new mode) starts the comparison over: its
// marks are of what the diagram shows.
class CBaselineActions : public QObject
{
    Q_OBJECT

public:
    // The marks follow the comparison at most this often: a feed of
    // thousands of records a second costs one drawing of them.
    static constexpr int REFRESH_MS = 500;

    struct WIDGETS
    {
        QMenu* realtimeMenu = nullptr;
        CQDiagramWidget* realtimeDiagram = nullptr;
        QStatusBar* statusBar = nullptr;
    };

    CBaselineActions(QWidget* window, const WIDGETS& widgets, CLiveFeed* feed, CReplayController* replay,
        CLogArea* logArea);
    ~CBaselineActions() override;

    void StartComparing(const CBaseline& baseline, double marginDb);
    void StopComparing();
    bool IsComparing() const { return m_pComparator != nullptr; }
    const CBaselineComparator* Comparator() const { return m_pComparator.get(); }
    // A record as the realtime diagram draws it, and the diagram starting over.
    void Compare(const CRecord& record);
    void ResetComparison();
    void RefreshMarks();
    // A file the log area opened.
    void CompareFile(const QString& path, const QList<CRecord>& records, int kind, bool listed);

    // The capture dialog, shown without blocking; made at the first call.
    CCaptureBaselineDialog* ShowCapture();
    CBandFlagMarks* Marks() const { return m_pMarks; }
    CLogBaselineFlags* LogFlags() const { return m_pLogFlags.get(); }
    QAction* CaptureAction() const { return m_pCaptureAction; }
    QAction* CompareAction() const { return m_pCompareAction; }
    QAction* StopAction() const { return m_pStopAction; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Retranslate();
    void OnCompareAction();
    void OnLiveRecord(const CRecord& record);
    void OnCaptured(const QString& path, const QString& site);
    void Say(const QString& text) const;
    static QString DeviceId();

    QWidget* m_pWindow;
    WIDGETS m_widgets;
    CLogArea* m_pLogArea;
    QAction* m_pCaptureAction;
    QAction* m_pCompareAction;
    QAction* m_pStopAction;
    CBandFlagMarks* m_pMarks;
    std::unique_ptr<CLogBaselineFlags> m_pLogFlags;
    QPointer<CCaptureBaselineDialog> m_pCapture;
    std::unique_ptr<CBaselineComparator> m_pComparator;
    QTimer m_refresh;
};
