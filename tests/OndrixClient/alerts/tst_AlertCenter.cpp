#include "RZ450Layout.h"
#include "alerts/CAlertActions.h"
#include "alerts/CAlertAnnouncer.h"
#include "alerts/CAlertCenter.h"
#include "alerts/CAlertListWindow.h"
#include "alerts/CAlertLogFile.h"
#include "alerts/CAlertSound.h"
#include "alerts/CAlertTrayIcon.h"
#include "alerts/CDesktopNotifier.h"

#include <QDBusConnection>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Heard nowhere, as on a computer without sound output.
class CSilentSound : public CAlertSound
{
public:
    using CAlertSound::CAlertSound;
    bool HasDevice() const override { return false; }
};

// A look at a detector in automatic mode with the bands flagged.
RZ450_LOOK Look(bool online, const QList<int>& flagged)
{
    RZ450_LOOK look;
    look.online = online;
    look.mode = 4;
    look.levels = QByteArray(RZ450Layout::BAND_COUNT, char(RZ450Layout::DBM_OFFSET - 50));
    look.thresholds = QByteArray(RZ450Layout::BAND_COUNT, char(RZ450Layout::DBM_OFFSET - 70));
    for (const int band : flagged)
        look.flags |= 1U << band;
    return look;
}

} // namespace

class tst_AlertCenter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void levelFollowsTheLooks_data();
    void levelFollowsTheLooks();
    void alertIsLoggedToldAndAcknowledged();
    void unwritableLogLosesNoAlert();
};

void tst_AlertCenter::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_AlertCenter::levelFollowsTheLooks_data()
{
    QTest::addColumn<QList<RZ450_LOOK>>("looks"); // a second apart
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("alerts");
    const RZ450_LOOK quiet = Look(true, {});
    const RZ450_LOOK alarm = Look(true, { 4 });
    const RZ450_LOOK away = Look(false, {});
    QTest::newRow("quiet") << QList<RZ450_LOOK> { quiet, quiet } << int(CAlertCenter::Quiet) << 0;
    QTest::newRow("away") << QList<RZ450_LOOK> { away } << int(CAlertCenter::Offline) << 0;
    QTest::newRow("an alarm shorter than the rule")
        << QList<RZ450_LOOK> { alarm, alarm } << int(CAlertCenter::Alarm) << 0;
    QTest::newRow("an alarm as long as the rule")
        << QList<RZ450_LOOK> { alarm, alarm, alarm, alarm } << int(CAlertCenter::Alerting) << 1;
    // Over, but nobody heard of it yet: still the worst.
    QTest::newRow("an alert that ended") << QList<RZ450_LOOK> { alarm, alarm, alarm, alarm, quiet }
                                         << int(CAlertCenter::Alerting) << 1;
    QTest::newRow("an alert cut by the link")
        << QList<RZ450_LOOK> { alarm, alarm, alarm, alarm, away } << int(CAlertCenter::Alerting) << 1;
}

void tst_AlertCenter::levelFollowsTheLooks()
{
    QFETCH(QList<RZ450_LOOK>, looks);
    QFETCH(int, level);
    QFETCH(int, alerts);
    CAlertCenter center;
    QSignalSpy worst(&center, &CAlertCenter::levelChanged);
    qint64 nowMs = 1'700'000'000'000;
    for (const RZ450_LOOK& look : std::as_const(looks)) {
        center.Take(QStringLiteral("Lobby"), look, nowMs);
        nowMs += 1000;
    }
    QCOMPARE(int(center.LevelOf(QStringLiteral("Lobby"))), level);
    QCOMPARE(int(center.Worst()), level);
    QCOMPARE(center.List().Alerts().size(), alerts);
    if (level != CAlertCenter::Quiet)
        QCOMPARE(worst.constLast().at(0).value<CAlertCenter::Level>(), CAlertCenter::Level(level));
}

// An alert reaches the log, the notification, the sound, the tray and the
// list; an acknowledgement from the list names the user, stops the sound
// and leaves the log with both.
void tst_AlertCenter::alertIsLoggedToldAndAcknowledged()
{
    QTemporaryDir storage;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storage.filePath(QStringLiteral("settings")));
    CAlertCenter center;
    center.SetStoragePath(storage.path());
    CDesktopNotifier notifier(QDBusConnection(QStringLiteral("no bus")));
    CSilentSound sound;
    CAlertAnnouncer announcer(&center, &notifier, &sound);
    CAlertActions actions(&center, &announcer, &notifier, nullptr);
    QSignalSpy told(&notifier, &CDesktopNotifier::delivered);
    QSignalSpy acknowledge(actions.ListWindow(), &CAlertListWindow::acknowledgeRequested);

    qint64 nowMs = 1'700'000'000'000;
    for (int i = 0; i < 4; ++i, nowMs += 1000)
        center.Take(QStringLiteral("Lobby"), Look(true, { 4 }), nowMs);
    QCOMPARE(told.size(), 1);
    QVERIFY(sound.IsRepeating());
    QCOMPARE(actions.Tray()->CurrentLevel(), CAlertTrayIcon::Alerting);
    actions.ShowList();
    QVERIFY(QTest::qWaitForWindowExposed(actions.ListWindow()));
    auto* button = actions.ListWindow()->findChild<QPushButton*>(QStringLiteral("m_pAcknowledgeAllButton"));
    QVERIFY(button);
    button->click();
    QCOMPARE(acknowledge.size(), 1);
    QVERIFY(!sound.IsRepeating());
    QCOMPARE(center.List().Unacknowledged(), 0);
    QCOMPARE(center.List().Alerts().constFirst().acknowledgedBy, CAlertCenter::UserName());
    QCOMPARE(actions.Tray()->CurrentLevel(), CAlertTrayIcon::Alarm); // the band is still in alarm

    CAlertList logged;
    QString error;
    QVERIFY(CAlertLogFile::Load(CAlertLogFile::PathIn(storage.path()), logged, error));
    QCOMPARE(logged.Alerts().size(), 1);
    QCOMPARE(logged.Alerts().constFirst().acknowledgedBy, CAlertCenter::UserName());
}

// A log that cannot be written is said once; the alerts are still shown.
void tst_AlertCenter::unwritableLogLosesNoAlert()
{
    QTemporaryDir storage;
    QVERIFY(QFile(storage.filePath(QStringLiteral("Recordings"))).open(QIODevice::WriteOnly)); // a file, not a folder
    CAlertCenter center;
    center.SetStoragePath(storage.path());
    QSignalSpy problems(&center, &CAlertCenter::logProblem);
    qint64 nowMs = 1'700'000'000'000;
    for (int i = 0; i < 8; ++i, nowMs += 1000)
        center.Take(QStringLiteral("Lobby"), Look(true, { i < 4 ? 4 : 5 }), nowMs);
    QCOMPARE(problems.size(), 1);
    QVERIFY(center.List().Alerts().size() >= 1);
    QCOMPARE(center.Worst(), CAlertCenter::Alerting);
}

QTEST_MAIN(tst_AlertCenter)
#include "tst_AlertCenter.moc"
