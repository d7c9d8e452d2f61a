#pragma once

#include "CLiveRecorder.h"
#include "CLiveTimeline.h"
#include "CRecord.h"

#include <QObject>

class CMetaDevice;
class CQDiagramWidget;

// Hands the device's new live records to the device GUI, which draws them
// into the realtime diagram. It remembers how far it got and which mode the
// diagram was prepared for, so that each tick fetches only what is new and
// prepares the diagram again only when the mode changes.
class CLiveFeed : public QObject
{
    Q_OBJECT

public:
    explicit CLiveFeed(CQDiagramWidget* diagram, QObject* parent = nullptr);
    // A feed that ends without a crash needs no recording left behind.
    ~CLiveFeed() override;

    // One tick while the device is online.
    void Poll(CMetaDevice* device);
    // A device taken over: nothing of it has been seen yet.
    void Restart();
    // Empties the diagram and the device's live buffer.
    void ClearCollected(CMetaDevice* device);
    // Lines anew for the device's current mode.
    void Prepare();
    // Only the time kinds scroll with new records.
    void SetAutoScroll(bool on);
    qint64 FedRecords() const;
    // The records from now on also go to a recording in this folder, unless
    // the user turned recording off; empty stops recording.
    void SetRecordingFolder(const QString& folder);
    void EndRecording();
    QString RecordingPath() const;
    // A replay has the diagram and the spectrum window meanwhile: the
    // records still go to the recording, and the diagram gets them back
    // from the device at release.
    void SetViewsHeld(bool held);
    bool ViewsHeld() const { return m_bViewsHeld; }

Q_SIGNALS:
    void message(const QString& text);

private:
    void Feed(CMetaDevice* device, int count);
    // Hands records [first, count) to take, in batches, until the device
    // gives none.
    template <class Take>
    void ForEachRecord(CMetaDevice* device, int first, int count, Take take);
    void Redraw(CMetaDevice* device);
    void Show(CRecord& record);
    void SampleSpectrum();
    void Place(CRecord& record);
    void Record(CMetaDevice* device, const CRecord& record);
    void OnRecorderStopped(const QString& message);

    CQDiagramWidget* m_pDiagram;
    int m_nDiagramMode = -1;     // mode the diagram was last prepared for while records were present
    int m_nLastRecordIndex = -1; // live record count already handed over
    int m_nLastMode = -1;        // mode seen at the last record change
    qint64 m_nFedRecords = 0;
    CLiveTimeline m_timeline;
    CLiveRecorder m_recorder;
    QString m_strRecordingFolder;
    quint64 m_nLastTime = 0; // of the last record fed
    bool m_bViewsHeld = false;
    bool m_bRedraw = false; // the diagram waits for the records it missed
};
