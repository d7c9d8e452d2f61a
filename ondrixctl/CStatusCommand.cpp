#include "CStatusCommand.h"

#include "CCtlSession.h"
#include "CRZ450MetaDevice.h"
#include "CtlExit.h"
#include "protocol/CBandName.h"
#include "proxy/CMetaDevice.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QJsonDocument>

namespace {

const char* const JSON_OPTION = "json";

QString ModeName(int mode)
{
    switch (mode) {
    case IDevice::MODE_MAN: return QStringLiteral("manual");
    case IDevice::MODE_SRCH: return QStringLiteral("search");
    case IDevice::MODE_AUTO: return QStringLiteral("automatic");
    default: return QStringLiteral("unknown");
    }
}

QString Iso(const QDateTime& time)
{
    return time.isValid() ? time.toString(Qt::ISODate) : QString();
}

QJsonObject Newest(const CRecord& record)
{
    const RECORD_VALUE value = record.values.value(0);
    return {
        { QStringLiteral("band"), record.band },
        { QStringLiteral("band_name"), CBandName::Plain(record.bandName) },
        { QStringLiteral("time"), Iso(QDateTime::fromSecsSinceEpoch(qint64(record.time))) },
        { QStringLiteral("duration_s"), record.duration },
        { QStringLiteral("level_dBm"), value.level },
        { QStringLiteral("threshold_dBm"), value.threshold },
    };
}

QString YesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

QString Good(const QJsonObject& status, const char* key, const QString& bad)
{
    return status.value(QLatin1String(key)).toBool() ? QStringLiteral("ok") : bad;
}

} // namespace

QString CStatusCommand::Summary() const
{
    return tr("Show what the detector reports now.");
}

QString CStatusCommand::Description() const
{
    return tr("Shows whether the detector is online and what it reports: its mode and band, the newest live "
              "record, its clock, the current log bank and its self-test. Waits up to the time-out for the "
              "detector to come online; offline it says so and ends with exit code 4.");
}

void CStatusCommand::AddOptions(QCommandLineParser& parser) const
{
    parser.addOption({ QLatin1String(JSON_OPTION), tr("Print one JSON object instead of lines.") });
}

bool CStatusCommand::Take(const QCommandLineParser& parser, QString& error)
{
    if (!parser.positionalArguments().isEmpty()) {
        error = tr("status takes no arguments");
        return false;
    }
    m_bJson = parser.isSet(QLatin1String(JSON_OPTION));
    return true;
}

int CStatusCommand::Run(CCtlSession& session)
{
    const int code = session.ConnectDevice();
    if (code != CtlExit::Ok)
        return code;
    CMetaDevice* device = session.Device();
    const bool online = session.WaitFor([device] { return device->IsOnline(); }, session.Options().timeoutMs);
    if (session.IsInterrupted())
        return session.Interrupted(tr("waiting for the detector"));
    const QJsonObject status = Collect(session, online);
    if (m_bJson)
        session.Console().Out(QString::fromUtf8(QJsonDocument(status).toJson(QJsonDocument::Indented)).trimmed());
    else
        session.Console().Out(Lines(status));
    return online ? int(CtlExit::Ok) : session.NotOnline();
}

QJsonObject CStatusCommand::Collect(CCtlSession& session, bool online)
{
    CMetaDevice* device = session.Device();
    QJsonObject status {
        { QStringLiteral("connection"), session.Where() },
        { QStringLiteral("online"), online },
        { QStringLiteral("error"), device->IsError() },
    };
    if (!online)
        return status;
    CRZ450MetaDevice rz450(device);
    const int mode = device->GetCurrentMode();
    const int records = device->GetCurrentRecordIndex();
    status.insert(QStringLiteral("device"), device->GetDevID());
    status.insert(QStringLiteral("mode"), ModeName(mode));
    status.insert(QStringLiteral("band"), device->GetCurrentBand());
    status.insert(QStringLiteral("records"), records);
    if (records > 0)
        status.insert(QStringLiteral("newest"), Newest(device->GetCurrentRecord()));
    status.insert(QStringLiteral("clock"), Iso(device->GetTime()));
    status.insert(QStringLiteral("bank"), rz450.GetCurrentBank());
    status.insert(QStringLiteral("language"),
        rz450.GetLanguageID() == 0 ? QStringLiteral("english") : QStringLiteral("russian"));
    status.insert(QStringLiteral("schedule"), rz450.IsSchedule());
    status.insert(QStringLiteral("ram_ok"), device->IsRamOk());
    status.insert(QStringLiteral("flash_ok"), device->IsFlashOk());
    status.insert(QStringLiteral("battery_ok"), device->IsBatteryOk());
    return status;
}

QString CStatusCommand::Lines(const QJsonObject& status)
{
    const auto text = [&status](const char* key) { return status.value(QLatin1String(key)).toVariant().toString(); };
    QStringList lines { tr("connection  %1").arg(text("connection")),
        tr("online      %1").arg(YesNo(status.value(QStringLiteral("online")).toBool())) };
    if (status.value(QStringLiteral("error")).toBool())
        lines.append(tr("error       the driver stopped on a fault"));
    if (!status.contains(QStringLiteral("device")))
        return lines.join(QLatin1Char('\n'));
    lines << tr("device      %1").arg(text("device")) << tr("mode        %1").arg(text("mode"))
          << tr("band        %1").arg(text("band")) << tr("records     %1").arg(text("records"));
    const QJsonObject newest = status.value(QStringLiteral("newest")).toObject();
    if (!newest.isEmpty()) {
        lines << tr("newest      band %1 %2, %3 dBm, threshold %4 dBm, at %5")
                     .arg(newest.value(QStringLiteral("band")).toInt())
                     .arg(newest.value(QStringLiteral("band_name")).toString())
                     .arg(newest.value(QStringLiteral("level_dBm")).toDouble())
                     .arg(newest.value(QStringLiteral("threshold_dBm")).toDouble())
                     .arg(newest.value(QStringLiteral("time")).toString());
    }
    lines << tr("clock       %1").arg(text("clock")) << tr("log bank    %1").arg(text("bank"))
          << tr("language    %1").arg(text("language"))
          << tr("schedule    %1").arg(YesNo(status.value(QStringLiteral("schedule")).toBool()))
          << tr("self-test   RAM %1, flash %2, battery %3")
                 .arg(Good(status, "ram_ok", tr("FAULT")), Good(status, "flash_ok", tr("FAULT")),
                     Good(status, "battery_ok", tr("low")));
    return lines.join(QLatin1Char('\n'));
}
