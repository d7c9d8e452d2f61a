#include "live/CLiveFeed.h"

#include "IRZ450DeviceGui.h"
#include "app/CClientSession.h"
#include "app/CGuardedCall.h"
#include "app/ClientLog.h"
#include "diagram/CQDiagramWidget.h"
#include "export/CDiagramMenu.h"
#include "proxy/CMetaDevice.h"

#include <QDateTime>

#include <algorithm>

CLiveFeed::CLiveFeed(CQDiagramWidget* diagram, QObject* parent)
    : QObject(parent)
    , m_pDiagram(diagram)
{
    connect(&m_recorder, &CLiveRecorder::stopped, this, &CLiveFeed::OnRecorderStopped);
    connect(&m_recorder, &CLiveRecorder::notice, this, &CLiveFeed::notice);
    CDiagramMenu::Attach(diagram);
}

CLiveFeed::~CLiveFeed()
{
    // The window around it is going: nobody is left to tell.
    m_recorder.blockSignals(true);
    EndRecording();
}

void CLiveFeed::Poll(CMetaDevice* device)
{
    const int mode = device->GetCurrentMode();
    const int count = device->GetCurrentRecordIndex();
    if (mode <= 0 || (count == m_cursor.Next() && !m_cursor.CatchingUp() && !m_bRedraw))
        return;
    if (mode != m_nLastMode) {
        // A new mode starts the device's ring over, and a new session.
        if (m_nLastMode > 0)
            m_recorder.Close();
        m_cursor.Restart();
        Prepare();
        m_nLastMode = mode;
    }
    if (count == 0 && !m_cursor.CatchingUp())
        return;
    if (m_nDiagramMode != mode) {
        Prepare();
        m_nDiagramMode = mode;
    }
    Feed(device, count, mode);
}

void CLiveFeed::Feed(CMetaDevice* device, int count, int mode)
{
    // The diagram catches up first, a tick's share at a time: the records
    // meanwhile wait in the device's ring, in order.
    if (m_bRedraw && !Redraw(device, mode))
        return;
    const CRecordCursor::TAKEN taken = m_cursor.Take(device, count, MAX_RECORDS_PER_TICK);
    if (taken.gap || (taken.restarted && m_bReconnected))
        MarkGap(taken.gap ? taken.missed : -1,
            m_bReconnected ? CRecordingCodec::ConnectionLost : CRecordingCodec::RingOverrun);
    m_bReconnected = m_bReconnected && taken.records.isEmpty();
    device->ExpectRecordsFrom(m_cursor.ReadFirst());
    for (const CRecord& record : taken.records) {
        // Recorded with the detector's own time, before the view places it.
        Record(device, record);
        Q_EMIT recordFed(record);
        Show(record, mode);
        m_nLastTime = record.time;
        ++m_nFedRecords;
    }
    if (!taken.records.isEmpty())
        SampleSpectrum();
}

void CLiveFeed::MarkGap(qint64 missed, quint8 reason)
{
    CRecordingCodec::GAP gap;
    gap.from = m_nLastTime;
    gap.to = quint64(std::max<qint64>(0, QDateTime::currentSecsSinceEpoch()));
    gap.missed = missed;
    gap.reason = reason;
    m_recorder.MarkGap(gap);
    const QString when = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM hh:mm:ss"));
    qCWarning(lcClient) << "live records missed:" << missed << "reason" << reason;
    Q_EMIT message(missed > 0
            ? tr("%n live record(s) were missed before %1; the gap is marked in the recording.", nullptr,
                int(std::min<qint64>(missed, INT_MAX)))
                  .arg(when)
            : tr("Live records were missed before %1; the gap is marked in the recording.").arg(when));
}

void CLiveFeed::OnReconnected()
{
    m_bReconnected = true;
}

bool CLiveFeed::Redraw(CMetaDevice* device, int mode)
{
    if (m_nRedrawn == 0)
        Prepare();
    const int end = m_cursor.Next();
    const int stop = std::min(end, m_nRedrawn + MAX_RECORDS_PER_TICK);
    // From a server the records come in batches, one exchange each.
    while (m_nRedrawn < stop) {
        const QList<CRecord> records = device->GetRecords(m_nRedrawn, stop - m_nRedrawn);
        if (records.isEmpty())
            break;
        for (const CRecord& record : records)
            Show(record, mode);
        m_nRedrawn += int(records.size());
    }
    m_pDiagram->update();
    if (m_nRedrawn == stop && stop < end)
        return false;
    m_bRedraw = false;
    m_nRedrawn = 0;
    return true;
}

void CLiveFeed::Show(CRecord record, int mode)
{
    if (m_bViewsHeld)
        return;
    Place(record);
    // The tick's mode: a device GUI that asked the device for it would make
    // a round trip to a server for every record.
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->AddRealtimeRecord(m_pDiagram, record, mode);
    Q_EMIT recordShown(record);
}

