#include "alerts/CAlertAnnouncer.h"

#include "alerts/CAlertCenter.h"
#include "alerts/CAlertSettings.h"
#include "alerts/CAlertSound.h"
#include "alerts/CDesktopNotifier.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QWidget>

CAlertAnnouncer::CAlertAnnouncer(CAlertCenter* center, CDesktopNotifier* notifier, CAlertSound* sound, QObject* parent)
    : QObject(parent)
    , m_pCenter(center)
    , m_pNotifier(notifier)
    , m_pSound(sound)
{
    connect(center, &CAlertCenter::alertStarted, this, &CAlertAnnouncer::OnAlertStarted);
    connect(center, &CAlertCenter::alertsChanged, this, &CAlertAnnouncer::OnAlertsChanged);
    ApplySoundSettings();
}

void CAlertAnnouncer::ApplySoundSettings()
{
    if (!m_pSound)
        return;
    m_pSound->SetVolume(CAlertSettings::Volume());
    m_pSound->SetMuted(CAlertSettings::Muted());
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
    if (m_pSound)
        m_pSound->Start();
    if (m_pWindow)
        QApplication::alert(m_pWindow);
}

// The sound goes on until a person has acknowledged every alert, those
// that ended meanwhile too: an alarm that stopped was still missed.
void CAlertAnnouncer::OnAlertsChanged()
{
    if (m_pSound && m_pCenter->List().Unacknowledged() == 0)
        m_pSound->Stop();
}
