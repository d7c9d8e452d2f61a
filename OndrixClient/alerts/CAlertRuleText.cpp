#include "alerts/CAlertRuleText.h"

#include "RZ450Layout.h"
#include "alerts/CAlertRules.h"

#include <QRegularExpression>

#include <functional>

namespace {

const QLatin1String ALL("all");
const QLatin1String ALWAYS("always");

// Runs of three or more ascending neighbours as "first-last"; reading them
// unfolds them in the same order, so the text reads back as the list.
QString Runs(const QList<int>& values, const std::function<QString(int)>& name, QLatin1String separator)
{
    QStringList items;
    for (qsizetype i = 0; i < values.size();) {
        qsizetype end = i + 1;
        while (end < values.size() && values[end] == values[end - 1] + 1)
            ++end;
        if (end - i >= 3) {
            items.append(name(values[i]) % QLatin1Char('-') % name(values[end - 1]));
            i = end;
        } else {
            items.append(name(values[i++]));
        }
    }
    return items.join(separator);
}

// A list's items, with commas or spaces between them and "a - b" as "a-b".
QStringList Items(const QString& text)
{
    static const QRegularExpression dash(QStringLiteral("\\s*-\\s*"));
    static const QRegularExpression gap(QStringLiteral("[,\\s]+"));
    QString list = text.trimmed();
    list.replace(dash, QStringLiteral("-"));
    return list.split(gap, Qt::SkipEmptyParts);
}

bool IsKeyword(const QString& text, QLatin1String keyword)
{
    return text.trimmed().compare(keyword, Qt::CaseInsensitive) == 0;
}

bool Band(const QString& text, int& band)
{
    bool ok = false;
    band = text.toInt(&ok);
    return ok && band >= 0 && band < RZ450Layout::BAND_COUNT;
}

} // namespace

CAlertRuleText::ROW CAlertRuleText::Format(const ALERT_RULE& rule)
{
    return { BandsText(rule.bands), QString::number(rule.seconds), rule.condition, ScheduleText(rule.schedule) };
}

bool CAlertRuleText::Read(const ROW& row, ALERT_RULE& rule, Field& field, QString& error)
{
    ALERT_RULE read;
    read.condition = row.condition;
    if (!ReadBands(row.bands, read.bands, error))
        field = Bands;
    else if (!ReadSeconds(row.seconds, read.seconds, error))
        field = Seconds;
    else if (!ReadSchedule(row.schedule, read.schedule, error))
        field = Schedule;
    else {
        rule = read;
        return true;
    }
    return false;
}

QString CAlertRuleText::BandsText(const QList<int>& bands)
{
    if (bands.isEmpty())
        return ALL;
    return Runs(
        bands, [](int band) { return QString::number(band); }, QLatin1String(", "));
}

bool CAlertRuleText::ReadBands(const QString& text, QList<int>& bands, QString& error)
{
    if (IsKeyword(text, ALL)) {
        bands.clear();
        return true;
    }
    const QStringList items = Items(text);
    if (items.isEmpty()) {
        error = tr("Type \"all\", or band numbers as in \"0, 3, 18\".");
        return false;
    }
    QList<int> read;
    for (const QString& item : items) {
        const QStringList ends = item.split(QLatin1Char('-'));
        int first = 0;
        int last = 0;
        if (ends.size() > 2 || !Band(ends.first(), first) || !Band(ends.last(), last)) {
            error = tr("\"%1\" is no band: the bands are numbered 0 to %2.").arg(item).arg(RZ450Layout::BAND_COUNT - 1);
            return false;
        }
        if (last < first) {
            error = tr("\"%1\" runs backwards: write the lower band first.").arg(item);
            return false;
        }
        for (int band = first; band <= last; ++band) {
            if (!read.contains(band))
                read.append(band);
        }
    }
    bands = read;
    return true;
}

bool CAlertRuleText::ReadSeconds(const QString& text, int& seconds, QString& error)
{
    bool ok = false;
    const int read = text.trimmed().toInt(&ok);
    if (!ok || read < 0 || read > ALERT_RULE::MAX_SECONDS) {
        error = tr("\"%1\" is no number of seconds: type a whole number from 0 to %2.")
                    .arg(text.trimmed())
                    .arg(ALERT_RULE::MAX_SECONDS);
        return false;
    }
    seconds = read;
    return true;
}

