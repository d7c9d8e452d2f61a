#include "CModalWatcher.h"
#include "alerts/CAlertCsv.h"
#include "alerts/CAlertListWindow.h"
#include "alerts/CAlertTrayIcon.h"
#include "app/CTranslationSet.h"
#include "app/ClientSettingsKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

namespace {

const qint64 T0 = 1796644800000; // 2026-12-07 12:00:00 UTC

// Detector "D<n>", started n minutes after T0; running for a negative length.
ALERT Alert(int n, qint64 lengthMs = 1000, const QString& by = QString())
{
    ALERT alert;
    alert.detector = QStringLiteral("D%1").arg(n);
    alert.band = n % 16;
    alert.bandName = QStringLiteral("B%1     /").arg(n % 16);
    alert.startedMs = T0 + n * 60000LL;
    alert.endedMs = lengthMs < 0 ? 0 : alert.startedMs + lengthMs;
    alert.peakDbm = -41;
    alert.acknowledgedBy = by;
    alert.acknowledgedMs = by.isEmpty() ? 0 : alert.startedMs + 5000;
    return alert;
}

QList<ALERT> Alerts(int from, int to)
{
    QList<ALERT> alerts;
    for (int n = from; n < to; ++n)
        alerts.append(Alert(n));
    return alerts;
}

QTableView* View(CAlertListWindow& window)
{
    return window.findChild<QTableView*>(QStringLiteral("m_pTableView"));
}

QStringList SelectedDetectors(CAlertListWindow& window)
{
    QStringList detectors;
    for (const QModelIndex& index : View(window)->selectionModel()->selectedRows(1))
        detectors.append(index.data().toString());
    detectors.sort();
    return detectors;
}

void SetLanguage(const char* language)
{
    CTranslationSet::Instance().SetLanguage(QLatin1String(language));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

} // namespace

Q_DECLARE_METATYPE(ALERT)

class tst_AlertWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void texts_data();
    void texts();
    void acknowledge_data();
    void acknowledge();
    void refreshKeepsPlaceQuickly();
    void exportCsv_data();
    void exportCsv();
    void trayIcon_data();
    void trayIcon();
    void traySignals_data();
    void traySignals();
    void languageChange();
};

void tst_AlertWindows::initTestCase()
{
    qputenv("TZ", "UTC");
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("tst_AlertWindows"));
    SetLanguage(CTranslationSet::ENGLISH);
}

void tst_AlertWindows::texts_data()
{
    QTest::addColumn<ALERT>("alert");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QString>("acknowledged");
    QTest::addColumn<bool>("red");
    const QString ann = QStringLiteral("by Ann at 2026-12-07 12:03:05");
    QTest::newRow("running") << Alert(3, -1) << "running"
                             << "" << true;
    QTest::newRow("running, heard") << Alert(3, -1, "Ann") << "running" << ann << false;
    QTest::newRow("seconds") << Alert(3, 12999) << "12 s"
                             << "" << false;
    QTest::newRow("none") << Alert(3, 0) << "0 s"
                          << "" << false;
    QTest::newRow("minutes") << Alert(3, 185000) << "3 min 5 s"
                             << "" << false;
    QTest::newRow("whole minutes") << Alert(3, 180000) << "3 min"
                                   << "" << false;
    QTest::newRow("hours") << Alert(3, 3725000, "Ann") << "1 h 2 min" << ann << false;
    QTest::newRow("whole hours") << Alert(3, 7200000) << "2 h"
                                 << "" << false;
}

void tst_AlertWindows::texts()
{
    QFETCH(ALERT, alert);
    QFETCH(QString, duration);
    QFETCH(QString, acknowledged);
    QFETCH(bool, red);
    CAlertListWindow window;
    window.SetAlerts({ alert });
    const QAbstractItemModel* model = View(window)->model();
    const QStringList texts { "2026-12-07 12:03:00", "D3", "3 B3", "-41 dBm", duration, acknowledged };
    for (int column = 0; column < texts.size(); ++column)
        QCOMPARE(model->index(0, column).data().toString(), texts.at(column));
    QCOMPARE(model->index(0, 1).data(Qt::FontRole).value<QFont>().bold(), acknowledged.isEmpty());
    QCOMPARE(model->index(0, 1).data(Qt::BackgroundRole).isValid(), red);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("m_pStatusLabel"))->text(),
        QStringLiteral("1 alert, %1 not acknowledged").arg(acknowledged.isEmpty() ? 1 : 0));
}

