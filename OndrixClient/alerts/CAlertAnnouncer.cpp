#include "alerts/CAlertAnnouncer.h"

#include "alerts/CAlertCenter.h"
#include "alerts/CDesktopNotifier.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QWidget>

CAlertAnnouncer::CAlertAnnouncer(CAlertCenter* center, CDesktopNotifier* notifier, QObject* parent)
    : QObject(parent)
    , m_pCenter(center)
    , m_pNotifier(notifier)
{
    connect(center, &CAlertCenter::alertStarted, this, &CAlertAnnouncer::OnAlertStarted);
}

QString CAlertAnnouncer::Title(const ALERT& alert)
{
    return tr("Alert: %1").arg(alert.detector);
}

QString CAlertAnnouncer::Body(const ALERT& alert)
{
    const QString since
        = QLocale().toString(QDateTime::fromMSecsSinceEpoch(alert.startedMs).time(), QLocale::LongFormat);
    const QString band = tr("%1 (band %2)").arg(alert.bandName).arg(alert.band);
    return alert.overBaseline ? tr("%1 over the baseline at %2 dBm since %3").arg(band).arg(alert.levelDbm).arg(since)
                              : tr("%1 in alarm at %2 dBm since %3").arg(band).arg(alert.levelDbm).arg(since);
}

void CAlertAnnouncer::OnAlertStarted(const ALERT& alert)
{
    m_pNotifier->Notify(Title(alert), Body(alert));
    if (m_pWindow)
        QApplication::alert(m_pWindow);
}
