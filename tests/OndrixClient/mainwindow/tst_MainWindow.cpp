// The main window's poll, recovery, panes, front panel and window state
// against a fake driver it is driven by tick by tick, and its live view
// against the real driver talking to the simulated detector.
#include "CFakeDevice.h"
#include "CModalWatcher.h"
#include "CPtyServer.h"
#include "CRZ450Device.h"
#include "CRZ450Simulator.h"
#include "CRecordingDeviceGui.h"
#include "CTestVirtualDevice.h"
#include "app/CClientSession.h"
#include "app/CTranslationSet.h"
#include "app/ClientSettingsKeys.h"
#include "baseline/CBaselineActions.h"
#include "baseline/CBaselineComparator.h"
#include "baseline/CBaselineFile.h"
#include "baseline/CCaptureBaselineDialog.h"
#include "connect/CStartupWindow.h"
#include "diagram/CBandFlagMarks.h"
#include "diagram/CQDiagramWidget.h"
#include "files/CRecordingCodec.h"
#include "live/CLiveFeed.h"
#include "live/CLiveRecorder.h"
#include "live/CRecordingRetention.h"
#include "mainwindow/CDeviceWidget.h"
#include "mainwindow/CMainWindow.h"
#include "overview/COverview.h"
#include "overview/COverviewActions.h"
#include "overview/COverviewDetectors.h"
#include "overview/COverviewPanel.h"
#include "proxy/CMetaDevice.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

// Reaches the diagram's lines, which only the widget's own kind may touch.
struct CDiagramPeek : CQDiagramWidget
{
    using CQDiagramWidget::m_areas;
    using CQDiagramWidget::m_ranges;
};

const DIAGRAM_RANGES& Ranges(CQDiagramWidget* diagram)
{
    return diagram->*(&CDiagramPeek::m_ranges);
}

QList<quint64> ValueTimes(CQDiagramWidget* diagram)
{
    QList<quint64> times;
    const QList<DIAGRAM_AREA*>& areas = diagram->*(&CDiagramPeek::m_areas);
    for (const DATA_VALUE& value : areas.first()->lines.first()->values)
        times.append(value.x.toULongLong());
    return times;
}

quint64 Now()
{
    return quint64(QDateTime::currentSecsSinceEpoch());
}

int ValueCount(CQDiagramWidget* diagram)
{
    const QList<DIAGRAM_AREA*>& areas = diagram->*(&CDiagramPeek::m_areas);
    if (areas.isEmpty() || areas.first()->lines.isEmpty())
        return 0;
    return int(areas.first()->lines.first()->values.size());
}

// Times of the fake's records numbered first to first + count - 1.
QList<quint64> Times(int first, int count)
{
    QList<quint64> times;
    for (int i = 0; i < count; ++i)
        times.append(CFakeDevice::FirstTime() + quint64(first + i));
    return times;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void stateLabelsFollowTheDevice();
    void recoveryAfterAWorkerFaultBringsTheDeviceBack();
    void recordsReachTheDiagramInOrder();
    void noRecordsWhileTheModeIsNotPositive();
    void clearedBufferIsFetchedFromZero();
    void modeChangePreparesTheDiagramOnce();
    void channelChangeClearsDiagramAndDevice();
    void clearDataAsksAndClears();
    void liveViewFollowsTheDetectorClock_data();
    void liveViewFollowsTheDetectorClock();
    void clockSteppedBackKeepsTheHistory_data();
    void clockSteppedBackKeepsTheHistory();
    void ringWrapLateByMostOfARingLosesNothing();
    void recordingFollowsThePreference_data();
    void recordingFollowsThePreference();
    void heldViewsRecordOnAndComeBack_data();
    void heldViewsRecordOnAndComeBack();
    void processingErrorStaysUntilReplaced();
    void baselineTakesTheLiveRecords_data();
    void baselineTakesTheLiveRecords();

    void keyHeldElevenTicksSendsTheLongPress();
    void keyHeldInRealTime();
    void releaseOutsideTheKeysSendsNothing();

    void windowStateRoundTrip();
    void defaultsWithoutSavedState();
    void maximizeButtonsSwapThePanes();
    void logViewSwitch();
    void hostsTheGuiControls();
    void autoscrollButtonAndDiagramAgree();
    void languageSwitchToRussianAndBack();
    void closeGivesTheDeviceBack();
    void closeTakesTheGuiWindowsDown();
    void changeDeviceRestartsTheConnection();
    void startServerWithoutTheProgramKeepsTheDevice();

    void liveWithTheSimulatedDetector();
    void overviewModeSwapsTheContentAndBack();

private:
    void MakeWindow();
    void Tick(int times = 1);
    QString StateText();
    template <typename T>
    T* Find(const char* name)
    {
        return m_pWindow->findChild<T*>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> m_pSettings;
    std::unique_ptr<CFakeDevice> m_pFake;
    std::unique_ptr<CRecordingDeviceGui> m_pGui;
    std::unique_ptr<CMainWindow> m_pWindow;
    CMetaDevice* m_pDevice = nullptr;
};

void TestMainWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestMainWindow::init()
{
    m_pSettings = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_pSettings->path());
    QCoreApplication::setOrganizationName(QStringLiteral("Korvent"));
    QCoreApplication::setApplicationName(QStringLiteral("RZ450 Ondrix"));
    QSettings().setValue(QStringLiteral("General/Language"), QStringLiteral("en_US"));
    m_pFake = std::make_unique<CFakeDevice>();
    m_pGui = std::make_unique<CRecordingDeviceGui>(QStringLiteral("FAKE"));
    m_pDevice = new CMetaDevice(m_pFake.get());
    m_pDevice->Initialize();
    CClientSession::SetCurrent(m_pDevice, m_pGui.get());
}

