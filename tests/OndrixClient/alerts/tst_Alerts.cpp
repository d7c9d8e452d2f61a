#include "alerts/CAlertCsv.h"
#include "alerts/CAlertJson.h"
#include "alerts/CAlertList.h"
#include "alerts/CAlertLogFile.h"
#include "alerts/CAlertRules.h"
#include "alerts/CAlertTracker.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Monday 2026-12-07 12:00 UTC, and Saturday 2026-12-12 23:00 UTC.
const qint64 MONDAY_NOON = 1796644800000;
const qint64 SATURDAY_LATE = MONDAY_NOON + (5 * 24 + 11) * 3600 * 1000LL;

QByteArray Rules(const char* rules)
{
    return QByteArray(R"({"version": 1, "rules": [)") + rules + "]}";
}

// "second:band:a|b|ab|-:level ..." looked at in turn from start; the
// events as "+band@second peak" and "-band@second peak", seconds since start.
QString Run(const QList<ALERT_RULE>& rules, qint64 start, const QString& looks)
{
    CAlertTracker tracker(QStringLiteral("RZ450 #1"), rules, QTimeZone::utc());
    QList<ALERT> events;
    for (const QString& look : looks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList f = look.split(QLatin1Char(':'));
        CAlertTracker::SAMPLE sample { f[1].toInt(), QStringLiteral("B%1").arg(f[1]), f[2].contains(QLatin1Char('a')),
            f[2].contains(QLatin1Char('b')), f[3].toInt() };
        tracker.Update(sample, start + f[0].toInt() * 1000LL, events);
    }
    QStringList text;
    for (const ALERT& alert : events)
        text.append(QStringLiteral("%1%2@%3 %4")
                        .arg(alert.start ? QLatin1Char('+') : QLatin1Char('-'))
                        .arg(alert.band)
                        .arg(((alert.start ? alert.startedMs : alert.endedMs) - start) / 1000)
                        .arg(alert.peakDbm));
    return text.join(QLatin1String(", "));
}

// An alert of a detector whose name needs quoting in CSV: started, ended
// and acknowledged.
QList<CAlertLogCodec::ENTRY> Lifetime()
{
    ALERT alert;
    alert.sequence = 1;
    alert.detector = QStringLiteral("Room 12, \"east\"");
    alert.band = 7;
    alert.bandName = QStringLiteral("WLAN 2.4");
    alert.startedMs = MONDAY_NOON;
    alert.levelDbm = -50;
    alert.peakDbm = -50;
    CAlertLogCodec::ENTRY started { CAlertLogCodec::Started, alert };
    alert.endedMs = MONDAY_NOON + 12500;
    alert.peakDbm = -41;
    CAlertLogCodec::ENTRY ended { CAlertLogCodec::Ended, alert };
    alert.acknowledgedBy = QStringLiteral("Olga");
    alert.acknowledgedMs = MONDAY_NOON + 60000;
    return { started, ended, { CAlertLogCodec::Acknowledged, alert } };
}

} // namespace

class tst_Alerts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rulesAgainstSequences_data();
    void rulesAgainstSequences();
    void badRulesRefused_data();
    void badRulesRefused();
    void rulesRoundTrip();
    void jsonLines();
    void logFoldsEntries_data();
    void logFoldsEntries();
    void logFileAppendsOnly();
    void listIsBounded();
};