void tst_AlertWindows::acknowledge_data()
{
    QTest::addColumn<QList<int>>("clickRows");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("requested");
    // Alerts 0..4 shown newest first; 1 and 3 acknowledged.
    QTest::newRow("newest") << QList<int> { 0 } << "m_pAcknowledgeButton" << QList<int> { 4 };
    QTest::newRow("two") << QList<int> { 4, 0 } << "m_pAcknowledgeButton" << QList<int> { 0, 4 };
    QTest::newRow("heard left out") << QList<int> { 1, 2, 3 } << "m_pAcknowledgeButton" << QList<int> { 2 };
    QTest::newRow("only heard") << QList<int> { 1 } << "m_pAcknowledgeButton" << QList<int>();
    QTest::newRow("all") << QList<int> { 2 } << "m_pAcknowledgeAllButton" << QList<int> { 0, 2, 4 };
}

void tst_AlertWindows::acknowledge()
{
    QFETCH(QList<int>, clickRows);
    QFETCH(QString, button);
    QFETCH(QList<int>, requested);
    QList<ALERT> alerts = Alerts(0, 5);
    alerts[1].acknowledgedMs = alerts[3].acknowledgedMs = T0;
    CAlertListWindow window;
    window.SetAlerts(alerts);
    window.show();
    QTableView* view = View(window);
    for (int row : clickRows)
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier,
            view->visualRect(view->model()->index(row, 1)).center());
    QSignalSpy spy(&window, &CAlertListWindow::acknowledgeRequested);
    auto* push = window.findChild<QPushButton*>(button);
    QCOMPARE(push->isEnabled(), !requested.isEmpty());
    QTest::mouseClick(push, Qt::LeftButton);
    QCOMPARE(spy.size(), requested.isEmpty() ? 0 : 1);
    if (!requested.isEmpty())
        QCOMPARE(spy.at(0).at(0).value<QList<int>>(), requested);
}

// The same rows with new contents, then every row moved by one: what was
// chosen and the alert at the top stay.
void tst_AlertWindows::refreshKeepsPlaceQuickly()
{
    CAlertListWindow window;
    window.resize(800, 400);
    window.show();
    QList<ALERT> alerts = Alerts(0, 10000);
    window.SetAlerts(alerts);
    QTableView* view = View(window);
    view->doItemsLayout();
    view->scrollTo(view->model()->index(5000, 0), QAbstractItemView::PositionAtTop);
    view->selectRow(5001);
    QCOMPARE(view->model()->index(view->rowAt(0), 1).data().toString(), QStringLiteral("D4999"));
    alerts[5000].acknowledgedMs = T0;
    // Processor time: other builds share the machine and stretch the clock's.
    const auto ms = [](std::clock_t from) { return qint64(std::clock() - from) * 1000 / CLOCKS_PER_SEC; };
    std::clock_t start = std::clock();
    window.SetAlerts(alerts);
    const qint64 same = ms(start);
    alerts.removeFirst();
    alerts.append(Alert(10000));
    start = std::clock();
    window.SetAlerts(alerts);
    const qint64 moved = ms(start);
    QVERIFY2(same < 50 && moved < 50, qPrintable(QStringLiteral("%1 ms, %2 ms").arg(same).arg(moved)));
    QCOMPARE(view->model()->index(view->rowAt(0), 1).data().toString(), QStringLiteral("D4999"));
    QCOMPARE(SelectedDetectors(window), QStringList { QStringLiteral("D4998") });
}

void tst_AlertWindows::exportCsv_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("messages");
    QTest::newRow("written") << "alerts.csv" << 0;
    QTest::newRow("cancelled") << "" << 0;
    QTest::newRow("no folder") << "missing/alerts.csv" << 1;
}

void tst_AlertWindows::exportCsv()
{
    QFETCH(QString, name);
    QFETCH(int, messages);
    QTemporaryDir dir;
    QSettings().setValue(QLatin1String(ClientSettingsKeys::ALERTS_CSV_FOLDER), dir.path());
    CAlertListWindow window;
    window.SetAlerts(Alerts(0, 3));
    QString suggested;
    window.SetChooser([&](const QString& offered) {
        suggested = offered;
        return name.isEmpty() ? QString() : dir.filePath(name);
    });
    CModalWatcher watcher;
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("m_pExportButton")), Qt::LeftButton);
    QCOMPARE(QFileInfo(suggested).absolutePath(), dir.path());
    QCOMPARE(watcher.Messages().size(), messages);
    QFile file(dir.filePath(name));
    QCOMPARE(file.open(QIODevice::ReadOnly), name == QLatin1String("alerts.csv"));
    if (file.isOpen())
        QCOMPARE(file.readAll(), CAlertCsv::Table(Alerts(0, 3)));
}