void TestMainWindow::cleanup()
{
    m_pWindow.reset();
    CClientSession::Release(); // the proxy; the fake and the GUI are ours
    m_pGui.reset();
    m_pFake.reset();
}

void TestMainWindow::MakeWindow()
{
    m_pWindow = std::make_unique<CMainWindow>();
    // Driven tick by tick from here on.
    Find<QTimer>("m_timer")->stop();
    m_pGui->ClearCalls();
}

void TestMainWindow::Tick(int times)
{
    for (int i = 0; i < times; ++i)
        m_pWindow->OnTimer();
}

QString TestMainWindow::StateText()
{
    // Ready, state, mode: the second field is the state.
    const QList<QLabel*> labels = m_pWindow->statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    for (QLabel* label : labels) {
        if (label->text() == QLatin1String("Online") || label->text() == QLatin1String("Offline")
            || label->text() == QLatin1String("Error"))
            return label->text();
    }
    return QString();
}

// ---------------------------------------------------------------------------
// The poll

void TestMainWindow::stateLabelsFollowTheDevice()
{
    MakeWindow();
    QCOMPARE(StateText(), QStringLiteral("Offline")); // before the first tick
    Tick();
    QCOMPARE(StateText(), QStringLiteral("Online"));
    QCOMPARE(m_pWindow->GetState(), CMainWindow::StateOnline);
    m_pFake->SetReachable(false);
    Tick();
    QCOMPARE(StateText(), QStringLiteral("Offline"));
    m_pWindow->show();
    m_pFake->InjectFault();
    Tick();
    QCOMPARE(StateText(), QStringLiteral("Error"));
    QCOMPARE(m_pWindow->statusBar()->currentMessage(),
        QStringLiteral("Device data exchange error occurred! Trying to restart exchange process..."));
    // The message takes the first field; the state stays in sight.
    const QList<QLabel*> labels = m_pWindow->statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    for (QLabel* label : labels) {
        if (label->text() == QLatin1String("Error") || label->text() == QLatin1String("Normal"))
            QVERIFY(label->isVisible());
    }
}

void TestMainWindow::recoveryAfterAWorkerFaultBringsTheDeviceBack()
{
    MakeWindow();
    Tick();
    QCOMPARE(m_pFake->Users(), 1);
    m_pFake->InjectFault();
    QElapsedTimer clock;
    clock.start();
    Tick();
    QVERIFY(clock.elapsed() >= CMainWindow::RECOVERY_PAUSE_MS);
    QCOMPARE(m_pWindow->GetState(), CMainWindow::StateError);
    // The use was given back before the new Initialize: the exchange
    // really started again, and the count did not grow.
    QCOMPARE(m_pFake->Starts(), 2);
    QCOMPARE(m_pFake->Users(), 1);
    Tick();
    QCOMPARE(m_pWindow->GetState(), CMainWindow::StateOnline);
    QCOMPARE(StateText(), QStringLiteral("Online"));
    // The fault's message goes once the device answers again.
    QVERIFY(m_pWindow->statusBar()->currentMessage().isEmpty());
}

void TestMainWindow::recordsReachTheDiagramInOrder()
{
    MakeWindow();
    m_pFake->AppendRecords(5);
    Tick();
    // The first records of a mode prepare the diagram for both trackers.
    QCOMPARE(m_pGui->Count(QStringLiteral("InitRealtimeDiagram")), 2);
    QVERIFY(m_pGui->Calls().contains(QStringLiteral("InitRealtimeDiagram:1:-1")));
    QCOMPARE(m_pGui->RecordTimes(), Times(0, 5));
    // The tick's mode goes along: a device GUI asking for it would cost a
    // round trip to a server for every record.
    QVERIFY(m_pGui->Calls().contains(QStringLiteral("AddRealtimeRecord:%1:1").arg(CFakeDevice::FirstTime())));
    Tick(); // nothing new
    m_pFake->AppendRecords(3);
    Tick();
    QCOMPARE(m_pGui->RecordTimes(), Times(0, 8));
    QCOMPARE(m_pGui->Count(QStringLiteral("InitRealtimeDiagram")), 2);
    QCOMPARE(ValueCount(Find<CQDiagramWidget>("m_pRealtimeGraphFrame")), 8);
    QCOMPARE(m_pWindow->GetFedRecordCount(), 8);
}

void TestMainWindow::noRecordsWhileTheModeIsNotPositive()
{
    MakeWindow();
    for (int mode : { 0, -1 }) {
        m_pFake->SetMode(mode);
        m_pFake->AppendRecords(4);
        Tick();
        QCOMPARE(m_pGui->Count(QStringLiteral("AddRealtimeRecord")), 0);
        QCOMPARE(m_pGui->Count(QStringLiteral("InitRealtimeDiagram")), 0);
    }
}