QString CAlertRuleText::ScheduleText(const QList<ALERT_WINDOW>& schedule)
{
    if (schedule.isEmpty())
        return ALWAYS;
    QStringList clauses;
    for (qsizetype i = 0; i < schedule.size();) {
        const ALERT_WINDOW& first = schedule[i];
        QList<int> days;
        for (; i < schedule.size() && schedule[i].fromMinute == first.fromMinute
             && schedule[i].toMinute == first.toMinute;
             ++i)
            days.append(schedule[i].day);
        clauses.append(Runs(days, &CAlertRules::DayName, QLatin1String(",")) % QLatin1Char(' ')
            % CAlertRules::TimeText(first.fromMinute) % QLatin1Char('-') % CAlertRules::TimeText(first.toMinute));
    }
    return clauses.join(QLatin1String("; "));
}

bool CAlertRuleText::ReadSchedule(const QString& text, QList<ALERT_WINDOW>& schedule, QString& error)
{
    if (IsKeyword(text, ALWAYS)) {
        schedule.clear();
        return true;
    }
    QList<ALERT_WINDOW> read;
    for (const QString& clause : text.split(QLatin1Char(';'))) {
        if (!clause.trimmed().isEmpty() && !ReadClause(clause.trimmed(), read, error))
            return false;
    }
    if (read.isEmpty()) {
        error = tr("Type \"always\", or days and times as in \"mon-fri 08:00-18:00\".");
        return false;
    }
    schedule = read;
    return true;
}

bool CAlertRuleText::ReadClause(const QString& clause, QList<ALERT_WINDOW>& schedule, QString& error)
{
    static const QRegularExpression digit(QStringLiteral("\\d"));
    const qsizetype timesAt = clause.indexOf(digit);
    if (timesAt < 0) {
        error = tr("\"%1\" has no times: write them after the days, as in \"mon-fri 08:00-18:00\".").arg(clause);
        return false;
    }
    if (clause.left(timesAt).trimmed().isEmpty()) {
        error = tr("\"%1\" has no days: write them before the times, as in \"mon-fri 08:00-18:00\".").arg(clause);
        return false;
    }
    QList<int> days;
    if (!ReadDays(clause.left(timesAt), days, error))
        return false;
    const QStringList times = clause.mid(timesAt).split(QLatin1Char('-'));
    if (times.size() != 2) {
        error = tr("\"%1\" is no span of time: write it as HH:MM-HH:MM.").arg(clause.mid(timesAt));
        return false;
    }
    const int from = CAlertRules::MinuteOf(times[0].trimmed());
    const int to = CAlertRules::MinuteOf(times[1].trimmed());
    if (from < 0 || to < 0) {
        error = tr("\"%1\" is no time: write HH:MM, from 00:00 to 24:00.")
                    .arg((from < 0 ? times[0] : times[1]).trimmed());
        return false;
    }
    if (from == ALERT_WINDOW::MINUTES_A_DAY) {
        error = tr("A span cannot start at 24:00: start it at 00:00 of the next day.");
        return false;
    }
    for (int day : days) {
        if (schedule.size() >= CAlertRules::MAX_WINDOWS) {
            error = tr("A schedule has at most %1 spans, one for each day it names.").arg(CAlertRules::MAX_WINDOWS);
            return false;
        }
        schedule.append({ day, from, to });
    }
    return true;
}

bool CAlertRuleText::ReadDays(const QString& text, QList<int>& days, QString& error)
{
    for (const QString& item : Items(text)) {
        const QStringList ends = item.toLower().split(QLatin1Char('-'));
        const int first = CAlertRules::DayOf(ends.first());
        const int last = CAlertRules::DayOf(ends.last());
        if (ends.size() > 2 || first == 0 || last == 0) {
            error = tr("\"%1\" is no day: use mon, tue, wed, thu, fri, sat or sun.").arg(item);
            return false;
        }
        // A run past Sunday goes on with Monday, as "sat-mon" does.
        for (int day = first;; day = day % 7 + 1) {
            days.append(day);
            if (day == last)
                break;
        }
    }
    return true;
}

QString CAlertRuleText::ConditionText(ALERT_RULE::Condition condition)
{
    return condition == ALERT_RULE::OverBaseline ? tr("exceeds the baseline") : tr("alarm");
}
