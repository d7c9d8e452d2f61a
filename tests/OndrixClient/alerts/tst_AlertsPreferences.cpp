// The Alerts page of Preferences: each detector's rules edited apart, read
// whole at OK, and kept only then.
#include "CModalWatcher.h"
#include "alerts/CAlertRulesPage.h"
#include "alerts/CAlertSettings.h"
#include "app/CTranslationSet.h"
#include "mainwindow/CPreferencesDialog.h"

#include <QAudioDevice>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString LOCAL = QStringLiteral("local");
const QString SHARED = QStringLiteral("ondrixs://127.0.0.5");

} // namespace

class tst_AlertsPreferences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void editsKeptPerDetectorAndSaved();
    void badRowKeepsDialogOpen_data();
    void badRowKeepsDialogOpen();
    void cancelKeepsNothing();
    void noDetectorsLeavesSound();
    void translated();

private:
    template <typename T>
    T* Find(const char* name)
    {
        return m_pDialog->findChild<T*>(QLatin1String(name));
    }
    void SetCell(int row, int column, const QString& text)
    {
        Find<QTableWidget>("m_pRulesTable")->item(row, column)->setText(text);
    }
    QComboBox* Condition(int row)
    {
        return qobject_cast<QComboBox*>(
            Find<QTableWidget>("m_pRulesTable")->cellWidget(row, CAlertRulesPage::ConditionColumn));
    }

    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CPreferencesDialog> m_pDialog;
};

void tst_AlertsPreferences::init()
{
    m_pDir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_pDir->path());
    QDir(m_pDir->path()).mkpath(QStringLiteral("Sites/Roof"));
    QDir(m_pDir->path()).mkpath(QStringLiteral("Sites/Cellar"));
    ALERT_RULE night;
    night.bands = { 2 };
    night.schedule = { { 1, 1320, 360 } };
    CAlertSettings::SetRules(SHARED, { night, ALERT_RULE {} });
    m_pDialog = std::make_unique<CPreferencesDialog>(CPreferencesDialog::English);
    m_pDialog->SetAlertStorage(m_pDir->path());
    m_pDialog->SetAlertDetectors({ { LOCAL, QStringLiteral("This computer") }, { SHARED, QStringLiteral("Lab") } });
    m_pDialog->show();
}

void tst_AlertsPreferences::cleanup()
{
    m_pDialog.reset();
    CTranslationSet::Instance().SetLanguage(QStringLiteral("en_US"));
}

void tst_AlertsPreferences::editsKeptPerDetectorAndSaved()
{
    auto* table = Find<QTableWidget>("m_pRulesTable");
    auto* detectors = Find<QComboBox>("m_pDetectorCombo");
    auto* site = Find<QComboBox>("m_pSiteCombo");
    QCOMPARE(site->count(), 2); // Cellar, Roof
    QCOMPARE(table->rowCount(), 1);
    SetCell(0, CAlertRulesPage::BandsColumn, QStringLiteral("1, 2"));
    Condition(0)->setCurrentIndex(1);
    site->setCurrentText(QStringLiteral("Roof"));

    detectors->setCurrentIndex(1);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, CAlertRulesPage::ScheduleColumn)->text(), QStringLiteral("mon 22:00-06:00"));
    QCOMPARE(site->currentText(), QString());
    table->setCurrentCell(0, 0);
    QTest::mouseClick(Find<QPushButton>("m_pRemoveRuleButton"), Qt::LeftButton);
    QVERIFY(!Find<QPushButton>("m_pRemoveRuleButton")->isEnabled()); // the last rule stays
    QTest::mouseClick(Find<QPushButton>("m_pAddRuleButton"), Qt::LeftButton);
    SetCell(1, CAlertRulesPage::SecondsColumn, QStringLiteral("30"));

    detectors->setCurrentIndex(0);
    QCOMPARE(table->item(0, CAlertRulesPage::BandsColumn)->text(), QStringLiteral("1, 2"));
    QCOMPARE(Condition(0)->currentIndex(), 1);
    QCOMPARE(site->currentText(), QStringLiteral("Roof"));
    Find<QSlider>("m_pVolumeSlider")->setValue(35);
    Find<QCheckBox>("m_pMuteCheck")->setChecked(true);
    QVERIFY(!Find<QPushButton>("m_pTestSoundButton")->isEnabled());

    QTest::mouseClick(Find<QPushButton>("m_pOkButton"), Qt::LeftButton);
    QCOMPARE(m_pDialog->result(), int(QDialog::Accepted));
    ALERT_RULE baseline;
    baseline.bands = { 1, 2 };
    baseline.condition = ALERT_RULE::OverBaseline;
    QCOMPARE(CAlertSettings::Rules(LOCAL), QList<ALERT_RULE>({ baseline }));
    QCOMPARE(CAlertSettings::Site(LOCAL), QStringLiteral("Roof"));
    ALERT_RULE thirty;
    thirty.seconds = 30;
    QCOMPARE(CAlertSettings::Rules(SHARED), QList<ALERT_RULE>({ ALERT_RULE {}, thirty }));
    QCOMPARE(CAlertSettings::Volume(), 35);
    QCOMPARE(CAlertSettings::Muted(), true);
}

