#include "alerts/CAlertRules.h"

#include "RZ450Layout.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char* const DAY_NAMES[7] = { "mon", "tue", "wed", "thu", "fri", "sat", "sun" };
const char* const CONDITION_NAMES[2] = { "alarm", "baseline" };

QJsonValue BandsJson(const ALERT_RULE& rule)
{
    if (rule.bands.isEmpty())
        return QStringLiteral("all");
    QJsonArray bands;
    for (int band : rule.bands)
        bands.append(band);
    return bands;
}

QJsonValue ScheduleJson(const ALERT_RULE& rule)
{
    if (rule.schedule.isEmpty())
        return QStringLiteral("always");
    QJsonArray windows;
    for (const ALERT_WINDOW& window : rule.schedule)
        windows.append(QJsonObject { { QStringLiteral("days"), QJsonArray { CAlertRules::DayName(window.day) } },
            { QStringLiteral("from"), CAlertRules::TimeText(window.fromMinute) },
            { QStringLiteral("to"), CAlertRules::TimeText(window.toMinute) } });
    return windows;
}

} // namespace

QString CAlertRules::DayName(int day)
{
    return day >= 1 && day <= 7 ? QLatin1String(DAY_NAMES[day - 1]) : QString();
}

int CAlertRules::DayOf(const QString& name)
{
    for (int day = 0; day < 7; ++day) {
        if (name == QLatin1String(DAY_NAMES[day]))
            return day + 1;
    }
    return 0;
}

QString CAlertRules::TimeText(int minute)
{
    return QStringLiteral("%1:%2").arg(minute / 60, 2, 10, QLatin1Char('0')).arg(minute % 60, 2, 10, QLatin1Char('0'));
}

int CAlertRules::MinuteOf(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 2 || parts[0].size() != 2 || parts[1].size() != 2)
        return -1;
    bool hourOk = false;
    bool minuteOk = false;
    const int hour = parts[0].toInt(&hourOk);
    const int minute = parts[1].toInt(&minuteOk);
    const int total = hour * 60 + minute;
    if (!hourOk || !minuteOk || minute < 0 || minute > 59 || total < 0 || total > ALERT_WINDOW::MINUTES_A_DAY)
        return -1;
    return total;
}

QList<ALERT_RULE> CAlertRules::Default()
{
    return { ALERT_RULE {} };
}

QByteArray CAlertRules::ToJson(const QList<ALERT_RULE>& rules)
{
    QJsonArray array;
    for (const ALERT_RULE& rule : rules)
        array.append(
            QJsonObject { { QStringLiteral("bands"), BandsJson(rule) }, { QStringLiteral("seconds"), rule.seconds },
                { QStringLiteral("condition"), QLatin1String(CONDITION_NAMES[rule.condition]) },
                { QStringLiteral("schedule"), ScheduleJson(rule) } });
    return QJsonDocument(QJsonObject { { QStringLiteral("version"), VERSION }, { QStringLiteral("rules"), array } })
        .toJson(QJsonDocument::Indented);
}