void tst_Alerts::rulesAgainstSequences_data()
{
    QTest::addColumn<QByteArray>("rules");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<QString>("looks");
    QTest::addColumn<QString>("events");

    const QString threeSeconds = QStringLiteral("0:3:a:-40 1:3:a:-35 2:3:a:-38 3:3:a:-39 4:3:a:-41 5:3:-:-80");
    QTest::newRow("default: 3 s alerts from its start") << CAlertRules::ToJson(CAlertRules::Default()) << MONDAY_NOON
                                                        << threeSeconds << QStringLiteral("+3@0 -35, -3@5 -35");
    QTest::newRow("default: 2 s is too short")
        << CAlertRules::ToJson(CAlertRules::Default()) << MONDAY_NOON
        << QStringLiteral("0:3:a:-40 1:3:a:-40 2:3:-:-80 3:3:a:-40 4:3:a:-40 5:3:-:-80") << QString();
    QTest::newRow("0 s: the first look") << Rules(R"({"seconds": 0})") << MONDAY_NOON
                                         << QStringLiteral("7:3:a:-40 8:3:-:-80")
                                         << QStringLiteral("+3@7 -40, -3@8 -40");
    QTest::newRow("other band not covered") << Rules(R"({"bands": [5]})") << MONDAY_NOON << threeSeconds << QString();
    QTest::newRow("covered band") << Rules(R"({"bands": [5, 3]})") << MONDAY_NOON << threeSeconds
                                  << QStringLiteral("+3@0 -35, -3@5 -35");
    QTest::newRow("baseline rule ignores alarms")
        << Rules(R"({"condition": "baseline"})") << MONDAY_NOON << threeSeconds << QString();
    QTest::newRow("baseline rule") << Rules(R"({"condition": "baseline", "seconds": 1})") << MONDAY_NOON
                                   << QStringLiteral("0:2:b:-60 1:2:ab:-58 2:2:a:-70")
                                   << QStringLiteral("+2@0 -58, -2@2 -58");
    QTest::newRow("two rules, one alert")
        << Rules(R"({"seconds": 1}, {"seconds": 2, "condition": "baseline"})") << MONDAY_NOON
        << QStringLiteral("0:4:ab:-50 1:4:ab:-50 2:4:ab:-50 3:4:b:-50 4:4:-:-90")
        << QStringLiteral("+4@0 -50, -4@4 -50");
    QTest::newRow("bands apart") << Rules(R"({"seconds": 1})") << MONDAY_NOON
                                 << QStringLiteral("0:1:a:-50 0:2:a:-40 1:1:a:-50 1:2:-:-90 2:2:a:-45 3:1:-:-90")
                                 << QStringLiteral("+1@0 -50, -1@3 -50");
    const QByteArray workdays
        = Rules(R"({"schedule": [{"days": ["mon", "tue", "wed", "thu", "fri"], "from": "08:00", "to": "18:00"}]})");
    QTest::newRow("in working hours") << workdays << MONDAY_NOON << threeSeconds
                                      << QStringLiteral("+3@0 -35, -3@5 -35");
    QTest::newRow("weekend: no alert") << workdays << SATURDAY_LATE << threeSeconds << QString();
    QTest::newRow("overnight span, after midnight")
        << Rules(R"({"schedule": [{"days": ["sat"], "from": "22:00", "to": "06:00"}]})")
        << SATURDAY_LATE + 4 * 3600 * 1000LL << threeSeconds << QStringLiteral("+3@0 -35, -3@5 -35");
    QTest::newRow("overnight span, next evening")
        << Rules(R"({"schedule": [{"days": ["sat"], "from": "22:00", "to": "06:00"}]})")
        << SATURDAY_LATE + 20 * 3600 * 1000LL << threeSeconds << QString();
}

void tst_Alerts::rulesAgainstSequences()
{
    QFETCH(QByteArray, rules);
    QFETCH(qint64, start);
    QFETCH(QString, looks);
    QFETCH(QString, events);
    QList<ALERT_RULE> parsed;
    QString error;
    QVERIFY2(CAlertRules::FromJson(rules, parsed, error), qPrintable(error));
    QCOMPARE(Run(parsed, start, looks), events);
}

