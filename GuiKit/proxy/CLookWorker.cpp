#include "proxy/CLookWorker.h"

#include "proxy/CMetaDevice.h"

#include <QTimer>

#include <exception>

CLookWorker::CLookWorker(int index, Opener opener, Looker looker)
    : m_nIndex(index)
    , m_opener(std::move(opener))
    , m_looker(std::move(looker))
{
}

CLookWorker::~CLookWorker() = default;

void CLookWorker::Start()
{
    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(LOOK_MS);
    connect(m_pTimer, &QTimer::timeout, this, &CLookWorker::OnTimerTimeout);
    m_pTimer->start();
    OnTimerTimeout();
}

void CLookWorker::Stop()
{
    if (m_pTimer)
        m_pTimer->stop();
    m_pDevice.reset();
}

void CLookWorker::OnTimerTimeout()
{
    RZ450_LOOK look;
    if (Opened(look)) {
        const bool withNames = m_names.isEmpty() || m_sinceNames.elapsed() >= NAMES_MS;
        look = m_looker(m_pDevice.get(), withNames);
        TakeNames(look);
    }
    look.bandNames = m_names;
    Q_EMIT looked(m_nIndex, look);
}

void CLookWorker::TakeNames(RZ450_LOOK& look)
{
    if (!look.online || look.bandNames.isEmpty())
        return;
    m_names = look.bandNames;
    m_sinceNames.start();
}

bool CLookWorker::Opened(RZ450_LOOK& look)
{
    if (m_pDevice)
        return true;
    if (m_sinceOpen.isValid() && m_sinceOpen.elapsed() < REOPEN_MS) {
        look.error = tr("cannot be reached");
        return false;
    }
    m_sinceOpen.start();
    std::shared_ptr<CMetaDevice> device;
    try {
        device = m_opener(look.error);
    } catch (const std::exception& exception) {
        look.error = QString::fromLocal8Bit(exception.what());
    }
    if (!device)
        return false;
    // Followed, the proxy answers the state from one exchange, waits no
    // longer than a tick for a silent server and wins a lost link back.
    device->FollowLive(true);
    m_pDevice = std::move(device);
    return true;
}