namespace {

// The parts of a rule, each read or refused with a reason.
bool ReadBands(const QJsonValue& value, ALERT_RULE& rule, QString& error)
{
    if (value.isUndefined() || value.toString() == QLatin1String("all"))
        return true;
    if (!value.isArray()) {
        error = CAlertRules::tr("\"bands\" must be \"all\" or a list of band numbers");
        return false;
    }
    for (const auto& band : value.toArray()) {
        const double number = band.toDouble(-1);
        if (!band.isDouble() || number != int(number) || number < 0 || number >= RZ450Layout::BAND_COUNT) {
            error = CAlertRules::tr("\"bands\" holds %1, which is no band (0 to %2)")
                        .arg(QString::fromUtf8(QJsonDocument(QJsonArray { band }).toJson(QJsonDocument::Compact))
                                 .chopped(1)
                                 .mid(1))
                        .arg(RZ450Layout::BAND_COUNT - 1);
            return false;
        }
        if (!rule.bands.contains(int(number)))
            rule.bands.append(int(number));
    }
    return true;
}

bool ReadSeconds(const QJsonValue& value, ALERT_RULE& rule, QString& error)
{
    if (value.isUndefined())
        return true;
    const double seconds = value.toDouble(-1);
    if (!value.isDouble() || seconds != int(seconds) || seconds < 0 || seconds > ALERT_RULE::MAX_SECONDS) {
        error = CAlertRules::tr("\"seconds\" must be a whole number from 0 to %1").arg(ALERT_RULE::MAX_SECONDS);
        return false;
    }
    rule.seconds = int(seconds);
    return true;
}

bool ReadCondition(const QJsonValue& value, ALERT_RULE& rule, QString& error)
{
    if (value.isUndefined())
        return true;
    for (int condition = 0; condition < 2; ++condition) {
        if (value.toString() == QLatin1String(CONDITION_NAMES[condition])) {
            rule.condition = ALERT_RULE::Condition(condition);
            return true;
        }
    }
    error = CAlertRules::tr("\"condition\" must be \"alarm\" or \"baseline\"");
    return false;
}

bool ReadWindow(const QJsonObject& object, ALERT_RULE& rule, QString& error)
{
    const int from = CAlertRules::MinuteOf(object.value(QStringLiteral("from")).toString());
    const int to = CAlertRules::MinuteOf(object.value(QStringLiteral("to")).toString());
    const QJsonArray days = object.value(QStringLiteral("days")).toArray();
    if (from < 0 || from >= ALERT_WINDOW::MINUTES_A_DAY || to < 0 || days.isEmpty()) {
        error = CAlertRules::tr("each span of \"schedule\" needs \"days\" (mon to sun), \"from\" and \"to\" (HH:MM)");
        return false;
    }
    for (const auto& day : days) {
        const int number = CAlertRules::DayOf(day.toString());
        if (number == 0) {
            error = CAlertRules::tr("\"%1\" is no day: use mon, tue, wed, thu, fri, sat or sun").arg(day.toString());
            return false;
        }
        if (rule.schedule.size() >= CAlertRules::MAX_WINDOWS) {
            error = CAlertRules::tr("a schedule has at most %1 spans").arg(CAlertRules::MAX_WINDOWS);
            return false;
        }
        rule.schedule.append({ number, from, to });
    }
    return true;
}

bool ReadSchedule(const QJsonValue& value, ALERT_RULE& rule, QString& error)
{
    if (value.isUndefined() || value.toString() == QLatin1String("always"))
        return true;
    if (!value.isArray() || value.toArray().isEmpty()) {
        error = CAlertRules::tr("\"schedule\" must be \"always\" or a list of spans");
        return false;
    }
    for (const auto& window : value.toArray()) {
        if (!ReadWindow(window.toObject(), rule, error))
            return false;
    }
    return true;
}

bool ReadRule(const QJsonValue& value, ALERT_RULE& rule, QString& error)
{
    if (!value.isObject()) {
        error = CAlertRules::tr("a rule must be an object");
        return false;
    }
    const QJsonObject object = value.toObject();
    return ReadBands(object.value(QStringLiteral("bands")), rule, error)
        && ReadSeconds(object.value(QStringLiteral("seconds")), rule, error)
        && ReadCondition(object.value(QStringLiteral("condition")), rule, error)
        && ReadSchedule(object.value(QStringLiteral("schedule")), rule, error);
}

} // namespace

bool CAlertRules::FromJson(const QByteArray& json, QList<ALERT_RULE>& rules, QString& error)
{
    if (json.size() > MAX_BYTES) {
        error = tr("The alert rules are longer than %1 KB.").arg(MAX_BYTES / 1024);
        return false;
    }
    QJsonParseError parse;
    const QJsonObject root = QJsonDocument::fromJson(json, &parse).object();
    if (parse.error != QJsonParseError::NoError) {
        error = tr("The alert rules are no JSON: %1 at byte %2.").arg(parse.errorString()).arg(parse.offset);
        return false;
    }
    if (root.value(QStringLiteral("version")).toInt() != VERSION) {
        error = tr("The alert rules are not of version %1.").arg(VERSION);
        return false;
    }
    const QJsonArray array = root.value(QStringLiteral("rules")).toArray();
    if (array.isEmpty() || array.size() > MAX_RULES) {
        error = tr("The alert rules must hold 1 to %1 rules.").arg(MAX_RULES);
        return false;
    }
    QList<ALERT_RULE> read;
    for (qsizetype i = 0; i < array.size(); ++i) {
        ALERT_RULE rule;
        QString why;
        if (!ReadRule(array.at(i), rule, why)) {
            error = tr("Alert rule %1: %2.").arg(i + 1).arg(why);
            return false;
        }
        read.append(rule);
    }
    rules = read;
    return true;
}

bool CAlertRules::Covers(const ALERT_RULE& rule, int band)
{
    return rule.bands.isEmpty() || rule.bands.contains(band);
}

bool CAlertRules::InSchedule(const ALERT_RULE& rule, const QDateTime& local)
{
    if (rule.schedule.isEmpty())
        return true;
    const int day = local.date().dayOfWeek();
    const int minute = local.time().hour() * 60 + local.time().minute();
    const int yesterday = day == 1 ? 7 : day - 1;
    for (const ALERT_WINDOW& window : rule.schedule) {
        const bool overnight = window.toMinute <= window.fromMinute;
        if (window.day == day && minute >= window.fromMinute && (overnight || minute < window.toMinute))
            return true;
        if (overnight && window.day == yesterday && minute < window.toMinute)
            return true;
    }
    return false;
}