void tst_AlertWindows::trayIcon_data()
{
    QTest::addColumn<CAlertTrayIcon::Level>("level");
    QTest::addColumn<QString>("colour"); // of the badge: hue, or s for grey
    QTest::addColumn<QString>("tip");
    QTest::newRow("quiet") << CAlertTrayIcon::Quiet << "120"
                           << "Ondrix: all detectors quiet";
    QTest::newRow("offline") << CAlertTrayIcon::Offline << "s"
                             << "Ondrix: a detector cannot be reached";
    QTest::newRow("alarm") << CAlertTrayIcon::Alarm << "40"
                           << "Ondrix: a band is in alarm";
    QTest::newRow("alerting") << CAlertTrayIcon::Alerting << "0"
                              << "Ondrix: an alert is not acknowledged";
}

void tst_AlertWindows::trayIcon()
{
    QFETCH(CAlertTrayIcon::Level, level);
    QFETCH(QString, colour);
    QFETCH(QString, tip);
    for (int size : { 16, 32, 64 }) {
        // The badge's middle, in the lower right corner.
        const QImage image = CAlertTrayIcon::IconFor(level).pixmap(size, size).toImage();
        const QColor badge = image.pixelColor(size * 7 / 10, size * 7 / 10);
        const QString seen = QStringLiteral("%1 px: %2").arg(size).arg(badge.name());
        if (colour == QLatin1String("s"))
            QVERIFY2(badge.hsvSaturation() < 20 && badge.value() > 80, qPrintable(seen));
        else
            QVERIFY2(badge.hsvSaturation() > 150 && qAbs(badge.hsvHue() - colour.toInt()) < 20, qPrintable(seen));
    }
    CAlertTrayIcon tray;
    tray.SetLevel(level == CAlertTrayIcon::Quiet ? CAlertTrayIcon::Alerting : CAlertTrayIcon::Quiet);
    tray.SetLevel(level);
    QCOMPARE(tray.Tray()->toolTip(), tip);
    QCOMPARE(tray.Tray()->icon().pixmap(32, 32).toImage(), CAlertTrayIcon::IconFor(level).pixmap(32, 32).toImage());
}

void tst_AlertWindows::traySignals_data()
{
    QTest::addColumn<int>("action"); // in the menu; -1: the icon, for that reason
    QTest::addColumn<int>("reason");
    QTest::addColumn<QString>("signal");
    QTest::newRow("overview") << 0 << 0 << "overview";
    QTest::newRow("alerts") << 1 << 0 << "alerts";
    QTest::newRow("acknowledge") << 2 << 0 << "acknowledge";
    QTest::newRow("mute") << 4 << 0 << "mute 1";
    QTest::newRow("click") << -1 << int(QSystemTrayIcon::Trigger) << "alerts";
    QTest::newRow("context") << -1 << int(QSystemTrayIcon::Context) << "";
}

void tst_AlertWindows::traySignals()
{
    QFETCH(int, action);
    QFETCH(int, reason);
    QFETCH(QString, signal);
    CAlertTrayIcon tray;
    QVERIFY(!tray.Show()); // offscreen has no tray, and that does no harm
    QStringList heard;
    connect(&tray, &CAlertTrayIcon::overviewRequested, this, [&] { heard << "overview"; });
    connect(&tray, &CAlertTrayIcon::alertsRequested, this, [&] { heard << "alerts"; });
    connect(&tray, &CAlertTrayIcon::acknowledgeAllRequested, this, [&] { heard << "acknowledge"; });
    connect(&tray, &CAlertTrayIcon::muteToggled, this, [&](bool on) { heard << QStringLiteral("mute %1").arg(on); });
    tray.SetMuted(true); // follows the sound silently
    tray.SetMuted(false);
    if (action >= 0)
        tray.Menu()->actions().at(action)->trigger();
    else
        Q_EMIT tray.Tray()->activated(QSystemTrayIcon::ActivationReason(reason));
    QCOMPARE(heard, signal.isEmpty() ? QStringList() : QStringList { signal });
}

void tst_AlertWindows::languageChange()
{
    CAlertListWindow window;
    window.SetAlerts({ Alert(1, -1) });
    CAlertTrayIcon tray;
    SetLanguage(CTranslationSet::RUSSIAN);
    const QStringList russian { window.windowTitle(), View(window)->model()->headerData(0, Qt::Horizontal).toString(),
        View(window)->model()->index(0, 4).data().toString(), tray.Menu()->actions().at(4)->text(),
        tray.Tray()->toolTip() };
    SetLanguage(CTranslationSet::ENGLISH);
    QCOMPARE(russian,
        QStringList({ "Тревоги", "Начало", "продолжается", "Выключить звук", "Ondrix: все приборы спокойны" }));
    QCOMPARE(window.windowTitle(), QStringLiteral("Alerts"));
    QCOMPARE(tray.Menu()->actions().at(4)->text(), QStringLiteral("Mute Sound"));
}

QTEST_MAIN(tst_AlertWindows)
#include "tst_AlertWindows.moc"
