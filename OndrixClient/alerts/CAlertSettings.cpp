#include "alerts/CAlertSettings.h"

#include "alerts/CAlertRules.h"
#include "app/ClientLog.h"
#include "app/ClientSettingsKeys.h"

#include <QSettings>
#include <QUrl>

#include <algorithm>

QString CAlertSettings::Key(const char* key, const QString& detector)
{
    // Percent-encoded, an id holds no "/" to split its group, nor a "\"
    // that QSettings would read as one.
    return QLatin1String(key).arg(QString::fromLatin1(QUrl::toPercentEncoding(detector)));
}

QList<ALERT_RULE> CAlertSettings::Rules(const QString& detector)
{
    const QVariant kept = QSettings().value(Key(ClientSettingsKeys::ALERT_RULES, detector));
    if (!kept.isValid())
        return CAlertRules::Default();
    QList<ALERT_RULE> rules;
    QString error;
    if (!CAlertRules::FromJson(kept.toString().toUtf8(), rules, error)) {
        qCWarning(lcClient, "The alert rules kept for %s are unreadable, so the default rules hold: %s",
            qUtf8Printable(detector), qUtf8Printable(error));
        return CAlertRules::Default();
    }
    return rules;
}

void CAlertSettings::SetRules(const QString& detector, const QList<ALERT_RULE>& rules)
{
    QSettings().setValue(Key(ClientSettingsKeys::ALERT_RULES, detector), QString::fromUtf8(CAlertRules::ToJson(rules)));
}

QString CAlertSettings::Site(const QString& detector)
{
    return QSettings().value(Key(ClientSettingsKeys::ALERT_SITE, detector)).toString();
}

void CAlertSettings::SetSite(const QString& detector, const QString& site)
{
    const QString key = Key(ClientSettingsKeys::ALERT_SITE, detector);
    if (site.isEmpty())
        QSettings().remove(key);
    else
        QSettings().setValue(key, site);
}

int CAlertSettings::Volume()
{
    bool ok = false;
    const int volume = QSettings().value(QLatin1String(ClientSettingsKeys::ALERT_VOLUME), DEFAULT_VOLUME).toInt(&ok);
    return ok ? std::clamp(volume, 0, MAX_VOLUME) : DEFAULT_VOLUME;
}

void CAlertSettings::SetVolume(int percent)
{
    QSettings().setValue(QLatin1String(ClientSettingsKeys::ALERT_VOLUME), std::clamp(percent, 0, MAX_VOLUME));
}

bool CAlertSettings::Muted()
{
    return QSettings().value(QLatin1String(ClientSettingsKeys::ALERT_MUTED), false).toBool();
}

void CAlertSettings::SetMuted(bool muted)
{
    QSettings().setValue(QLatin1String(ClientSettingsKeys::ALERT_MUTED), muted);
}
