#pragma once

#include "RZ450_LOOK.h"
#include "overview/OVERVIEW_DETECTOR.h"
#include "proxy/CLookWorker.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QObject>

class QThread;

// Looks at every detector of the overview, each in a thread of its own: a
// server that hangs holds up its own looks only, and the window never
// waits for one. This computer's detector is looked at in the window's
// thread instead, through the main window's own proxy: its driver belongs
// there, serves one user at a time (a server started from the window must
// be able to take it), and asking it costs no wait.
// A detector that goes is let go of without waiting for it either: its
// thread ends by itself once its last call returns.
class COverviewWatch : public QObject
{
    Q_OBJECT

public:
    // At the end of the program a hung server gets this long, all together.
    static constexpr int END_WAIT_MS = 2000;

    COverviewWatch(CLookWorker::Looker looker, QObject* parent = nullptr);
    ~COverviewWatch() override;

    // The main window's proxy of this computer's detector, not owned; none
    // while the window works with a server's.
    void SetLocalDevice(CMetaDevice* device) { m_pLocalDevice = device; }
    // The watch threads of every watch not yet ended, those let go of too.
    static int RunningThreads();
    // Starts over with these, row by row.
    void SetDetectors(const QList<OVERVIEW_DETECTOR>& detectors);

Q_SIGNALS:
    void looked(int row, const RZ450_LOOK& look);

private:
    struct WORKER
    {
        int row = 0;
        CLookWorker* worker = nullptr;
        QThread* thread = nullptr; // null: the window's thread
    };

    CLookWorker::Opener Opener(const OVERVIEW_DETECTOR& detector) const;
    static std::shared_ptr<CMetaDevice> OpenServer(const QString& address, QString& error);
    static QString Refused(const CMetaDevice& device);
    void OnLooked(int id, const RZ450_LOOK& look);
    void Retire(const WORKER& worker);

    CLookWorker::Looker m_looker;
    CMetaDevice* m_pLocalDevice = nullptr;
    QHash<int, WORKER> m_workers; // by id: a look of a worker already let go finds none
    int m_nNextId = 0;
};