void TestMainWindow::clearedBufferIsFetchedFromZero()
{
    MakeWindow();
    m_pFake->AppendRecords(5);
    Tick();
    // A tick that sees the count at 0 starts over from index 0.
    m_pFake->RestartRecords();
    Tick();
    m_pFake->AppendRecords(3);
    Tick();
    QCOMPARE(m_pGui->RecordTimes(), Times(0, 5) + Times(5, 3));

    // So does a count that fell below the last one between two ticks:
    // these records are new too, not already drawn.
    m_pFake->RestartRecords();
    m_pFake->AppendRecords(2);
    Tick();
    QCOMPARE(m_pGui->RecordTimes(), Times(0, 5) + Times(5, 3) + Times(8, 2));
}

void TestMainWindow::modeChangePreparesTheDiagramOnce()
{
    MakeWindow();
    m_pFake->AppendRecords(3);
    Tick();
    QCOMPARE(m_pGui->Count(QStringLiteral("InitRealtimeDiagram")), 2);
    m_pFake->SetMode(IDevice::MODE_AUTO);
    m_pFake->RestartRecords();
    m_pFake->AppendRecords(2);
    Tick();
    QCOMPARE(m_pGui->Count(QStringLiteral("InitRealtimeDiagram")), 4);
    m_pFake->AppendRecords(2);
    Tick();
    QCOMPARE(m_pGui->Count(QStringLiteral("InitRealtimeDiagram")), 4);
    QCOMPARE(m_pGui->RecordTimes(), Times(0, 3) + Times(3, 4));
    // A mode change without new records waits for them.
    m_pFake->SetMode(IDevice::MODE_SRCH);
    Tick();
    QCOMPARE(m_pGui->Count(QStringLiteral("InitRealtimeDiagram")), 4);
}

void TestMainWindow::channelChangeClearsDiagramAndDevice()
{
    MakeWindow();
    auto* diagram = Find<CQDiagramWidget>("m_pRealtimeGraphFrame");
    m_pFake->AppendRecords(6);
    Tick();
    QCOMPARE(ValueCount(diagram), 6);
    m_pFake->EmitChannelChanged();
    QCOMPARE(m_pGui->Count(QStringLiteral("UpdateSpectrumButton")), 1);
    QCOMPARE(m_pFake->Clears(), 1);
    QCOMPARE(ValueCount(diagram), 0);
    m_pFake->AppendRecords(2);
    Tick();
    QCOMPARE(ValueCount(diagram), 2);
    QCOMPARE(m_pGui->RecordTimes(), Times(0, 6) + Times(6, 2));
}

void TestMainWindow::clearDataAsksAndClears()
{
    MakeWindow();
    m_pFake->AppendRecords(4);
    Tick();
    QTimer::singleShot(0, this, [] {
        // Whatever box is up: answer Yes.
        QWidget* box = QApplication::activeModalWidget();
        if (auto* yes = box ? box->findChild<QPushButton*>() : nullptr)
            yes->click();
    });
    Find<QPushButton>("m_pRealtimeClearButton")->click();
    QCOMPARE(m_pFake->Clears(), 1);
    QCOMPARE(ValueCount(Find<CQDiagramWidget>("m_pRealtimeGraphFrame")), 0);
    QCOMPARE(m_pWindow->statusBar()->currentMessage(), QStringLiteral("Collected data cleared"));
}

void TestMainWindow::liveViewFollowsTheDetectorClock_data()
{
    QTest::addColumn<qint64>("offset"); // detector clock minus the PC's
    QTest::addColumn<bool>("set");
    QTest::newRow("a day behind") << qint64(-86400) << true;
    QTest::newRow("a minute behind") << qint64(-60) << true;
    QTest::newRow("a year ahead") << qint64(366 * 86400) << true;
    QTest::newRow("never set") << qint64(0) << false;
}

void TestMainWindow::liveViewFollowsTheDetectorClock()
{
    QFETCH(qint64, offset);
    QFETCH(bool, set);
    MakeWindow();
    m_pFake->SetClockBase(set ? quint64(qint64(Now()) + offset) : 0);
    auto* diagram = Find<CQDiagramWidget>("m_pRealtimeGraphFrame");
    for (int count : { 5, 800 }) {
        m_pFake->AppendRecords(count);
        Tick();
    }
    QCOMPARE(ValueCount(diagram), 805);
    // Auto-scroll keeps the newest record in sight.
    const quint64 last = ValueTimes(diagram).last();
    QVERIFY(Ranges(diagram).visibleXMin.toULongLong() <= last);
    QVERIFY(Ranges(diagram).visibleXMax.toULongLong() >= last);
}

void TestMainWindow::clockSteppedBackKeepsTheHistory_data()
{
    QTest::addColumn<int>("back");
    QTest::newRow("a clock sync of a second") << 1;
    QTest::newRow("the spring clock change") << 3600;
}

void TestMainWindow::clockSteppedBackKeepsTheHistory()
{
    QFETCH(int, back);
    MakeWindow();
    auto* diagram = Find<CQDiagramWidget>("m_pRealtimeGraphFrame");
    m_pFake->SetClockBase(Now());
    m_pFake->AppendRecords(50);
    Tick();
    const QList<quint64> before = ValueTimes(diagram);
    m_pFake->SetClockBase(Now() + 49 - quint64(back));
    m_pFake->AppendRecords(5);
    Tick();
    // Drawn on after the history, which stays whole.
    const QList<quint64> after = ValueTimes(diagram);
    QCOMPARE(after.size(), 55);
    QCOMPARE(after.mid(0, 50), before);
    for (int i = 50; i < 55; ++i)
        QVERIFY(after.at(i) >= after.at(i - 1));
    QVERIFY(m_pWindow->statusBar()->currentMessage().contains(QStringLiteral("clock went back")));
}

