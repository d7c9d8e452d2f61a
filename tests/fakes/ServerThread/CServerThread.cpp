#include "CServerThread.h"

#include "app/CServerCore.h"

namespace {

SERVER_SETTINGS ListeningOn(const QString& address)
{
    SERVER_SETTINGS settings;
    settings.listen = { QHostAddress(address) };
    return settings;
}

} // namespace

CServerThread::CServerThread(const SERVER_SETTINGS& settings, IDevice* device)
    : m_settings(settings)
    , m_pDevice(device)
{
}

CServerThread::CServerThread(const QString& address, IDevice* device)
    : CServerThread(ListeningOn(address), device)
{
}

CServerThread::~CServerThread()
{
    quit();
    wait();
}

bool CServerThread::Started()
{
    start();
    m_ready.acquire();
    return m_bStarted;
}

void CServerThread::run()
{
    CServerCore core(m_settings, { m_pDevice });
    QString error;
    m_bStarted = core.Start(error);
    m_ready.release();
    if (m_bStarted)
        exec();
}
