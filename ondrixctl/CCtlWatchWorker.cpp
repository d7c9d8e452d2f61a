#include "CCtlWatchWorker.h"

#include "proxy/CMetaDevice.h"
#include "watch/CRZ450Looker.h"

#include <exception>

CCtlWatchWorker::CCtlWatchWorker(int index, const CTL_OPTIONS& options)
    : m_nIndex(index)
    , m_options(options)
{
}

CCtlWatchWorker::~CCtlWatchWorker() = default;

void CCtlWatchWorker::Start()
{
    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(LOOK_MS);
    connect(m_pTimer, &QTimer::timeout, this, &CCtlWatchWorker::OnTimerTimeout);
    m_pTimer->start();
    OnTimerTimeout();
}

void CCtlWatchWorker::Stop()
{
    if (m_pTimer)
        m_pTimer->stop();
    m_pDevice.reset();
}

void CCtlWatchWorker::OnTimerTimeout()
{
    RZ450_LOOK look;
    if (Opened(look))
        look = CRZ450Looker::Look(m_pDevice->Get());
    Q_EMIT looked(m_nIndex, look);
}

bool CCtlWatchWorker::Opened(RZ450_LOOK& look)
{
    if (m_pDevice)
        return true;
    if (m_sinceOpen.isValid() && m_sinceOpen.elapsed() < REOPEN_MS) {
        look.error = tr("cannot be reached");
        return false;
    }
    m_sinceOpen.start();
    auto device = std::make_unique<CCtlDevice>();
    try {
        if (!device->Open(m_options, look.error))
            return false;
    } catch (const std::exception& exception) {
        look.error = QString::fromLocal8Bit(exception.what());
        return false;
    }
    // Followed, the proxy answers the state from one exchange, waits no
    // longer than a tick for a silent server and wins a lost link back.
    device->Get()->FollowLive(true);
    m_pDevice = std::move(device);
    return true;
}