// The poll comes late by most of a ring, across its wrap: every record the
// device wrote is fed once, in order, over a few bounded ticks.
void TestMainWindow::ringWrapLateByMostOfARingLosesNothing()
{
    const int ring = 3 * CLiveFeed::MAX_RECORDS_PER_TICK;
    m_pFake->SetRing(ring);
    MakeWindow();
    m_pWindow->findChild<CLiveFeed*>()->SetRingSize(ring);
    m_pFake->AppendRecords(1000);
    Tick();
    m_pFake->AppendRecords(ring - 500);
    // Bounded ticks: a few of them catch up.
    for (int i = 0; i < ring / CLiveFeed::MAX_RECORDS_PER_TICK + 2; ++i)
        Tick();
    const QList<quint64> times = m_pGui->RecordTimes();
    QCOMPARE(times.size(), 1000 + ring - 500);
    QCOMPARE(times.first(), CFakeDevice::FirstTime());
    QCOMPARE(times.last(), CFakeDevice::FirstTime() + quint64(times.size() - 1));
    QVERIFY(std::is_sorted(times.cbegin(), times.cend()));
    QVERIFY(!m_pWindow->statusBar()->currentMessage().contains(QStringLiteral("missed")));
}

void TestMainWindow::recordingFollowsThePreference_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::newRow("on") << true;
    QTest::newRow("switched off") << false;
}

void TestMainWindow::recordingFollowsThePreference()
{
    QFETCH(bool, enabled);
    QSettings().setValue(QLatin1String(ClientSettingsKeys::RECORDING_ENABLED), enabled);
    QTemporaryDir storage;
    QSettings().setValue(QStringLiteral("General/StoragePath"), storage.path());
    MakeWindow();
    m_pFake->AppendRecords(5);
    Tick();
    // The writer's thread makes the file: waited for, as Save Data does.
    m_pWindow->findChild<CLiveFeed*>()->SessionRecordings();
    const QStringList left = CRecordingRetention::List(CLiveRecorder::Folder(storage.path()));
    QCOMPARE(left.size(), enabled ? 1 : 0);
}

void TestMainWindow::baselineTakesTheLiveRecords_data()
{
    QTest::addColumn<bool>("held"); // a replay has the views
    QTest::newRow("live view") << false;
    QTest::newRow("replay showing") << true;
}

// A capture takes every live record, a replay showing or not; a comparison
// takes what the realtime diagram draws: the fake's levels -60 + i % 20
// over a band 1 whose 95th percentile is -60 stand out from i = 7 to 19.
void TestMainWindow::baselineTakesTheLiveRecords()
{
    QFETCH(bool, held);
    QTemporaryDir storage;
    QSettings().setValue(QLatin1String(ClientSettingsKeys::STORAGE_PATH), storage.path());
    MakeWindow();
    Tick();
    auto* baseline = m_pWindow->findChild<CBaselineActions*>();
    m_pWindow->findChild<CLiveFeed*>()->SetViewsHeld(held);
    CBaseline quiet;
    quiet.site = QStringLiteral("Hall");
    quiet.bands = { { 1, QStringLiteral("GSM 900"), -62, -60, -60, 100 } };
    baseline->StartComparing(quiet, 6.0);
    CCaptureBaselineDialog* capture = baseline->ShowCapture();
    capture->SetSite(QStringLiteral("Hall"));
    capture->SetMinutes(0.1);
    QVERIFY(capture->Start());
    m_pFake->AppendRecords(20);
    Tick();
    QCOMPARE(capture->Samples(), qint64(20));
    capture->Advance(6000);
    QCOMPARE(CBaselineFile::List(storage.path(), QStringLiteral("Hall")).size(), 1);
    const QList<BASELINE_FLAG> flags = baseline->Comparator()->Flags();
    QCOMPARE(flags.size(), held ? 0 : 1);
    if (!held)
        QCOMPARE(flags.first().start, CFakeDevice::FirstTime() + 7);
    baseline->RefreshMarks();
    QCOMPARE(baseline->Marks()->Spans().size(), flags.size());
    m_pWindow.reset(); // its recording is closed before its folder goes
}

// A replay has the views: the live records and sweeps still reach the
// recording, and the diagram gets all of them back afterwards, a tick's
// share at a time.
void TestMainWindow::heldViewsRecordOnAndComeBack_data()
{
    QTest::addColumn<int>("held");
    QTest::newRow("a few") << 3;
    QTest::newRow("more than a tick draws") << 2 * CLiveFeed::MAX_RECORDS_PER_TICK;
}