void tst_Alerts::badRulesRefused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("says");

    QTest::newRow("no JSON") << QByteArray("{\"version\": 1, ") << QStringLiteral("no JSON");
    QTest::newRow("other version") << QByteArray(R"({"version": 2, "rules": [{}]})") << QStringLiteral("version 1");
    QTest::newRow("no rules") << Rules("") << QStringLiteral("1 to 32");
    QTest::newRow("33 rules") << Rules(QByteArray("{},").repeated(32).append("{}").constData())
                              << QStringLiteral("1 to 32");
    QTest::newRow("band 31") << Rules(R"({}, {"bands": [31]})") << QStringLiteral("Alert rule 2: \"bands\" holds 31");
    QTest::newRow("band text") << Rules(R"({"bands": ["3"]})") << QStringLiteral("no band");
    QTest::newRow("negative seconds") << Rules(R"({"seconds": -1})") << QStringLiteral("\"seconds\"");
    QTest::newRow("fraction of seconds") << Rules(R"({"seconds": 1.5})") << QStringLiteral("\"seconds\"");
    QTest::newRow("condition") << Rules(R"({"condition": "loud"})") << QStringLiteral("\"condition\"");
    QTest::newRow("day") << Rules(R"({"schedule": [{"days": ["monday"], "from": "08:00", "to": "09:00"}]})")
                         << QStringLiteral("\"monday\" is no day");
    QTest::newRow("hour") << Rules(R"({"schedule": [{"days": ["mon"], "from": "25:00", "to": "09:00"}]})")
                          << QStringLiteral("HH:MM");
    QTest::newRow("empty schedule") << Rules(R"({"schedule": []})") << QStringLiteral("\"schedule\"");
    QTest::newRow("too long") << QByteArray(70000, ' ') << QStringLiteral("64 KB");
}

void tst_Alerts::badRulesRefused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, says);
    QList<ALERT_RULE> rules = CAlertRules::Default();
    QString error;
    QVERIFY(!CAlertRules::FromJson(json, rules, error));
    QVERIFY2(error.contains(says), qPrintable(error));
    QCOMPARE(rules, CAlertRules::Default());
}

void tst_Alerts::rulesRoundTrip()
{
    const QByteArray json = Rules(R"({"bands": [0, 18], "seconds": 10, "condition": "baseline",
        "schedule": [{"days": ["mon", "sun"], "from": "22:30", "to": "06:00"}]}, {"seconds": 0})");
    QList<ALERT_RULE> rules;
    QList<ALERT_RULE> again;
    QString error;
    QVERIFY2(CAlertRules::FromJson(json, rules, error), qPrintable(error));
    QCOMPARE(rules.size(), 2);
    QCOMPARE(rules[0].schedule.size(), 2);
    QVERIFY2(CAlertRules::FromJson(CAlertRules::ToJson(rules), again, error), qPrintable(error));
    QCOMPARE(again, rules);
}

void tst_Alerts::jsonLines()
{
    ALERT alert;
    alert.sequence = 7;
    alert.detector = QStringLiteral("Room \"12\"");
    alert.band = 3;
    alert.bandName = QStringLiteral("GSM900");
    alert.startedMs = MONDAY_NOON;
    alert.levelDbm = -41;
    alert.peakDbm = -35;
    const QByteArray start = CAlertJson::Line(alert);
    QVERIFY(start.endsWith('\n') && start.count('\n') == 1);
    const QJsonObject first = QJsonDocument::fromJson(start).object();
    QCOMPARE(first.value(QStringLiteral("event")).toString(), QStringLiteral("start"));
    QCOMPARE(first.value(QStringLiteral("detector")).toString(), alert.detector);
    QCOMPARE(first.value(QStringLiteral("started")).toString(), QStringLiteral("2026-12-07T12:00:00.000Z"));
    QVERIFY(!first.contains(QStringLiteral("ended")));
    alert.start = false;
    alert.endedMs = MONDAY_NOON + 4500;
    const QJsonObject end = QJsonDocument::fromJson(CAlertJson::Line(alert)).object();
    QCOMPARE(end.value(QStringLiteral("event")).toString(), QStringLiteral("end"));
    QCOMPARE(end.value(QStringLiteral("duration_s")).toDouble(), 4.5);
}

void tst_Alerts::logFoldsEntries_data()
{
    QTest::addColumn<int>("damagedEntry");
    QTest::addColumn<QString>("acknowledgedBy");
    QTest::newRow("whole") << -1 << QStringLiteral("Olga");
    QTest::newRow("start damaged: the end makes the row") << 0 << QStringLiteral("Olga");
    QTest::newRow("acknowledgement damaged") << 2 << QString();
}

