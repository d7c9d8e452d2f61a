#pragma once

#include "GuiKitExport.h"
#include "RZ450_LOOK.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class CMetaDevice;
class QTimer;

// One detector of a watcher of many, in a thread of its own: the proxy
// blocks the thread that made it while it asks, so a silent server holds
// up its own detector's looks and no other's. It opens the detector, looks
// at it every LOOK_MS and tries to open it again after REOPEN_MS while it
// cannot; every look, offline ones too, goes out as looked(). The band
// names are asked for on the first look and again every NAMES_MS, and
// ride on every look.
class GUIKIT_EXPORT CLookWorker : public QObject
{
    Q_OBJECT

public:
    static constexpr int LOOK_MS = 500;
    static constexpr int REOPEN_MS = 5000;
    static constexpr int NAMES_MS = 60000;

    // Opens the detector in the worker's thread; null with the reason in
    // error when it cannot, and it may throw what the proxy throws. The
    // pointer may share the ownership of more than the proxy.
    using Opener = std::function<std::shared_ptr<CMetaDevice>(QString& error)>;
    // One look; it must not throw.
    using Looker = std::function<RZ450_LOOK(CMetaDevice* device, bool withNames)>;

    CLookWorker(int index, Opener opener, Looker looker);
    ~CLookWorker() override;

    // In the worker's thread: the first look, then one every LOOK_MS.
    void Start();
    // In the worker's thread: lets go of the detector.
    void Stop();

Q_SIGNALS:
    void looked(int index, const RZ450_LOOK& look);

private:
    void OnTimerTimeout();
    bool Opened(RZ450_LOOK& look);
    void TakeNames(RZ450_LOOK& look);

    int m_nIndex;
    Opener m_opener;
    Looker m_looker;
    std::shared_ptr<CMetaDevice> m_pDevice;
    QTimer* m_pTimer = nullptr;
    QElapsedTimer m_sinceOpen;  // of the last attempt to open
    QElapsedTimer m_sinceNames; // of the last names that came
    QStringList m_names;
};