void TestMainWindow::heldViewsRecordOnAndComeBack()
{
    QFETCH(int, held);
    const int ticks = held / CLiveFeed::MAX_RECORDS_PER_TICK + 1;
    QTemporaryDir storage;
    QSettings().setValue(QStringLiteral("General/StoragePath"), storage.path());
    MakeWindow();
    auto* feed = m_pWindow->findChild<CLiveFeed*>();
    SPECTRUM_SWEEP sweep;
    sweep.points = QByteArray(160, '\7');
    m_pGui->SetNextSweep(sweep);
    m_pFake->AppendRecords(5);
    Tick();
    QCOMPARE(m_pGui->ShownSweeps().size(), 1);
    feed->SetViewsHeld(true);
    m_pGui->SetNextSweep(sweep);
    m_pFake->AppendRecords(held);
    m_pGui->ClearCalls();
    Tick(ticks);
    QVERIFY(!m_pGui->Calls().isEmpty());
    QCOMPARE(m_pGui->Calls().filter(QStringLiteral("SampleSpectrum:0")), m_pGui->Calls()); // nothing drawn
    feed->SetViewsHeld(false);
    Tick();
    QCOMPARE(m_pGui->RecordTimes().size(), std::min(5 + held, int(CLiveFeed::MAX_RECORDS_PER_TICK)));
    Tick(ticks);
    QCOMPARE(m_pGui->RecordTimes(), Times(0, 5 + held));
    QCOMPARE(ValueCount(Find<CQDiagramWidget>("m_pRealtimeGraphFrame")), 5 + held);
    const QString recording = feed->RecordingPath();
    const auto onDisk = [&recording] {
        QFile file(recording);
        return file.open(QIODevice::ReadOnly) ? CRecordingCodec::Decode(file.readAll()) : CRecordingCodec::CONTENTS();
    };
    QTRY_COMPARE_WITH_TIMEOUT(onDisk().records.size(), 5 + held, 3000);
    QCOMPARE(onDisk().sweeps.size(), 2);
}

void TestMainWindow::processingErrorStaysUntilReplaced()
{
    MakeWindow();
    m_pFake->SetFailingRecords(true);
    m_pFake->AppendRecords(1);
    Tick();
    const QString error = QStringLiteral("Error:GetRecord: wrong answer format!");
    QCOMPARE(m_pWindow->statusBar()->currentMessage(), error);
    m_pFake->SetFailingRecords(false);
    Tick(3);
    QCOMPARE(m_pWindow->statusBar()->currentMessage(), error);
}

// ---------------------------------------------------------------------------
// Front panel

void TestMainWindow::keyHeldElevenTicksSendsTheLongPress()
{
    MakeWindow();
    auto* panel = Find<CDeviceWidget>("m_pDeviceFrame");
    QCOMPARE(panel->size(),
        QSize(CTestVirtualDevice::WIDTH, CTestVirtualDevice::SCREEN_HEIGHT + CTestVirtualDevice::KEYBOARD_HEIGHT));
    QCOMPARE(m_pGui->Panel()->Device(), static_cast<IDevice*>(m_pDevice));
    const QPoint key2 = m_pGui->Panel()->GetKeyRect(2).center();
    for (int ticks : { 5, 10, 11, 30 }) {
        QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, key2);
        for (int i = 0; i < ticks; ++i)
            panel->OnTimer();
        QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, key2);
    }
    QCOMPARE(m_pGui->Panel()->PressedKeys(), QList<int>({ 2, 2, 2 | 8, 2 | 8 }));
}

void TestMainWindow::keyHeldInRealTime()
{
    MakeWindow();
    m_pWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pWindow.get()));
    auto* panel = Find<CDeviceWidget>("m_pDeviceFrame");
    const QPoint key4 = m_pGui->Panel()->GetKeyRect(4).center();
    QTest::mouseMove(panel, key4);
    QCOMPARE(panel->cursor().shape(), Qt::PointingHandCursor);
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, key4);
    QTRY_VERIFY_WITH_TIMEOUT(panel->GetPressTicks() > CDeviceWidget::LONG_PRESS_TICKS, 3000);
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, key4);
    QCOMPARE(m_pGui->Panel()->PressedKeys(), QList<int>({ 4 | 8 }));
    QTest::mouseMove(panel, QPoint(2, 2));
    QCOMPARE(panel->cursor().shape(), Qt::ArrowCursor);
}

void TestMainWindow::releaseOutsideTheKeysSendsNothing()
{
    MakeWindow();
    auto* panel = Find<CDeviceWidget>("m_pDeviceFrame");
    const QPoint key0 = m_pGui->Panel()->GetKeyRect(0).center();
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, key0);
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    QVERIFY(m_pGui->Panel()->PressedKeys().isEmpty());
}

// ---------------------------------------------------------------------------
// Window

void TestMainWindow::windowStateRoundTrip()
{
    MakeWindow();
    m_pWindow->setGeometry(40, 70, 900, 640);
    Find<QSplitter>("m_pRightSplitter")->setSizes({ 150, 400 });
    const QList<int> sizes = Find<QSplitter>("m_pRightSplitter")->sizes();
    Find<QTabWidget>("m_pTabWidget")->setCurrentIndex(1);
    auto* list = Find<QTreeWidget>("m_pLogListTree");
    QCOMPARE(list->columnCount(), 3); // as the GUI made it
    list->setColumnWidth(0, 41);
    list->setColumnWidth(2, 123);
    m_pWindow.reset();

    QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("Window/Geometry")).toRect(), QRect(40, 70, 900, 640));
    QCOMPARE(settings.value(QStringLiteral("Window/Log/Column2")).toInt(), 123);
    QCOMPARE(settings.value(QStringLiteral("General/Language")).toString(), QStringLiteral("en_US"));

    MakeWindow();
    QCOMPARE(m_pWindow->geometry(), QRect(40, 70, 900, 640));
    QVERIFY(!m_pWindow->isMaximized());
    QCOMPARE(Find<QSplitter>("m_pRightSplitter")->sizes(), sizes);
    QCOMPARE(Find<QTabWidget>("m_pTabWidget")->currentIndex(), 1);
    QCOMPARE(Find<QTreeWidget>("m_pLogListTree")->columnWidth(0), 41);
    QCOMPARE(Find<QTreeWidget>("m_pLogListTree")->columnWidth(1), 75);
    QCOMPARE(Find<QTreeWidget>("m_pLogListTree")->columnWidth(2), 123);
}

