#include "overview/COverviewWatch.h"

#include "RZ450Queries.h"
#include "app/ClientLog.h"
#include "connect/CKnownServers.h"
#include "connect/CServerTrust.h"
#include "proxy/CMetaDevice.h"

#include <QDeadlineTimer>
#include <QThread>

#include <atomic>

namespace {

std::atomic<int> s_nRunning { 0 };

} // namespace

COverviewWatch::COverviewWatch(CLookWorker::Looker looker, QObject* parent)
    : QObject(parent)
    , m_looker(std::move(looker))
{
}

COverviewWatch::~COverviewWatch()
{
    QDeadlineTimer deadline(END_WAIT_MS);
    for (const WORKER& kept : std::as_const(m_workers)) {
        kept.worker->disconnect(this);
        if (!kept.thread) {
            delete kept.worker;
            continue;
        }
        QMetaObject::invokeMethod(kept.worker, &CLookWorker::Stop, Qt::QueuedConnection);
        kept.thread->quit();
        // Ended, its worker went with it; its own deletion, still posted, goes with the thread.
        if (kept.thread->wait(deadline))
            delete kept.thread;
        else
            qCWarning(lcClient) << "overview: a detector's thread is still waiting for its server at the end";
    }
}

int COverviewWatch::RunningThreads()
{
    return s_nRunning.load();
}

void COverviewWatch::SetDetectors(const QList<OVERVIEW_DETECTOR>& detectors)
{
    for (const WORKER& kept : std::as_const(m_workers))
        Retire(kept);
    m_workers.clear();
    for (int row = 0; row < detectors.size(); ++row) {
        const int id = m_nNextId++;
        WORKER kept;
        kept.row = row;
        kept.worker = new CLookWorker(id, Opener(detectors.at(row)), m_looker);
        connect(kept.worker, &CLookWorker::looked, this, &COverviewWatch::OnLooked);
        m_workers.insert(id, kept);
        if (detectors.at(row).IsLocal()) {
            kept.worker->Start();
            continue;
        }
        // Not a child: a thread still in its server's time-out when the watch
        // goes must not be deleted with it.
        kept.thread = new QThread;
        kept.thread->setObjectName(QStringLiteral("overview %1").arg(row));
        kept.worker->moveToThread(kept.thread);
        connect(kept.thread, &QThread::started, kept.worker, &CLookWorker::Start);
        // However it ends, the thread takes its worker with it and deletes
        // itself once the window's thread is free: a thread still in its
        // server's time-out when it is let go of ends by itself later.
        connect(kept.thread, &QThread::finished, kept.worker, &QObject::deleteLater);
        connect(kept.thread, &QThread::finished, kept.thread, &QObject::deleteLater);
        connect(
            kept.thread, &QThread::finished, kept.thread, [] { --s_nRunning; }, Qt::DirectConnection);
        ++s_nRunning;
        m_workers[id].thread = kept.thread;
        kept.thread->start();
    }
}

void COverviewWatch::Retire(const WORKER& kept)
{
    kept.worker->disconnect(this);
    if (!kept.thread) {
        kept.worker->Stop();
        kept.worker->deleteLater();
        return;
    }
    QMetaObject::invokeMethod(kept.worker, &CLookWorker::Stop, Qt::QueuedConnection);
    kept.thread->quit();
}

void COverviewWatch::OnLooked(int id, const RZ450_LOOK& look)
{
    const auto found = m_workers.constFind(id);
    if (found != m_workers.cend())
        Q_EMIT looked(found->row, look);
}

CLookWorker::Opener COverviewWatch::Opener(const OVERVIEW_DETECTOR& detector) const
{
    if (!detector.IsLocal()) {
        const QString address = detector.address;
        return [address](QString& error) { return OpenServer(address, error); };
    }
    CMetaDevice* local = m_pLocalDevice;
    return [local](QString& error) -> std::shared_ptr<CMetaDevice> {
        if (!local) {
            error = tr("not open: the main window works with another detector");
            return nullptr;
        }
        return std::shared_ptr<CMetaDevice>(local, [](CMetaDevice*) {});
    };
}

// In the detector's thread: the known fingerprint and key, as the start-up
// window left them; a server never trusted there is refused, never asked about.
std::shared_ptr<CMetaDevice> COverviewWatch::OpenServer(const QString& address, QString& error)
{
    auto device = std::make_shared<CMetaDevice>(address);
    CServerTrust::Apply(*device, CKnownServers());
    if (!device->Initialize()) {
        error = Refused(*device);
        return nullptr;
    }
    const QString name = QLatin1String(RZ450Queries::DEVICE_TYPE);
    if (!device->GetServerDevicesList().contains(name) || !device->SelectServerDevice(name)) {
        error = tr("the server shares no %1").arg(name);
        return nullptr;
    }
    return device;
}

QString COverviewWatch::Refused(const CMetaDevice& device)
{
    switch (device.LastRefusal()) {
    case CMetaDevice::UnknownServer: return tr("not trusted yet: connect to it once from the start-up window");
    case CMetaDevice::ChangedServer: return tr("its certificate changed");
    case CMetaDevice::KeyRefused: return tr("the access key was refused");
    case CMetaDevice::NotRefused: break;
    }
    return tr("cannot be reached");
}
