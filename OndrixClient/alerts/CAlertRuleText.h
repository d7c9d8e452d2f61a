#pragma once

#include "alerts/ALERT_RULE.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// One alert rule as a row of Preferences shows it and a person types it:
//   bands     "all", or band numbers and runs of them: "0, 3, 18", "0-5, 9"
//   seconds   a whole number
//   schedule  "always", or days and a span of time, clause by clause:
//             "mon-fri 22:00-06:00; sat,sun 00:00-24:00"
// A span whose end is not after its start runs past midnight, as in the
// rules' JSON, whose words ("mon", "HH:MM") these are. Pure. A text is read
// whole or refused with a message that says what is wrong in it; the text
// a rule is shown as reads back as that rule.
class CAlertRuleText
{
    Q_DECLARE_TR_FUNCTIONS(CAlertRuleText)

public:
    enum Field { Bands, Seconds, Condition, Schedule };

    struct ROW
    {
        QString bands;
        QString seconds;
        ALERT_RULE::Condition condition = ALERT_RULE::Alarm;
        QString schedule;
    };

    static ROW Format(const ALERT_RULE& rule);
    // field and error tell the first text refused; rule is kept then.
    static bool Read(const ROW& row, ALERT_RULE& rule, Field& field, QString& error);

    static QString BandsText(const QList<int>& bands);
    static bool ReadBands(const QString& text, QList<int>& bands, QString& error);
    static bool ReadSeconds(const QString& text, int& seconds, QString& error);
    static QString ScheduleText(const QList<ALERT_WINDOW>& schedule);
    static bool ReadSchedule(const QString& text, QList<ALERT_WINDOW>& schedule, QString& error);
    // "alarm" or "exceeds the baseline", in the language of the windows.
    static QString ConditionText(ALERT_RULE::Condition condition);

private:
    static bool ReadClause(const QString& clause, QList<ALERT_WINDOW>& schedule, QString& error);
    static bool ReadDays(const QString& text, QList<int>& days, QString& error);
};
