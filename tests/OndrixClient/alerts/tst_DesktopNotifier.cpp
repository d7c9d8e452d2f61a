// Notifications on a private session bus of the test's own, with a stand-in
// notification service that answers, is missing, or hangs.
#include "alerts/CDesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class CStandInNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    bool hang = false;
    QStringList seen;

public Q_SLOTS:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body, const QStringList&,
        const QVariantMap&, int, const QDBusMessage& message)
    {
        seen.append(summary + QLatin1Char('|') + body);
        // Never answered: the caller's time-out must end it.
        if (hang)
            message.setDelayedReply(true);
        return 7;
    }
};

class tst_DesktopNotifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void delivery_data();
    void delivery();

private:
    QProcess m_daemon;
    QString m_strAddress;
};

void tst_DesktopNotifier::initTestCase()
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1") });
    QVERIFY2(m_daemon.waitForStarted(), "dbus-daemon is needed");
    QVERIFY(m_daemon.waitForReadyRead(5000));
    m_strAddress = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QVERIFY(!m_strAddress.isEmpty());
}

void tst_DesktopNotifier::cleanupTestCase()
{
    m_daemon.kill();
    m_daemon.waitForFinished();
}

void tst_DesktopNotifier::delivery_data()
{
    QTest::addColumn<QString>("service"); // answers, missing, hangs
    QTest::addColumn<bool>("byService");
    QTest::newRow("the service answers") << QStringLiteral("answers") << true;
    QTest::newRow("no service") << QStringLiteral("missing") << false;
    QTest::newRow("the service hangs") << QStringLiteral("hangs") << false;
}

void tst_DesktopNotifier::delivery()
{
    QFETCH(QString, service);
    QFETCH(bool, byService);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QDBusConnection serviceBus = QDBusConnection::connectToBus(m_strAddress, name + QStringLiteral(" service"));
    CStandInNotifications standIn;
    standIn.hang = service == QLatin1String("hangs");
    if (service != QLatin1String("missing")) {
        QVERIFY(serviceBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
        QVERIFY(serviceBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &standIn,
            QDBusConnection::ExportAllSlots));
    }
    CDesktopNotifier notifier(QDBusConnection::connectToBus(m_strAddress, name + QStringLiteral(" client")));
    QSignalSpy delivered(&notifier, &CDesktopNotifier::delivered);
    // Ticks of the window's own go on while the service takes its time.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer tick;
    tick.setInterval(20);
    connect(&tick, &QTimer::timeout, this, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    sinceTick.start();
    tick.start();
    notifier.Notify(QStringLiteral("Hall: GSM 1800"), QStringLiteral("-41 dBm at 12:00:03"));
    QVERIFY(delivered.wait(CDesktopNotifier::TIMEOUT_MS + 3000));
    QCOMPARE(delivered.first().first().toBool(), byService);
    QCOMPARE(standIn.seen.size(), service == QLatin1String("missing") ? 0 : 1);
    if (!standIn.seen.isEmpty())
        QCOMPARE(standIn.seen.first(), QStringLiteral("Hall: GSM 1800|-41 dBm at 12:00:03"));
    QVERIFY2(longestGap < 100, qPrintable(QString::number(longestGap)));
    serviceBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    QDBusConnection::disconnectFromBus(name + QStringLiteral(" service"));
    QDBusConnection::disconnectFromBus(name + QStringLiteral(" client"));
}

QTEST_GUILESS_MAIN(tst_DesktopNotifier)
#include "tst_DesktopNotifier.moc"
