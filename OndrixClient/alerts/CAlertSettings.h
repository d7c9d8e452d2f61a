#pragma once

#include "alerts/ALERT_RULE.h"

#include <QList>
#include <QString>

// The user's alert settings, in the client's QSettings: per detector (its
// id: "local", or the server URL it is shared from) the rules and the site
// whose baseline the baseline condition compares with; for all of them the
// sound's volume and mute. Rules that are not kept, or whose text cannot be
// read any more, are the default rules, so a detector always alerts.
class CAlertSettings
{
public:
    static constexpr int DEFAULT_VOLUME = 80;
    static constexpr int MAX_VOLUME = 100;

    static QList<ALERT_RULE> Rules(const QString& detector);
    static void SetRules(const QString& detector, const QList<ALERT_RULE>& rules);
    // Empty: no site, so no baseline condition can hold.
    static QString Site(const QString& detector);
    static void SetSite(const QString& detector, const QString& site);

    // 0 to MAX_VOLUME percent.
    static int Volume();
    static void SetVolume(int percent);
    static bool Muted();
    static void SetMuted(bool muted);

private:
    static QString Key(const char* key, const QString& detector);
};