void CLiveFeed::SampleSpectrum()
{
    auto* gui = dynamic_cast<IRZ450DeviceGui*>(CClientSession::DeviceGui());
    SPECTRUM_SWEEP sweep;
    if (gui && gui->SampleSpectrum(m_nLastTime, sweep, !m_bViewsHeld))
        m_recorder.AppendSweep(sweep);
}

void CLiveFeed::SetViewsHeld(bool held)
{
    if (held == m_bViewsHeld)
        return;
    m_bViewsHeld = held;
    if (held)
        return;
    // The replay's picture goes at once; the next tick draws what the
    // device holds before it goes on.
    Prepare();
    m_pDiagram->update();
    m_bRedraw = true;
    m_nRedrawn = 0;
}

void CLiveFeed::Place(CRecord& record)
{
    const quint64 now = quint64(std::max<qint64>(0, QDateTime::currentSecsSinceEpoch()));
    const quint64 shift = m_timeline.Shift();
    const quint64 own = record.time;
    m_nLastOwnTime = own;
    m_nLastSeenMs = QDateTime::currentMSecsSinceEpoch();
    if (m_timeline.Place(m_pDiagram, record.time, now) != CLiveTimeline::StepBack)
        return;
    const quint64 back = m_timeline.Shift() - shift;
    const QString at = QDateTime::fromSecsSinceEpoch(qint64(own)).toString(QStringLiteral("dd.MM hh:mm:ss"));
    qCDebug(lcClient) << "the detector's clock went back" << back << "s to" << at;
    Q_EMIT message(tr("The detector's clock went back %1 s to %2: the live view goes on, %3 s ahead of the "
                      "detector's clock; the recording keeps the detector's times.")
                       .arg(back)
                       .arg(at)
                       .arg(m_timeline.Shift()));
}

quint64 CLiveFeed::DetectorNowMs() const
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_nLastOwnTime == 0)
        return quint64(std::max<qint64>(0, now));
    return m_nLastOwnTime * 1000 + quint64(std::max<qint64>(0, now - m_nLastSeenMs));
}

void CLiveFeed::Record(CMetaDevice* device, const CRecord& record)
{
    if (m_strRecordingFolder.isEmpty())
        return;
    if (!m_recorder.IsRecording()) {
        QString error;
        if (!m_recorder.Start(m_strRecordingFolder, device->GetDevID(), error)) {
            m_strRecordingFolder.clear();
            Q_EMIT message(error);
            return;
        }
    }
    m_recorder.Append(record);
}

void CLiveFeed::OnRecorderStopped(const QString& text)
{
    m_strRecordingFolder.clear();
    Q_EMIT message(text);
}

void CLiveFeed::SetRecordingFolder(const QString& storage)
{
    const RecordingSettings::LIMITS limits = CLiveRecorder::Limits();
    m_recorder.SetLimits(limits);
    const QString wanted = limits.enabled ? storage : QString();
    // The same choice again leaves a running recording alone.
    if (wanted == m_strRecordingFolder && !wanted.isEmpty())
        return;
    EndRecording();
    m_strRecordingFolder = wanted;
}

void CLiveFeed::EndRecording()
{
    m_recorder.Close();
}

QString CLiveFeed::RecordingPath() const
{
    return m_recorder.Path();
}

QStringList CLiveFeed::SessionRecordings()
{
    m_recorder.Drain();
    return m_recorder.Session();
}

void CLiveFeed::Restart()
{
    m_recorder.Close();
    if (!m_bViewsHeld) {
        m_pDiagram->Clear(true);
        Q_EMIT viewReset();
    }
    m_timeline.Reset();
    m_cursor.Restart();
    m_nDiagramMode = -1;
    m_nLastMode = -1;
}

void CLiveFeed::ClearCollected(CMetaDevice* device)
{
    m_recorder.Close();
    if (!m_bViewsHeld) {
        m_pDiagram->Clear(true);
        Q_EMIT viewReset();
    }
    m_timeline.Reset();
    if (device)
        device->Clear();
    // What the device collects from now on starts at 0 again.
    m_cursor.Restart();
    m_pDiagram->update();
}

void CLiveFeed::Prepare()
{
    m_timeline.Reset();
    if (m_bViewsHeld) {
        m_bRedraw = true;
        m_nRedrawn = 0;
        return;
    }
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->InitRealtimeDiagram(m_pDiagram, true, -1);
    Q_EMIT viewReset();
}

void CLiveFeed::SetAutoScroll(bool on)
{
    // A diagram without areas has nothing to scroll.
    CGuardedCall::Run([this, on] {
        const DiagramType type = m_pDiagram->GetDiagramType(0);
        if (type == DIAGRAM_TIME_LINES || type == DIAGRAM_TIME_RECTS)
            m_pDiagram->EnableAutoscroll(on);
    });
}

qint64 CLiveFeed::FedRecords() const
{
    return m_nFedRecords;
}