void TestMainWindow::defaultsWithoutSavedState()
{
    MakeWindow();
    QCOMPARE(m_pWindow->geometry(), QRect(0, 30, 600, 400));
    m_pWindow->show();
    const QList<int> sizes = Find<QSplitter>("m_pRightSplitter")->sizes();
    QVERIFY2(qAbs(sizes.value(0) - sizes.value(1)) <= 1,
        qPrintable(QStringLiteral("%1 %2").arg(sizes.value(0)).arg(sizes.value(1))));
    QCOMPARE(Find<QTabWidget>("m_pTabWidget")->currentIndex(), 0);
    QVERIFY(!Find<QLabel>("m_pNumEventsLabel")->isVisible());
    QVERIFY(!Find<QLineEdit>("m_pNumEventsEdit")->isVisible());
    QVERIFY(Find<QAction>("m_pFileChangeDeviceAction")->isEnabled());
    QVERIFY(Find<QAction>("m_pFileStartServerAction")->isEnabled());
}

void TestMainWindow::maximizeButtonsSwapThePanes()
{
    MakeWindow();
    m_pWindow->show();
    auto* splitter = Find<QSplitter>("m_pRightSplitter");
    Find<QPushButton>("m_pMaxLogButton")->click();
    QCOMPARE(splitter->sizes().value(1), 0);
    QVERIFY(Find<QAction>("m_pLogMaxAction")->isChecked());
    QVERIFY(Find<QPushButton>("m_pMaxLogButton")->isChecked());
    Find<QAction>("m_pLogMaxAction")->trigger();
    QVERIFY(splitter->sizes().value(1) > 0);
    QVERIFY(!Find<QPushButton>("m_pMaxLogButton")->isChecked());

    Find<QPushButton>("m_pMaxRealtimeButton")->click();
    QCOMPARE(splitter->sizes().value(0), 0);
    QVERIFY(Find<QAction>("m_pMaxRealtimeAction")->isChecked());
    Find<QPushButton>("m_pMaxRealtimeButton")->click();
    QVERIFY(splitter->sizes().value(0) > 0);
    QVERIFY(!Find<QAction>("m_pMaxRealtimeAction")->isChecked());
}

void TestMainWindow::logViewSwitch()
{
    MakeWindow();
    auto* tabs = Find<QTabWidget>("m_pTabWidget");
    auto* diagram = Find<QAction>("m_pLogDiagramAction");
    auto* list = Find<QAction>("m_pLogListAction");
    list->trigger();
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(list->isChecked() && !diagram->isChecked());
    diagram->trigger();
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(diagram->isChecked() && !list->isChecked());
    tabs->setCurrentIndex(1);
    QVERIFY(list->isChecked() && !diagram->isChecked());
}

void TestMainWindow::hostsTheGuiControls()
{
    m_pWindow = std::make_unique<CMainWindow>();
    QCOMPARE(m_pWindow->qt_metacast("ISpecificControls"),
        static_cast<void*>(static_cast<ISpecificControls*>(m_pWindow.get())));
    QCOMPARE(qobject_cast<ISpecificControls*>(m_pWindow.get()), static_cast<ISpecificControls*>(m_pWindow.get()));
    QVERIFY(m_pGui->Calls().contains(QStringLiteral("SetSpecificControls")));
    QPushButton* button = m_pGui->OptionalButton();
    QVERIFY(button);
    auto* row = Find<QHBoxLayout>("m_pRealTimeButtonsLayout");
    // After the four built-in buttons.
    QCOMPARE(row->indexOf(button), 4);
    QCOMPARE(button->window(), static_cast<QWidget*>(m_pWindow.get()));
    m_pWindow->RemoveOptionalButton(button);
    QCOMPARE(row->indexOf(button), -1);
    m_pWindow->AddOptionalButton(button);
    QCOMPARE(row->indexOf(button), 4);

    // Whether a button shows is the plug-in's to say.
    m_pWindow->show();
    QPushButton hidden, plain;
    hidden.hide();
    m_pWindow->AddOptionalButton(&hidden);
    m_pWindow->AddOptionalButton(&plain);
    QTRY_VERIFY(plain.isVisible());
    QVERIFY(!hidden.isVisible());
}

void TestMainWindow::autoscrollButtonAndDiagramAgree()
{
    MakeWindow();
    auto* diagram = Find<CQDiagramWidget>("m_pRealtimeGraphFrame");
    auto* button = Find<QPushButton>("m_pAutoscrollButton");
    QVERIFY(button->isChecked() && diagram->IsAutoScroll());
    button->click();
    QVERIFY(!diagram->IsAutoScroll());
    button->click();
    QVERIFY(diagram->IsAutoScroll());
    // The button follows the diagram.
    Q_EMIT diagram->autoScrollToggle(false);
    QVERIFY(!button->isChecked());
    Q_EMIT diagram->autoScrollToggle(true);
    QVERIFY(button->isChecked());
    // Another diagram kind leaves the diagram's scrolling alone.
    diagram->SetDiagramType(0, DIAGRAM_FREQ);
    button->click();
    QVERIFY(diagram->IsAutoScroll());
}

