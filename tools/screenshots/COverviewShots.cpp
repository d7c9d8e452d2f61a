#include "COverviewShots.h"

#include "CRZ450Simulator.h"
#include "alerts/CAlertActions.h"
#include "alerts/CAlertCenter.h"
#include "mainwindow/CMainWindow.h"
#include "overview/COverview.h"
#include "overview/COverviewActions.h"

#include <QTest>

namespace {

const int ALARM_BAND = 4;
const char* const ROOM = "Office 3";

} // namespace

COverviewShots::COverviewShots(CRZ450Simulator* simulator, CMainWindow* window, const QDir& folder)
    : m_pSimulator(simulator)
    , m_pWindow(window)
    , m_folder(folder)
{
}

bool COverviewShots::Run()
{
    AddRooms();
    m_pSimulator->SetIndicationFlags({ ALARM_BAND });
    CAlertCenter* alerts = m_pWindow->Alerts();
    const bool alerted
        = QTest::qWaitFor([alerts] { return alerts->LevelOf(QLatin1String(ROOM)) == CAlertCenter::Alerting; },
            ALERT_TIMEOUT_MS);
    if (!alerted) {
        m_pSimulator->ClearIndicationFlags();
        return Fail(QStringLiteral("the pinned alarm made no alert"));
    }
    COverviewActions* overview = m_pWindow->OverviewActions();
    overview->SetMode(true);
    QTest::qWait(SETTLE_MS);
    bool saved = Save(m_pWindow, QStringLiteral("overview.png"));
    overview->SetMode(false);
    m_pWindow->AlertActions()->ShowList();
    QWidget* list = m_pWindow->AlertActions()->ListWindow();
    list->resize(1000, 300);
    QTest::qWait(SETTLE_MS);
    saved = saved && Save(list, QStringLiteral("alerts.png"));
    list->close();
    m_pSimulator->ClearIndicationFlags();
    return saved;
}

// Rooms of servers that are not there: the rows say so, and no traffic
// leaves this computer (127.0.0.0/8 only).
void COverviewShots::AddRooms()
{
    COverview* overview = m_pWindow->Overview();
    overview->Rename(0, QLatin1String(ROOM));
    overview->Add({ QStringLiteral("127.0.0.2"), QStringLiteral("Meeting room") });
    overview->Add({ QStringLiteral("ondrixs://127.0.0.3"), QStringLiteral("Lobby") });
}

bool COverviewShots::Save(QWidget* widget, const QString& name)
{
    const QString file = m_folder.filePath(name);
    return widget->grab().save(file, "PNG") || Fail(QStringLiteral("could not write %1").arg(file));
}

bool COverviewShots::Fail(const QString& error)
{
    m_strError = error;
    return false;
}
