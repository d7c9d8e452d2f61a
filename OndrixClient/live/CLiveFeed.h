#pragma once

#include "CRecord.h"
#include "live/CLiveRecorder.h"
#include "live/CLiveTimeline.h"
#include "proxy/CRecordCursor.h"

#include <QObject>

class CMetaDevice;
class CQDiagramWidget;

// Hands the device's new live records to the device GUI, which draws them
// into the realtime diagram, and to the session's recording. It reads the
// device's ring through a cursor, so that nothing is skipped where the ring
// wraps, and each tick takes a bounded share of what is new: the window
// stays responsive while the feed catches up. The diagram is prepared anew
// only when the mode changes.
class CLiveFeed : public QObject
{
    Q_OBJECT

public:
    // About 10 ms of drawing: a feed far behind catches up over several ticks.
    static constexpr int MAX_RECORDS_PER_TICK = 4000;

    explicit CLiveFeed(CQDiagramWidget* diagram, QObject* parent = nullptr);
    // Closes the recording: a clean end keeps it.
    ~CLiveFeed() override;

    // One tick while the device is online.
    void Poll(CMetaDevice* device);
    // A device taken over: nothing of it has been seen yet; the session
    // before it is kept.
    void Restart();
    // Empties the diagram and the device's live buffer, and ends the session
    // (its recording is kept); the next record starts the next one.
    void ClearCollected(CMetaDevice* device);
    // Lines anew for the device's current mode.
    void Prepare();
    // Only the time kinds scroll with new records.
    void SetAutoScroll(bool on);
    qint64 FedRecords() const;
    // The records from now on also go to a recording in this storage folder,
    // unless the user turned recording off; empty stops recording.
    void SetRecordingFolder(const QString& storage);
    // Ends the session; its recording is kept.
    void EndRecording();
    QString RecordingPath() const;
    // The session's recordings, everything recorded so far on the disk.
    QStringList SessionRecordings();
    // The detector's clock now, in ms since 1970, as its last record tells
    // (the PC's before any): notes are taken on the records' clock.
    quint64 DetectorNowMs() const;
    // Seconds the live view draws ahead of the detector's clock.
    quint64 ViewShift() const { return m_timeline.Shift(); }
    // Records missed since the last record fed (a server gone away, a ring
    // overrun): marked in the recording and said in the status bar.
    void MarkGap(qint64 missed, quint8 reason);
    // A replay has the diagram and the spectrum window meanwhile: the
    // records still go to the recording, and the diagram gets them back
    // from the device at release.
    void SetViewsHeld(bool held);
    bool ViewsHeld() const { return m_bViewsHeld; }
    CLiveRecorder* Recorder() { return &m_recorder; }
    // Tests wrap a ring smaller than the detector's.
    void SetRingSize(int size) { m_cursor = CRecordCursor(size); }
    // The server's connection came back: if its records started anew
    // meanwhile, what it sent in between is lost, and marked so.
    void OnReconnected();

Q_SIGNALS:
    void message(const QString& text);
    // A note for the status bar that is no failure.
    void notice(const QString& text);
    // Each new live record as the detector gave it, a replay showing or not.
    void recordFed(const CRecord& record);
    // A record drawn into the live view, with the time the view draws it at.
    void recordShown(const CRecord& record);
    // The live view starts over: what it showed is gone from it.
    void viewReset();

private:
    void Feed(CMetaDevice* device, int count, int mode);
    bool Redraw(CMetaDevice* device, int mode);
    void Show(CRecord record, int mode);
    void SampleSpectrum();
    void Place(CRecord& record);
    void Record(CMetaDevice* device, const CRecord& record);
    void OnRecorderStopped(const QString& message);

    CQDiagramWidget* m_pDiagram;
    int m_nDiagramMode = -1; // mode the diagram was last prepared for while records were present
    int m_nLastMode = -1;    // mode seen at the last record change
    qint64 m_nFedRecords = 0;
    CRecordCursor m_cursor;
    CLiveTimeline m_timeline;
    quint64 m_nLastOwnTime = 0; // the last record's time, and the PC's then (ms)
    qint64 m_nLastSeenMs = 0;
    CLiveRecorder m_recorder;
    QString m_strRecordingFolder;
    quint64 m_nLastTime = 0; // of the last record fed
    bool m_bViewsHeld = false;
    bool m_bRedraw = false;      // the diagram waits for the records it missed
    int m_nRedrawn = 0;          // of them, drawn so far
    bool m_bReconnected = false; // until records flow again
};