void TestMainWindow::languageSwitchToRussianAndBack()
{
    MakeWindow();
    auto* file = Find<QMenu>("menuFile");
    auto* clear = Find<QPushButton>("m_pRealtimeClearButton");
    Tick();
    QCOMPARE(file->title(), QStringLiteral("File"));

    CTranslationSet::Instance().SetLanguage(QStringLiteral("ru_RU"));
    QCoreApplication::processEvents(); // the language change is posted
    QCOMPARE(CTranslationSet::Instance().GetLanguage(), QStringLiteral("ru_RU"));
    QCOMPARE(file->title(), QStringLiteral("Файл"));
    QCOMPARE(clear->text(), QStringLiteral("Очистить"));
    QCOMPARE(Find<QAction>("m_pCaptureBaselineAction")->text(), QStringLiteral("Снять фон..."));
    QVERIFY(m_pWindow->windowTitle().contains(QStringLiteral("Версия")));
    QVERIFY(StateText().isEmpty()); // no English state text is left
    // Qt's own texts and the kit's come along, and the device GUI is told.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    QCOMPARE(QCoreApplication::translate("CQDiagramWidget", "Cursor values"), QStringLiteral("Значения под курсором"));
    QVERIFY(m_pGui->Calls().contains(QStringLiteral("SetLanguage:ru_RU")));

    CTranslationSet::Instance().SetLanguage(QStringLiteral("en_US"));
    QCoreApplication::processEvents();
    QCOMPARE(file->title(), QStringLiteral("File"));
    QCOMPARE(clear->text(), QStringLiteral("Clear Data"));
    QCOMPARE(Find<QAction>("m_pCaptureBaselineAction")->text(), QStringLiteral("Capture Baseline..."));
    QCOMPARE(StateText(), QStringLiteral("Online"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    QCOMPARE(QCoreApplication::translate("CQDiagramWidget", "Cursor values"), QStringLiteral("Cursor values"));
    QVERIFY(m_pGui->Calls().contains(QStringLiteral("SetLanguage:en_US")));
    // Counted texts read as English counts.
    for (int n : { 1, 2 }) {
        QCOMPARE(QCoreApplication::translate("CStorageTree", "%1 \u2013 %2, %n record(s)", nullptr, n).arg("a", "b"),
            QStringLiteral("a \u2013 b, %1 record%2").arg(n).arg(n == 1 ? "" : "s"));
    }
}

void TestMainWindow::closeGivesTheDeviceBack()
{
    MakeWindow();
    QCOMPARE(m_pFake->Users(), 1);
    m_pWindow->show();
    m_pWindow->close();
    QCOMPARE(m_pFake->Users(), 0);
}

void TestMainWindow::closeTakesTheGuiWindowsDown()
{
    MakeWindow();
    QWidget spectrum; // like the device GUI's windows: no parent
    spectrum.show();
    m_pWindow->show();
    m_pWindow->close();
    QVERIFY(!spectrum.isVisible());
}

void TestMainWindow::changeDeviceRestartsTheConnection()
{
    QTemporaryDir plugins;
    const QString suffix = QStringLiteral(ONDRIX_PLUGIN_SUFFIX);
    QVERIFY(QFile::copy(QStringLiteral(TEST_DEVICE_A), plugins.filePath(QStringLiteral("ModuleTestA") + suffix)));
    QVERIFY(QFile::copy(QStringLiteral(TEST_GUI_A), plugins.filePath(QStringLiteral("GuiModuleTestA") + suffix)));
    CClientSession::SetPluginFolder(plugins.path());
    MakeWindow();
    m_pWindow->show();
    m_pFake->AppendRecords(3);
    Tick();

    CModalWatcher watcher;
    QString title;
    watcher.SetHandler([&title](QWidget* modal) {
        auto* startup = qobject_cast<CStartupWindow*>(modal);
        if (!startup)
            return false;
        title = startup->windowTitle();
        startup->findChild<QRadioButton*>(QStringLiteral("m_pLocalRadio"))->setChecked(true);
        startup->findChild<QPushButton*>(QStringLiteral("m_pStartButton"))->click();
        return true;
    });
    m_pWindow->OnFileChangeDeviceAction();
    CClientSession::SetPluginFolder(QString());
    QCOMPARE(title, QStringLiteral("Change device"));
    QVERIFY(watcher.Messages().isEmpty());

    CMetaDevice* device = CClientSession::Device();
    QVERIFY(device != m_pDevice);
    QCOMPARE(device->GetLocalDevice()->GetDevID(), QStringLiteral("DeviceA"));
    // The detector serves one driver at a time: the old one lets go.
    QCOMPARE(m_pFake->Users(), 0);
    IDeviceGui* gui = CClientSession::DeviceGui();
    const QStringList calls = gui->property("calls").toStringList();
    for (const char* call : { "Stop", "SetDevice:DeviceA", "Start", "SetSpecificControls", "InitLogList" })
        QVERIFY2(calls.contains(QLatin1String(call)), call);
    QCOMPARE(Find<CDeviceWidget>("m_pDeviceFrame")->GetVirtualDevice(), gui->GetVirtualDevice());
    QCOMPARE(m_pWindow->windowTitle(), QStringLiteral("RZ450 Ondrix - [DeviceA on Local Computer] - Version 3.0.03"));
    Tick();
    QCOMPARE(m_pWindow->GetState(), CMainWindow::StateOnline);
}

void TestMainWindow::startServerWithoutTheProgramKeepsTheDevice()
{
    {
        QTcpSocket probe;
        probe.connectToHost(QStringLiteral("localhost"), CMetaDevice::SERVER_PORT);
        if (probe.waitForConnected(500))
            QSKIP("Something on this machine listens on the server port.");
    }
    MakeWindow();
    Tick();
    CModalWatcher watcher;
    m_pWindow->OnFileStartServerAction();
    QCOMPARE(watcher.MessageTexts(),
        QStringList({ QStringLiteral("Failed to run Ondrix Server! OndrixServer.exe file is missing!") }));
    QCOMPARE(watcher.Messages().first().icon, int(QMessageBox::Critical));
    // Given back for the server, then taken again.
    QCOMPARE(m_pFake->Starts(), 2);
    QCOMPARE(m_pFake->Users(), 1);
    QCOMPARE(CClientSession::Device(), m_pDevice);
}

// ---------------------------------------------------------------------------
// The real driver and the simulated detector

void TestMainWindow::liveWithTheSimulatedDetector()
{
    QTemporaryDir folder;
    CRZ450Simulator simulator;
    simulator.SetMode(CRZ450Simulator::MODE_MAN);
    simulator.SetBand(2);
    // A detector whose clock lags, as after a battery change.
    simulator.SetClock(QDateTime::currentDateTime().addDays(-1));
    CPtyServer server(&simulator);
    server.SetReplugDelay(-1);
    QVERIFY(server.Start(folder.filePath(QStringLiteral("ttyRZ450"))));
    qputenv("RZ450_PORT", server.Path().toLocal8Bit());
    CRZ450Device driver(QStringLiteral("no-such-d2xx-library"));
    driver.SetLinkTimeout(400);
    auto* device = new CMetaDevice(&driver);
    device->Initialize();
    CClientSession::SetCurrent(device, m_pGui.get());
    m_pWindow = std::make_unique<CMainWindow>();
    m_pWindow->show();

    QTRY_COMPARE_WITH_TIMEOUT(m_pWindow->GetState(), CMainWindow::StateOnline, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(m_pGui->RecordTimes().size() > 20, 5000);
    const QList<quint64> times = m_pGui->RecordTimes();
    QVERIFY(std::is_sorted(times.begin(), times.end()));
    auto* diagram = m_pWindow->findChild<CQDiagramWidget*>(QStringLiteral("m_pRealtimeGraphFrame"));
    QVERIFY(ValueCount(diagram) > 20);
    // Set back an hour mid-session, it keeps drawing.
    simulator.SetClock(simulator.Clock().addSecs(-3600));
    QTRY_VERIFY_WITH_TIMEOUT(m_pWindow->statusBar()->currentMessage().contains(QStringLiteral("clock went back")),
        5000);
    QTRY_VERIFY_WITH_TIMEOUT(ValueCount(diagram) > 20, 5000);
    QVERIFY(m_pWindow->GetFedRecordCount() <= driver.GetCurrentRecordIndex());

    // A band change in manual mode is a channel change: the view starts over.
    const int updates = m_pGui->Count(QStringLiteral("UpdateSpectrumButton"));
    simulator.SetBand(5);
    QTRY_VERIFY_WITH_TIMEOUT(m_pGui->Count(QStringLiteral("UpdateSpectrumButton")) > updates, 5000);

    // Unplugged and plugged in again, the detector comes back by itself.
    server.Disconnect();
    QTRY_COMPARE_WITH_TIMEOUT(m_pWindow->GetState(), CMainWindow::StateOffline, 10000);
    const qint64 fed = m_pWindow->GetFedRecordCount();
    QVERIFY(server.Reconnect());
    QTRY_COMPARE_WITH_TIMEOUT(m_pWindow->GetState(), CMainWindow::StateOnline, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(m_pWindow->GetFedRecordCount() > fed + 10, 5000);

    m_pWindow->close();
    m_pWindow.reset();
    CClientSession::Release();
    qunsetenv("RZ450_PORT");
}

// The detector in use joins the overview; the overview mode takes the
// window's place and a double-click on a row gives it back, asking for that
// detector in the full view.
void TestMainWindow::overviewModeSwapsTheContentAndBack()
{
    MakeWindow();
    QCOMPARE(m_pWindow->Overview()->Detectors().size(), 1);
    QVERIFY(m_pWindow->Overview()->Detectors().constFirst().IsLocal());
    QCOMPARE(COverviewDetectors::Load(), m_pWindow->Overview()->Detectors());
    COverviewActions* actions = m_pWindow->OverviewActions();
    QObject::disconnect(actions, &COverviewActions::openRequested, m_pWindow.get(), nullptr);
    QSignalSpy open(actions, &COverviewActions::openRequested);
    m_pWindow->show();
    QWidget* content = m_pWindow->centralWidget();
    Find<QAction>("m_pOverviewModeAction")->trigger();
    QVERIFY(actions->IsMode());
    QVERIFY(!content->isVisible());
    QTableView* table = actions->ModePanel()->Table();
    QVERIFY(QTest::qWaitForWindowExposed(m_pWindow.get()));
    const QPoint row = table->visualRect(table->model()->index(0, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row);
    QCOMPARE(open.size(), 1);
    QVERIFY(!actions->IsMode());
    QVERIFY(content->isVisible());
    QVERIFY(!Find<QAction>("m_pOverviewModeAction")->isChecked());
}

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
