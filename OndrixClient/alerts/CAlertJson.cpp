#include "alerts/CAlertJson.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString TimeText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
}

} // namespace

QByteArray CAlertJson::Line(const ALERT& alert)
{
    QJsonObject object { { QStringLiteral("event"), alert.start ? QStringLiteral("start") : QStringLiteral("end") },
        { QStringLiteral("sequence"), qint64(alert.sequence) }, { QStringLiteral("detector"), alert.detector },
        { QStringLiteral("band"), alert.band }, { QStringLiteral("band_name"), alert.bandName },
        { QStringLiteral("condition"), alert.overBaseline ? QStringLiteral("baseline") : QStringLiteral("alarm") },
        { QStringLiteral("started"), TimeText(alert.startedMs) }, { QStringLiteral("level_dbm"), alert.levelDbm },
        { QStringLiteral("peak_dbm"), alert.peakDbm } };
    if (!alert.start) {
        object.insert(QStringLiteral("ended"), TimeText(alert.endedMs));
        object.insert(QStringLiteral("duration_s"), double(alert.DurationMs()) / 1000.0);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}
