#include "CLiveFeed.h"

#include "CClientSession.h"
#include "CGuardedCall.h"
#include "CMetaDevice.h"
#include "CQDiagramWidget.h"
#include "ClientLog.h"
#include "IDeviceGui.h"

#include <QDateTime>
#include <QSettings>

#include <algorithm>

CLiveFeed::CLiveFeed(CQDiagramWidget* diagram, QObject* parent)
    : QObject(parent)
    , m_pDiagram(diagram)
{
    connect(&m_recorder, &CLiveRecorder::stopped, this, &CLiveFeed::OnRecorderStopped);
}

CLiveFeed::~CLiveFeed()
{
    EndRecording();
}

void CLiveFeed::Poll(CMetaDevice* device)
{
    const int mode = device->GetCurrentMode();
    const int count = device->GetCurrentRecordIndex();
    if (mode <= 0 || count == m_nLastRecordIndex)
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
    IDeviceGui* gui = CClientSession::DeviceGui();
    // From a server the new records come in batches, one exchange each.
    for (int first = std::max(0, m_nLastRecordIndex); first < count;) {
        QList<CRecord> records = device->GetRecords(first, count - first);
        if (records.isEmpty())
            break;
        for (CRecord& record : records) {
            Place(record);
            if (gui)
                gui->AddRealtimeRecord(m_pDiagram, record, -1);
            Record(device, record);
            // Advanced record by record: after a failure the next tick goes
            // on from here instead of adding the earlier ones twice.
            m_nLastRecordIndex = ++first;
            ++m_nFedRecords;
        }
    }
}

void CLiveFeed::Place(CRecord& record)
{
    const quint64 now = quint64(std::max<qint64>(0, QDateTime::currentSecsSinceEpoch()));
    const CLiveTimeline::Step step = m_timeline.Take(record.time, now);
    if (step == CLiveTimeline::Append)
        return;
    if (step == CLiveTimeline::StepBack) {
        m_pDiagram->Clear(true);
        const QString at = QDateTime::fromSecsSinceEpoch(qint64(record.time)).toString(QStringLiteral("dd.MM hh:mm:ss"));
        qCDebug(lcClient) << "the detector's clock went back: the live view starts again at" << at;
        Q_EMIT message(tr("The detector's clock went back: the live view starts again at %1").arg(at));
    }
    const QVariant start = QVariant::fromValue<quint64>(record.time);
    const QVariant end = QVariant::fromValue<quint64>(record.time + CQDiagramWidget::TIME_WINDOW_SECONDS);
    m_pDiagram->SetMaxXRange(start, end, 1.0, true);
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
    EndRecording();
    const bool enabled = QSettings().value(QStringLiteral("Recording/Enabled"), true).toBool();
    m_strRecordingFolder = enabled ? folder : QString();
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
