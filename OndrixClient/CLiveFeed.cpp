#include "CLiveFeed.h"

#include "CClientSession.h"
#include "CDiagramMenu.h"
#include "CGuardedCall.h"
#include "CMetaDevice.h"
#include "CQDiagramWidget.h"
#include "ClientLog.h"
#include "IRZ450DeviceGui.h"

#include <QDateTime>
#include <QSettings>

#include <algorithm>

CLiveFeed::CLiveFeed(CQDiagramWidget* diagram, QObject* parent)
    : QObject(parent)
    , m_pDiagram(diagram)
{
    connect(&m_recorder, &CLiveRecorder::stopped, this, &CLiveFeed::OnRecorderStopped);
    CDiagramMenu::Attach(diagram);
}

CLiveFeed::~CLiveFeed()
{
    EndRecording();
}

void CLiveFeed::Poll(CMetaDevice* device)
{
    const int mode = device->GetCurrentMode();
    const int count = device->GetCurrentRecordIndex();
    if (mode <= 0 || (count == m_nLastRecordIndex && !m_bRedraw))
        return;
    if (mode != m_nLastMode) {
        Prepare();
        m_nLastMode = mode;
    }
    if (count == 0) {
        m_nLastRecordIndex = 0;
        return;
    }
    if (m_nDiagramMode != mode) {
        Prepare();
        m_nDiagramMode = mode;
    }
    Feed(device, count);
}

void CLiveFeed::Feed(CMetaDevice* device, int count)
{
    // A count below the last one means the device started its records
    // anew (cleared, a new mode, or its ring wrapped) while no tick saw it
    // at 0: they are all new.
    if (count < m_nLastRecordIndex) {
        qCDebug(lcClient) << "the device's records started anew:" << count << "after" << m_nLastRecordIndex;
        m_nLastRecordIndex = 0;
    }
    if (m_bRedraw)
        Redraw(device);
    m_nLastRecordIndex = std::max(0, m_nLastRecordIndex);
    const int before = m_nLastRecordIndex;
    // Advanced record by record: after a failure the next tick goes on from
    // here instead of adding the earlier ones twice.
    ForEachRecord(device, m_nLastRecordIndex, count, [this, device](CRecord& record) {
        Show(record);
        Record(device, record);
        m_nLastTime = record.time;
        ++m_nLastRecordIndex;
        ++m_nFedRecords;
    });
    if (m_nLastRecordIndex > before)
        SampleSpectrum();
}

template <class Take>
void CLiveFeed::ForEachRecord(CMetaDevice* device, int first, int count, Take take)
{
    // From a server the records come in batches, one exchange each.
    while (first < count) {
        QList<CRecord> records = device->GetRecords(first, count - first);
        if (records.isEmpty())
            break;
        for (CRecord& record : records) {
            take(record);
            ++first;
        }
    }
}

void CLiveFeed::Redraw(CMetaDevice* device)
{
    m_bRedraw = false;
    Prepare();
    ForEachRecord(device, 0, std::max(0, m_nLastRecordIndex), [this](CRecord& record) { Show(record); });
    m_pDiagram->update();
}

void CLiveFeed::Show(CRecord& record)
{
    if (m_bViewsHeld)
        return;
    Place(record);
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->AddRealtimeRecord(m_pDiagram, record, -1);
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
}

void CLiveFeed::Place(CRecord& record)
{
    const quint64 now = quint64(std::max<qint64>(0, QDateTime::currentSecsSinceEpoch()));
    if (m_timeline.Place(m_pDiagram, record.time, now) != CLiveTimeline::StepBack)
        return;
    const QString at = QDateTime::fromSecsSinceEpoch(qint64(record.time)).toString(QStringLiteral("dd.MM hh:mm:ss"));
    qCDebug(lcClient) << "the detector's clock went back: the live view starts again at" << at;
    Q_EMIT message(tr("The detector's clock went back: the live view starts again at %1").arg(at));
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

void CLiveFeed::SetRecordingFolder(const QString& folder)
{
    const bool enabled = QSettings().value(QLatin1String(CLiveRecorder::ENABLED_KEY), true).toBool();
    const QString wanted = enabled ? folder : QString();
    // The same choice again leaves a running recording alone.
    if (wanted == m_strRecordingFolder && !wanted.isEmpty())
        return;
    EndRecording();
    m_strRecordingFolder = wanted;
}

void CLiveFeed::EndRecording()
{
    m_recorder.Discard();
}

QString CLiveFeed::RecordingPath() const
{
    return m_recorder.IsRecording() ? m_recorder.Path() : QString();
}

void CLiveFeed::Restart()
{
    m_recorder.Discard();
    if (!m_bViewsHeld)
        m_pDiagram->Clear(true);
    m_timeline.Reset();
    m_nDiagramMode = -1;
    m_nLastRecordIndex = -1;
    m_nLastMode = -1;
}

void CLiveFeed::ClearCollected(CMetaDevice* device)
{
    // What was cleared is not kept for a crash either.
    m_recorder.Discard();
    if (!m_bViewsHeld)
        m_pDiagram->Clear(true);
    m_timeline.Reset();
    if (device)
        device->Clear();
    // What the device collects from now on starts at 0 again.
    m_nLastRecordIndex = 0;
    m_pDiagram->update();
}

void CLiveFeed::Prepare()
{
    m_timeline.Reset();
    if (m_bViewsHeld) {
        m_bRedraw = true;
        return;
    }
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->InitRealtimeDiagram(m_pDiagram, true, -1);
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
