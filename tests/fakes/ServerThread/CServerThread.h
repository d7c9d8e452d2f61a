#pragma once

#include "app/SERVER_SETTINGS.h"

#include <QSemaphore>
#include <QThread>

class IDevice;

// The server in a thread of its own with its own event loop, as in the
// program, so that blocking clients on the caller's thread can use it.
class CServerThread : public QThread
{
public:
    CServerThread(const SERVER_SETTINGS& settings, IDevice* device);
    // Listening on `address` alone, otherwise as by default.
    CServerThread(const QString& address, IDevice* device);
    // Stops the server's loop and waits for it.
    ~CServerThread() override;

    // Starts the thread; whether the server listens.
    bool Started();

protected:
    void run() override;

private:
    SERVER_SETTINGS m_settings;
    IDevice* m_pDevice;
    QSemaphore m_ready;
    bool m_bStarted = false;
};
