// Alert rules as Preferences show and read them, and as the settings keep
// them.
#include "alerts/CAlertRuleText.h"
#include "alerts/CAlertRules.h"
#include "alerts/CAlertSettings.h"

#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class tst_AlertsText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void textReadsBackAsTheRule_data();
    void textReadsBackAsTheRule();
    void badTextRefused_data();
    void badTextRefused();
    void overnightSpan();
    void settingsKeepDetectorsApart();
    void unreadableRulesAndVolume();

private:
    QTemporaryDir m_dir;
};

void tst_AlertsText::init()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings().clear();
}

void tst_AlertsText::textReadsBackAsTheRule_data()
{
    QTest::addColumn<QString>("bands");
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<QString>("bandsShown");
    QTest::addColumn<QString>("scheduleShown");
    QTest::addColumn<int>("spans");
    const auto row = [](const char* name, const QString& bands, const QString& schedule, const QString& bandsShown,
                         const QString& scheduleShown, int spans) {
        QTest::newRow(name) << bands << schedule << bandsShown << scheduleShown << spans;
    };
    const QString all = QStringLiteral("all");
    row("all, always", QStringLiteral("ALL "), QStringLiteral(" Always"), all, QStringLiteral("always"), 0);
    row("bands in order, once", QStringLiteral(" 18,0 3 ,3"), QStringLiteral("always"), QStringLiteral("18, 0, 3"),
        QStringLiteral("always"), 0);
    row("runs of bands", QStringLiteral("0-5, 9, 10, 28 - 30"), QStringLiteral("always"),
        QStringLiteral("0-5, 9, 10, 28-30"), QStringLiteral("always"), 0);
    const QString week = QStringLiteral("mon-fri 22:00-06:00; sat,sun 00:00-24:00");
    row("weekdays and weekend", all, week, all, week, 7);
    row("run past sunday", all, QStringLiteral("Sat - Mon  08:00 - 09:30;"), all,
        QStringLiteral("sat,sun,mon 08:00-09:30"), 3);
    row("days as typed", all, QStringLiteral("tue,mon wed 10:00-10:00"), all, QStringLiteral("tue,mon,wed 10:00-10:00"),
        3);
    row("two spans a day", all, QStringLiteral("mon 08:00-12:00; mon 13:00-17:00"), all,
        QStringLiteral("mon 08:00-12:00; mon 13:00-17:00"), 2);
    // Neighbouring clauses of the same times are shown as one.
    row("64 spans", all, QStringLiteral("mon-sun 00:00-01:00; ").repeated(9) + QStringLiteral("mon 02:00-03:00"), all,
        QStringLiteral("mon-sun,").repeated(8) + QStringLiteral("mon-sun 00:00-01:00; mon 02:00-03:00"), 64);
}

void tst_AlertsText::textReadsBackAsTheRule()
{
    QFETCH(QString, bands);
    QFETCH(QString, schedule);
    QFETCH(QString, bandsShown);
    QFETCH(QString, scheduleShown);
    QFETCH(int, spans);
    ALERT_RULE rule;
    CAlertRuleText::Field field = CAlertRuleText::Condition;
    QString error;
    QVERIFY2(CAlertRuleText::Read({ bands, QStringLiteral(" 10 "), ALERT_RULE::OverBaseline, schedule }, rule, field,
                 error),
        qPrintable(error));
    QCOMPARE(rule.seconds, 10);
    QCOMPARE(rule.condition, ALERT_RULE::OverBaseline);
    QCOMPARE(rule.schedule.size(), spans);
    const CAlertRuleText::ROW shown = CAlertRuleText::Format(rule);
    QCOMPARE(shown.bands, bandsShown);
    QCOMPARE(shown.schedule, scheduleShown);
    ALERT_RULE again;
    QVERIFY2(CAlertRuleText::Read(shown, again, field, error), qPrintable(error));
    QCOMPARE(again, rule);
}