void tst_AlertsPreferences::badRowKeepsDialogOpen_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("message");

    QTest::newRow("bands") << int(CAlertRulesPage::BandsColumn) << "7, 40" << QString()
                           << "Detector \"Lab\", rule 2, Bands: \"40\" is no band: the bands are numbered 0 to 30.";
    QTest::newRow("schedule") << int(CAlertRulesPage::ScheduleColumn) << "weekdays 08:00-18:00" << QString()
                              << "Detector \"Lab\", rule 2, Schedule: \"weekdays\" is no day: use mon, tue, wed, "
                                 "thu, fri, sat or sun.";
    QTest::newRow("baseline without site")
        << int(CAlertRulesPage::ConditionColumn) << QString() << QString()
        << "Detector \"Lab\", rule 2, Condition: \"exceeds the baseline\" needs a site for the baseline: choose one "
           "below, or let the rule alert on the alarm.";
    QTest::newRow("site name") << int(CAlertRulesPage::ConditionColumn) << QString() << "Roof/2"
                               << "Detector \"Lab\", site for the baseline: A site's name may not hold / \\ : * ? \" "
                                  "< > | or control characters, nor begin or end with a space.";
}

void tst_AlertsPreferences::badRowKeepsDialogOpen()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, site);
    QFETCH(QString, message);
    auto* detectors = Find<QComboBox>("m_pDetectorCombo");
    auto* table = Find<QTableWidget>("m_pRulesTable");
    detectors->setCurrentIndex(1);
    if (text.isEmpty())
        Condition(1)->setCurrentIndex(1);
    else
        SetCell(1, column, text);
    Find<QComboBox>("m_pSiteCombo")->setCurrentText(site);
    detectors->setCurrentIndex(0);
    Find<QTabWidget>("m_pTabs")->setCurrentIndex(0);

    CModalWatcher watcher;
    QTest::mouseClick(Find<QPushButton>("m_pOkButton"), Qt::LeftButton);
    QCOMPARE(watcher.MessageTexts(), QStringList({ message }));
    QCOMPARE(m_pDialog->result(), int(QDialog::Rejected));
    QCOMPARE(Find<QTabWidget>("m_pTabs")->currentIndex(), 1);
    QCOMPARE(detectors->currentIndex(), 1);
    if (site.isEmpty())
        QCOMPARE(QPoint(table->currentColumn(), table->currentRow()), QPoint(column, 1));
    QVERIFY(!QSettings().contains(QStringLiteral("Alerts/Volume")));
    QCOMPARE(CAlertSettings::Rules(SHARED).size(), 2);
}

void tst_AlertsPreferences::cancelKeepsNothing()
{
    SetCell(0, CAlertRulesPage::SecondsColumn, QStringLiteral("9"));
    QTest::mouseClick(Find<QPushButton>("m_pDefaultRulesButton"), Qt::LeftButton);
    Find<QSlider>("m_pVolumeSlider")->setValue(5);
    const QStringList before = QSettings().allKeys();
    QTest::mouseClick(Find<QPushButton>("m_pCancelButton"), Qt::LeftButton);
    QCOMPARE(m_pDialog->result(), int(QDialog::Rejected));
    QCOMPARE(QSettings().allKeys(), before);
}

void tst_AlertsPreferences::noDetectorsLeavesSound()
{
    m_pDialog->SetAlertDetectors({});
    Find<QTabWidget>("m_pTabs")->setCurrentIndex(1);
    QVERIFY(Find<QLabel>("m_pNoDetectorsLabel")->isVisibleTo(m_pDialog.get()));
    QVERIFY(!Find<QWidget>("m_pRulesGroup")->isEnabled());
    QVERIFY(Find<QWidget>("m_pSoundGroup")->isEnabled());
    // Whatever this computer has, a test of the sound returns and tells
    // when nothing can be heard.
    QTest::mouseClick(Find<QPushButton>("m_pTestSoundButton"), Qt::LeftButton);
    QCOMPARE(Find<QLabel>("m_pSoundNoteLabel")->isVisibleTo(m_pDialog.get()), QMediaDevices::audioOutputs().isEmpty());
    Find<QSlider>("m_pVolumeSlider")->setValue(60);
    QTest::mouseClick(Find<QPushButton>("m_pOkButton"), Qt::LeftButton);
    QCOMPARE(m_pDialog->result(), int(QDialog::Accepted));
    QCOMPARE(CAlertSettings::Volume(), 60);
    QVERIFY(!QSettings().contains(QStringLiteral("Alerts/Detector/local/Rules")));
}

void tst_AlertsPreferences::translated()
{
    CTranslationSet::Instance().SetLanguage(QStringLiteral("ru_RU"));
    QCoreApplication::processEvents();
    QCOMPARE(Find<QTabWidget>("m_pTabs")->tabText(1), QStringLiteral("Тревоги"));
    QCOMPARE(Condition(0)->itemText(1), QStringLiteral("выше базового уровня"));
    QCOMPARE(Find<QPushButton>("m_pAddRuleButton")->text(), QStringLiteral("Добавить правило"));
}

QTEST_MAIN(tst_AlertsPreferences)
#include "tst_AlertsPreferences.moc"
