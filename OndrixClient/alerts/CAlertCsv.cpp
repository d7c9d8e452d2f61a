#include "alerts/CAlertCsv.h"

#include "export/CCsvTable.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>

namespace {

const char* const HEADINGS[] = { "started", "ended", "detector", "band", "band_name", "condition", "level_dbm",
    "peak_dbm", "duration_s", "acknowledged_by", "acknowledged_at" };

QString TimeText(qint64 ms)
{
    return ms == 0 ? QString() : QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
}

} // namespace

QByteArray CAlertCsv::Table(const QList<ALERT>& alerts)
{
    CCsvTable table;
    for (const char* heading : HEADINGS)
        table.AddField(QString::fromLatin1(heading));
    table.EndRow();
    for (const ALERT& alert : alerts) {
        table.AddField(TimeText(alert.startedMs));
        table.AddField(TimeText(alert.endedMs));
        table.AddField(alert.detector);
        table.AddField(qint64(alert.band));
        table.AddField(alert.bandName);
        table.AddField(alert.overBaseline ? QStringLiteral("baseline") : QStringLiteral("alarm"));
        table.AddField(qint64(alert.levelDbm));
        table.AddField(qint64(alert.peakDbm));
        if (alert.endedMs == 0)
            table.AddEmptyField();
        else
            table.AddField(double(alert.DurationMs()) / 1000.0);
        table.AddField(alert.acknowledgedBy);
        table.AddField(TimeText(alert.acknowledgedMs));
        table.EndRow();
    }
    return table.Bytes().toByteArray();
}

bool CAlertCsv::Save(const QList<ALERT>& alerts, const QString& path, QString& error)
{
    QSaveFile file(path);
    const QByteArray bytes = Table(alerts);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    error = tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}
