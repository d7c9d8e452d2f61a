#include "replay/CReplayView.h"

#include "IRZ450DeviceGui.h"
#include "app/CClientSession.h"
#include "app/CGuardedCall.h"
#include "diagram/CQDiagramWidget.h"

#include <QDateTime>

CReplayView::CReplayView(CQDiagramWidget* diagram, int mode)
    : m_pDiagram(diagram)
    , m_nMode(mode)
{
}

void CReplayView::Reset()
{
    m_timeline.Reset();
    m_nLastTime = 0;
    IDeviceGui* gui = CClientSession::DeviceGui();
    if (!gui)
        return;
    CGuardedCall::Run([this, gui] {
        // Every band line is shown, as the live view shows them.
        gui->InitRealtimeDiagram(m_pDiagram, true, m_nMode);
        if (auto* rz = dynamic_cast<IRZ450DeviceGui*>(gui))
            rz->ClearSweeps();
    });
}

CRecord CReplayView::Show(CRecord record)
{
    // A record the diagram cannot take is left out; the replay goes on.
    CGuardedCall::Run([this, &record] {
        Place(record);
        if (IDeviceGui* gui = CClientSession::DeviceGui())
            gui->AddRealtimeRecord(m_pDiagram, record, m_nMode);
    });
    return record;
}

void CReplayView::Place(CRecord& record)
{
    // A record without a time (only a data file saved from the device's
    // own buffer has one) stays beside the one before it.
    const quint64 now = m_nLastTime ? m_nLastTime : quint64(std::max<qint64>(0, QDateTime::currentSecsSinceEpoch()));
    m_timeline.Place(m_pDiagram, record.time, now);
    m_nLastTime = record.time;
}

void CReplayView::ShowSweep(const SPECTRUM_SWEEP& sweep)
{
    if (auto* rz = dynamic_cast<IRZ450DeviceGui*>(CClientSession::DeviceGui()))
        CGuardedCall::Run([rz, &sweep] { rz->ShowSweep(sweep); });
}

void CReplayView::OpenSpectrumWindow()
{
    if (auto* rz = dynamic_cast<IRZ450DeviceGui*>(CClientSession::DeviceGui()))
        CGuardedCall::Run([rz] { rz->OpenSpectrumWindow(); });
}

void CReplayView::Repaint()
{
    m_pDiagram->update();
}

quint64 CReplayView::ShownSeconds() const
{
    return m_pDiagram->VisibleSeconds();
}
