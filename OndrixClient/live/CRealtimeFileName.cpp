#include "live/CRealtimeFileName.h"

#include "IDevice.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

QString CRealtimeFileName::BandGroup(int band)
{
    static const char* const GROUPS[] = { "CDMA450", "GSM900", "GSM1800", "DECT", "3G", "3G", "3G", "WLAN", "WLAN",
        "BT", "TRAFF", "TRAFF", "4G", "4G", "4G", "GSM900", "JAMM", "JAMM", "SCAN" };
    const bool known = band >= 0 && band < int(sizeof GROUPS / sizeof GROUPS[0]);
    return QString::fromLatin1(known ? GROUPS[band] : "GSM900");
}

QString CRealtimeFileName::Prefix(int mode, int band)
{
    if (mode == IDevice::MODE_AUTO)
        return QStringLiteral("AUTO_");
    return BandGroup(band) + QLatin1Char('_');
}

QString CRealtimeFileName::Make(const QString& prefix, quint64 firstTime)
{
    const QDateTime time = QDateTime::fromSecsSinceEpoch(qint64(firstTime), Qt::LocalTime);
    // Quoted: an unquoted "t" would be the time zone.
    return prefix + time.toString(QStringLiteral("'rt_'MMdd_hhmm"));
}

QString CRealtimeFileName::Free(const QString& folder, const QString& prefix, quint64 firstTime)
{
    const QString name = Make(prefix, firstTime);
    const QDir dir(folder);
    QString free = name;
    for (int copy = 2; QFileInfo::exists(dir.filePath(free + QStringLiteral(".rdf"))); ++copy)
        free = name + QLatin1Char('_') + QString::number(copy);
    return free;
}
