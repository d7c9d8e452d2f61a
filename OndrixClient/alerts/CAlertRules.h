#pragma once

#include "alerts/ALERT_RULE.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

// A detector's alert rules, and their text form: the JSON that Preferences
// keep and that `ondrixctl watch --rules FILE` reads:
//   {"version": 1, "rules": [{"bands": "all" | [0, 3, 18],
//     "seconds": 3, "condition": "alarm" | "baseline",
//     "schedule": "always" | [{"days": ["mon", "tue"], "from": "22:00", "to": "06:00"}]}]}
// Pure: text in, rules out. Text of any other form is refused whole, with
// a message naming the rule and field, and the rules stay as they were.
class CAlertRules
{
    Q_DECLARE_TR_FUNCTIONS(CAlertRules)

public:
    static constexpr int VERSION = 1;
    static constexpr int MAX_RULES = 32;
    static constexpr int MAX_WINDOWS = 64;
    // A rules file is a few lines; more is not one.
    static constexpr int MAX_BYTES = 64 * 1024;

    // Any alarm that lasts three seconds, on any band, at any time.
    static QList<ALERT_RULE> Default();

    static QByteArray ToJson(const QList<ALERT_RULE>& rules);
    static bool FromJson(const QByteArray& json, QList<ALERT_RULE>& rules, QString& error);

    // The words and times of schedules, in the JSON and in Preferences alike:
    // day 1 "mon" to 7 "sun" (0: no day), and minutes as "HH:MM", 00:00 to
    // 24:00 (-1: no time).
    static QString DayName(int day);
    static int DayOf(const QString& name);
    static QString TimeText(int minute);
    static int MinuteOf(const QString& text);

    static bool Covers(const ALERT_RULE& rule, int band);
    // Whether the rule's schedule holds at that moment of local time.
    static bool InSchedule(const ALERT_RULE& rule, const QDateTime& local);
};
