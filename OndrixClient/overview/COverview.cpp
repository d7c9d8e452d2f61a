#include "overview/COverview.h"

#include "alerts/CAlertCenter.h"
#include "alerts/CAlertSettings.h"
#include "overview/COverviewDetectors.h"
#include "overview/COverviewModel.h"
#include "overview/COverviewWatch.h"

#include <QDateTime>
#include <QElapsedTimer>

namespace {

qint64 SteadyMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

} // namespace

COverview::COverview(CLookWorker::Looker looker, CAlertCenter* center, QObject* parent)
    : QObject(parent)
    , m_pCenter(center)
    , m_pModel(new COverviewModel(this))
    , m_pWatch(new COverviewWatch(std::move(looker), this))
    , m_checkTimer(this)
{
    connect(m_pWatch, &COverviewWatch::looked, this, &COverview::OnLooked);
    connect(m_pCenter, &CAlertCenter::alertsChanged, this, &COverview::UpdateLevels);
    connect(&m_checkTimer, &QTimer::timeout, this, &COverview::OnCheckTimer);
}

COverview::~COverview() = default;

void COverview::SetLocalDevice(CMetaDevice* device)
{
    if (device == m_pLocalDevice)
        return;
    m_pLocalDevice = device;
    m_pWatch->SetLocalDevice(device);
    if (m_checkTimer.isActive())
        Restart();
}

void COverview::Start()
{
    m_detectors = COverviewDetectors::Load();
    Restart();
    m_checkTimer.start(CHECK_MS);
}

QString COverview::Label(const OVERVIEW_DETECTOR& detector)
{
    return COverviewDetectors::Label(detector);
}

QList<QPair<QString, QString>> COverview::AlertDetectors() const
{
    QList<QPair<QString, QString>> detectors;
    for (const OVERVIEW_DETECTOR& detector : m_detectors)
        detectors.append({ detector.Id(), Label(detector) });
    return detectors;
}

bool COverview::Add(const OVERVIEW_DETECTOR& detector)
{
    if (!COverviewDetectors::Add(m_detectors, detector))
        return false;
    COverviewDetectors::Save(m_detectors);
    Restart();
    return true;
}

void COverview::Rename(int row, const QString& name)
{
    if (row < 0 || row >= m_detectors.size())
        return;
    // Its running alerts end under the old name, and start again under the new.
    m_pCenter->Forget(Label(m_detectors.at(row)), QDateTime::currentMSecsSinceEpoch());
    m_detectors[row].name = name.trimmed();
    COverviewDetectors::Save(m_detectors);
    Restart();
}

void COverview::Remove(const QList<int>& rows)
{
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    QList<OVERVIEW_DETECTOR> kept;
    for (int row = 0; row < m_detectors.size(); ++row) {
        if (rows.contains(row))
            m_pCenter->Forget(Label(m_detectors.at(row)), nowMs);
        else
            kept.append(m_detectors.at(row));
    }
    m_detectors = kept;
    COverviewDetectors::Save(m_detectors);
    Restart();
}

// Every detector is looked at anew: a change of the list is rare, and the
// rows, the threads and the ids stay one simple picture of it.
void COverview::Restart()
{
    ApplyAlertSettings();
    m_pModel->SetDetectors(m_detectors, SteadyMs());
    m_pWatch->SetDetectors(m_detectors);
}

void COverview::ApplyAlertSettings()
{
    for (const OVERVIEW_DETECTOR& detector : std::as_const(m_detectors))
        m_pCenter->Configure(Label(detector), CAlertSettings::Rules(detector.Id()),
            CAlertSettings::Site(detector.Id()));
}

void COverview::OnLooked(int row, const RZ450_LOOK& look)
{
    if (row < 0 || row >= m_detectors.size())
        return;
    const QString label = Label(m_detectors.at(row));
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    m_pCenter->Take(label, look, nowMs);
    m_pModel->Take(row, look, m_pCenter->LevelOf(label), nowMs, SteadyMs());
}

// A row whose server holds the connection and says nothing gets no looks
// at all: it is judged offline here, so its alerts end and the tray knows.
void COverview::OnCheckTimer()
{
    const QList<int> silenced = m_pModel->MarkSilent(SteadyMs());
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    for (const int row : silenced) {
        RZ450_LOOK look;
        look.error = tr("not answering");
        m_pCenter->Take(Label(m_detectors.at(row)), look, nowMs);
    }
    if (!silenced.isEmpty())
        UpdateLevels();
}

void COverview::UpdateLevels()
{
    for (int row = 0; row < m_detectors.size(); ++row)
        m_pModel->SetLevel(row, m_pCenter->LevelOf(Label(m_detectors.at(row))));
}