void tst_Alerts::logFoldsEntries()
{
    QFETCH(int, damagedEntry);
    QFETCH(QString, acknowledgedBy);
    QByteArray bytes = CAlertLogCodec::Header();
    const QList<CAlertLogCodec::ENTRY> entries = Lifetime();
    for (int i = 0; i < entries.size(); ++i) {
        QByteArray frame = CAlertLogCodec::Encode(entries[i]);
        if (i == damagedEntry)
            frame[frame.size() / 2] = char(frame[frame.size() / 2] ^ 0x55);
        bytes += frame;
    }
    const CAlertLogCodec::CONTENTS contents = CAlertLogCodec::Decode(bytes);
    QVERIFY(contents.ok);
    QCOMPARE(contents.damagedPlaces, damagedEntry < 0 ? 0 : 1);
    CAlertList list;
    for (const CAlertLogCodec::ENTRY& entry : contents.entries)
        list.Apply(entry);
    QCOMPARE(list.Alerts().size(), 1);
    const ALERT& alert = list.Alerts().first();
    QCOMPARE(alert.DurationMs(), 12500);
    QCOMPARE(alert.peakDbm, -41);
    QCOMPARE(alert.acknowledgedBy, acknowledgedBy);
    // Cut anywhere, it reads what came before and nothing more.
    for (qsizetype size = 0; size < bytes.size(); ++size)
        QVERIFY(CAlertLogCodec::Decode(bytes.left(size)).entries.size() <= contents.entries.size());
    const QByteArray csv = CAlertCsv::Table(list.Alerts());
    QVERIFY2(csv.contains("\"Room 12, \"\"east\"\"\",7,WLAN 2.4,alarm,-50,-41,12.5,"), csv.constData());
}

void tst_Alerts::logFileAppendsOnly()
{
    QTemporaryDir storage;
    const QString path = CAlertLogFile::PathIn(storage.path());
    QString error;
    for (const CAlertLogCodec::ENTRY& entry : Lifetime())
        QVERIFY2(CAlertLogFile::Append(path, entry, error), qPrintable(error));
    CAlertList list;
    QVERIFY2(CAlertLogFile::Load(path, list, error), qPrintable(error));
    QCOMPARE(list.Alerts().size(), 1);
    QCOMPARE(list.Unacknowledged(), 0);

    // A file of something else is neither read nor written to.
    const QString foreign = storage.filePath(QStringLiteral("foreign.orzalert"));
    QFile file(foreign);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray("ORZREC\2\0 and more", 17)) == 17);
    file.close();
    QVERIFY(!CAlertLogFile::Append(foreign, Lifetime().first(), error));
    QVERIFY(error.contains(QLatin1String("no alert log")));
    QCOMPARE(QFileInfo(foreign).size(), qint64(17));
    QVERIFY(!CAlertLogFile::Load(foreign, list, error));
}

void tst_Alerts::listIsBounded()
{
    CAlertList list;
    CAlertLogCodec::ENTRY entry = Lifetime().first();
    for (int i = 0; i < CAlertList::MAX_ALERTS + 5; ++i) {
        entry.alert.startedMs = MONDAY_NOON + i;
        list.Apply(entry);
    }
    QCOMPARE(list.Alerts().size(), CAlertList::MAX_ALERTS);
    QCOMPARE(list.Alerts().first().startedMs, MONDAY_NOON + 5);
    CAlertLogCodec::ENTRY acknowledgement;
    QVERIFY(list.Acknowledgement(0, QStringLiteral("Ivan"), MONDAY_NOON, acknowledgement));
    list.Apply(acknowledgement);
    QCOMPARE(list.Unacknowledged(), CAlertList::MAX_ALERTS - 1);
    QVERIFY(!list.Acknowledgement(CAlertList::MAX_ALERTS, QStringLiteral("Ivan"), MONDAY_NOON, acknowledgement));
}

QTEST_GUILESS_MAIN(tst_Alerts)
#include "tst_Alerts.moc"