void tst_AlertsText::badTextRefused_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("says");
    const auto row = [](const char* name, CAlertRuleText::Field field, const QString& text, const char* says) {
        QTest::newRow(name) << int(field) << text << QString::fromUtf8(says);
    };
    using F = CAlertRuleText;
    row("no bands", F::Bands, QStringLiteral(" , "), "Type \"all\"");
    row("band 31", F::Bands, QStringLiteral("3, 31"), "\"31\" is no band: the bands are numbered 0 to 30.");
    row("negative band", F::Bands, QStringLiteral("-1"), "\"-1\" is no band");
    row("band fraction", F::Bands, QStringLiteral("1.5"), "\"1.5\" is no band");
    row("backward run", F::Bands, QStringLiteral("5-2"), "\"5-2\" runs backwards");
    row("no seconds", F::Seconds, QString(), "type a whole number from 0 to 86400");
    row("negative seconds", F::Seconds, QStringLiteral("-1"), "\"-1\" is no number of seconds");
    row("a day and a second", F::Seconds, QStringLiteral("86401"), "\"86401\" is no number");
    row("seconds with unit", F::Seconds, QStringLiteral("3 s"), "\"3 s\" is no number");
    row("empty schedule", F::Schedule, QStringLiteral(" ; "), "Type \"always\"");
    row("days alone", F::Schedule, QStringLiteral("mon-fri"), "\"mon-fri\" has no times");
    row("times alone", F::Schedule, QStringLiteral("mon 08:00-09:00; 10:00-12:00"), "\"10:00-12:00\" has no days");
    row("one time", F::Schedule, QStringLiteral("mon 10:00"), "\"10:00\" is no span of time");
    row("hour 25", F::Schedule, QStringLiteral("mon 08:00-25:00"), "\"25:00\" is no time");
    row("one-digit hour", F::Schedule, QStringLiteral("mon 8:00-09:00"), "\"8:00\" is no time");
    row("starts at 24:00", F::Schedule, QStringLiteral("mon 24:00-06:00"), "cannot start at 24:00");
    row("no such day", F::Schedule, QStringLiteral("mon,funday 10:00-11:00"), "\"funday\" is no day");
    row("two dashes", F::Schedule, QStringLiteral("mon-wed-fri 10:00-11:00"), "\"mon-wed-fri\" is no day");
    row("65 spans", F::Schedule,
        QStringLiteral("mon-sun 00:00-01:00; ").repeated(9) + QStringLiteral("mon,tue 02:00-03:00"),
        "at most 64 spans");
}

void tst_AlertsText::badTextRefused()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, says);
    CAlertRuleText::ROW row { QStringLiteral("all"), QStringLiteral("3"), ALERT_RULE::Alarm, QStringLiteral("always") };
    (field == CAlertRuleText::Bands ? row.bands : field == CAlertRuleText::Seconds ? row.seconds : row.schedule) = text;
    ALERT_RULE rule;
    rule.seconds = 77;
    CAlertRuleText::Field refused = CAlertRuleText::Condition;
    QString error;
    QVERIFY(!CAlertRuleText::Read(row, rule, refused, error));
    QCOMPARE(int(refused), field);
    QVERIFY2(error.contains(says), qPrintable(error));
    QCOMPARE(rule.seconds, 77);
}

void tst_AlertsText::overnightSpan()
{
    ALERT_RULE rule;
    QString error;
    QVERIFY(CAlertRuleText::ReadSchedule(QStringLiteral("fri-sun 22:30-06:00"), rule.schedule, error));
    QCOMPARE(rule.schedule, QList<ALERT_WINDOW>({ { 5, 1350, 360 }, { 6, 1350, 360 }, { 7, 1350, 360 } }));
    // Monday 2026-12-07, 05:59 and 06:00: Sunday's span runs into Monday.
    QVERIFY(CAlertRules::InSchedule(rule, QDateTime(QDate(2026, 12, 7), QTime(5, 59))));
    QVERIFY(!CAlertRules::InSchedule(rule, QDateTime(QDate(2026, 12, 7), QTime(6, 0))));
}

void tst_AlertsText::settingsKeepDetectorsApart()
{
    ALERT_RULE baseline;
    baseline.condition = ALERT_RULE::OverBaseline;
    const QString url = QStringLiteral("ondrixs://127.0.0.5");
    const QString host = QStringLiteral("127.0.0.5");
    CAlertSettings::SetRules(url, { baseline });
    CAlertSettings::SetSite(url, QStringLiteral("Roof"));
    CAlertSettings::SetRules(host, { ALERT_RULE {}, baseline });
    QCOMPARE(CAlertSettings::Rules(url), QList<ALERT_RULE>({ baseline }));
    QCOMPARE(CAlertSettings::Rules(host), QList<ALERT_RULE>({ ALERT_RULE {}, baseline }));
    QCOMPARE(CAlertSettings::Rules(QStringLiteral("local")), CAlertRules::Default());
    QCOMPARE(CAlertSettings::Site(url), QStringLiteral("Roof"));
    QCOMPARE(CAlertSettings::Site(host), QString());
    QSettings settings;
    settings.beginGroup(QStringLiteral("Alerts/Detector"));
    QCOMPARE(settings.childGroups().size(), 2);
}

void tst_AlertsText::unreadableRulesAndVolume()
{
    QLoggingCategory::setFilterRules(QStringLiteral("ondrix.client.warning=true"));
    QSettings().setValue(QStringLiteral("Alerts/Detector/local/Rules"), QStringLiteral("{\"version\": 1, "));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("local .*unreadable.*no JSON")));
    QCOMPARE(CAlertSettings::Rules(QStringLiteral("local")), CAlertRules::Default());
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(CAlertSettings::Volume(), 80);
    CAlertSettings::SetVolume(150);
    QCOMPARE(CAlertSettings::Volume(), 100);
    QSettings().setValue(QStringLiteral("Alerts/Volume"), QStringLiteral("loud"));
    QCOMPARE(CAlertSettings::Volume(), 80);
}

QTEST_GUILESS_MAIN(tst_AlertsText)
#include "tst_AlertsText.moc"
