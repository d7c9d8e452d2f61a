#pragma once

#include "CCtlDevice.h"
#include "CTL_OPTIONS.h"
#include "watch/RZ450_LOOK.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

// One detector of `watch`, in a thread of its own: the proxy blocks the
// thread that made it while it asks, so a silent server holds up its own
// detector's looks and no other's. It opens the detector, looks at it
// every LOOK_MS and tries to open it again after REOPEN_MS while it
// cannot; every look, offline ones too, goes out as looked().
class CCtlWatchWorker : public QObject
{
    Q_OBJECT

public:
    static constexpr int LOOK_MS = 500;
    static constexpr int REOPEN_MS = 5000;

    CCtlWatchWorker(int index, const CTL_OPTIONS& options);
    ~CCtlWatchWorker() override;

    // In the worker's thread: the first look, then one every LOOK_MS.
    void Start();
    // In the worker's thread: lets go of the detector.
    void Stop();

Q_SIGNALS:
    void looked(int index, const RZ450_LOOK& look);

private:
    void OnTimerTimeout();
    bool Opened(RZ450_LOOK& look);

    int m_nIndex;
    CTL_OPTIONS m_options;
    std::unique_ptr<CCtlDevice> m_pDevice;
    QTimer* m_pTimer = nullptr;
    QElapsedTimer m_sinceOpen; // of the last attempt to open
};
