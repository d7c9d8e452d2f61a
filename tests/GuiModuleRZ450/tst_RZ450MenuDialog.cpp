// The settings dialog against a device with a real settings block: what it
// writes back and how, what it shows, menu files, the questions before
// one-shot commands, and a device that stops answering.
#include "CFakeRZ450Device.h"
#include "CRZ450MenuDialog.h"
#include "CRZ450MenuTable.h"
#include "RZ450Layout.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <functional>
#include <stdexcept>

namespace {

const quint64 RECORD_TIME = 1700000000;

// Every controlled value in range, so that an untouched dialog must write
// each one back as it found it; the bytes without a control are distinct.
QByteArray SampleBlock()
{
    QByteArray block(RZ450Layout::MENU_SIZE, 0);
    for (int i = 0; i < block.size(); ++i)
        block[i] = char(0xA0 + i % 0x50);
    const QList<QPair<int, int>> values = {
        { 1, 60 },
        { 2, 70 },
        { 3, 40 },
        { 4, 45 },
        { 5, 50 },
        { 6, 55 },
        { 7, 80 },
        { 8, 52 },
        { 9, 90 },
        { 10, 30 },
        { 11, 12 },
        { 12, 97 },
        { 13, 66 },
        { 14, 7 },
        { 15, 22 },
        { 16, 8 },
        { 17, 20 },
        { 18, 100 },
        { 19, 45 },
        { 20, 5 },
        { 21, 3 },
        { 22, 200 },
        { 23, 2 },
        { 24, 20 },
        { 40, 2 },
        { 41, 0 },
        { 42, 1 },
    };
    for (const auto& value : values)
        block[value.first] = char(value.second);
    const QList<int> checks
        = { 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 43, 44, 45, 49, 50, 51, 52, 53 };
    for (int index : checks)
        block[index] = char(index % 2);
    return block;
}

struct CONTROL
{
    const char* name;
    int index;
};

const QList<CONTROL> SLIDERS = {
    { "m_pMinDurationSlider", 20 },
    { "m_pDelaySlider", 19 },
    { "m_pGsm900Slider", 1 },
    { "m_pGsm1800Slider", 2 },
    { "m_pCdmaSlider", 10 },
    { "m_p3GSlider", 11 },
    { "m_p4GSlider", 12 },
    { "m_pDectSlider", 13 },
    { "m_pJammersGsmSlider", 3 },
    { "m_pJammersGpsSlider", 4 },
    { "m_pWlan24Slider", 5 },
    { "m_pBluetoothSlider", 6 },
    { "m_pTraffic24Slider", 7 },
    { "m_pWlan5Slider", 8 },
    { "m_pTraffic5Slider", 9 },
    { "m_pUsersBandSlider", 24 },
    { "m_pRangeStartSlider", 21 },
    { "m_pRangeEndSlider", 22 },
    { "m_pBandStepSlider", 23 },
    { "m_pBrightnessSlider", 16 },
    { "m_pAutoOffSlider", 17 },
    { "m_pTimeCorrSlider", 18 },
    { "m_pStartSlider", 14 },
    { "m_pStopSlider", 15 },
};

const QList<CONTROL> CHECKS = {
    { "m_pCdmaCheck", 51 },
    { "m_pGsm900Check", 26 },
    { "m_pGsm1800Check", 27 },
    { "m_pDectCheck", 33 },
    { "m_p3GCheck", 34 },
    { "m_p4GCheck", 36 },
    { "m_pWlan24Check", 28 },
    { "m_pBluetoothCheck", 30 },
    { "m_pTraffic24Check", 31 },
    { "m_pWlan5Check", 29 },
    { "m_pTraffic5Check", 32 },
    { "m_pJammersGsmCheck", 49 },
    { "m_pJammersGpsCheck", 50 },
    { "m_pUsersBandCheck", 35 },
    { "m_pShowBaseCheck", 45 },
    { "m_pIdentOffCheck", 53 },
    { "m_pLoggerCheck", 44 },
    { "m_pBypassCheck", 52 },
    { "m_pAutoOnCheck", 37 },
    { "m_pSoundsCheck", 38 },
    { "m_pSyncPcCheck", 41 },
    { "m_pScheduleCheck", 39 },
    { "m_pEverydayCheck", 43 },
};

const QList<CONTROL> RADIOS = {
    { "m_pSortTimeRadio", 40 },
    { "m_pSortLevelRadio", 40 },
    { "m_pSortDurationRadio", 40 },
    { "m_pEnglishRadio", 42 },
};

// A device with a settings block that logs every write, and that can throw
// as a network device does when its server stops answering.
class CMenuDevice : public CFakeRZ450Device
{
public:
    QByteArray block = SampleBlock();
    QStringList writes;
    bool failing = false;
    // The detector's own values, put into bytes 0 to 59 by a status report
    // parsed right after the next SetMenuData.
    QByteArray nextReport;

    unsigned char GetMenuValue(int index) override
    {
        Fail();
        return static_cast<unsigned char>(block.at(index));
    }
    void SetMenuValue(int index, unsigned char value) override
    {
        Fail();
        writes.append(QStringLiteral("%1=%2").arg(index).arg(value));
        block[index] = char(value);
    }
    bool SetMenuData(QByteArray data) override
    {
        writes.append(QStringLiteral("SetMenuData"));
        if (data.size() != RZ450Layout::MENU_SIZE)
            return false;
        block = data;
        if (!nextReport.isEmpty())
            block.replace(0, 60, nextReport.left(60));
        nextReport.clear();
        return true;
    }
    QByteArray GetMenuData() override
    {
        Fail();
        return block;
    }
    CRecord GetCurrentRecord() override
    {
        CRecord record;
        record.time = RECORD_TIME;
        return record;
    }
    void SetTime(const QDateTime& time) override
    {
        writes.append(QStringLiteral("SetTime:%1").arg(time.toSecsSinceEpoch()));
    }
    void SetRequest(IDevice::RequestType request) override
    {
        Fail();
        writes.append(QStringLiteral("SetRequest:%1").arg(request));
    }

private:
    void Fail()
    {
        if (failing)
            throw std::runtime_error("Network timed out!");
    }
};

// Logs the reads, the clock's as -1: a network device gets them in this
// order, one request each.
class CReadLogDevice : public CMenuDevice
{
public:
    QList<int> reads;

    unsigned char GetMenuValue(int index) override
    {
        reads.append(index);
        return CMenuDevice::GetMenuValue(index);
    }
    CRecord GetCurrentRecord() override
    {
        reads.append(-1);
        return CMenuDevice::GetCurrentRecord();
    }
};

template <typename Widget>
Widget* Find(QWidget& dialog, const char* name)
{
    Widget* widget = dialog.findChild<Widget*>(QLatin1String(name));
    if (widget == nullptr)
        qFatal("No widget %s", name);
    return widget;
}

QString Label(QWidget& dialog, const char* name)
{
    return Find<QLabel>(dialog, name)->text();
}

void Click(QWidget& dialog, const char* button)
{
    Find<QPushButton>(dialog, button)->click();
}

} // namespace

class TestRZ450MenuDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void okWritesTheBlockBackWholeAndPostsIt();
    void eachControlOwnsItsByte();
    void cancelWritesNothingAndRemembersTheTab();
    void labelsShowTheDetectorsUnits_data();
    void labelsShowTheDetectorsUnits();
    void textsShowEachKindsUnit_data();
    void textsShowEachKindsUnit();
    void everySliderSpansItsRangeOnItsOwnLabel_data();
    void everySliderSpansItsRangeOnItsOwnLabel();
    void loadReadsTheBytesInTheDetectorsOrder();
    void autoOffIsStoredInEightSecondSteps();
    void loadRefreshesEveryLabelFromItsOwnSlider();
    void anyDeviceByteStaysWithinTheControls();
    void oneShotCommandsAskFirst();
    void clockTicksUnlessBeingEdited();
    void menuFileRoundTrip();
    void badMenuFilesChangeNothing_data();
    void badMenuFilesChangeNothing();
    void silentDeviceLeavesOnlyCancel();
    void russianTextsAreCompiledIn();

private:
    QTemporaryDir m_dir;
};

void TestRZ450MenuDialog::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("OndrixTests"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_RZ450MenuDialog"));
    QVERIFY(m_dir.isValid());
}

void TestRZ450MenuDialog::init()
{
    QSettings().clear();
}

void TestRZ450MenuDialog::okWritesTheBlockBackWholeAndPostsIt()
{
    CMenuDevice device;
    const QByteArray before = device.block;
    CRZ450MenuDialog dialog(&device);
    Click(dialog, "m_pOkButton");

    // Nothing between the block and the request: a status report parsed
    // there would undo the write.
    const QStringList expected = { QStringLiteral("SetTime:%1").arg(RECORD_TIME), QStringLiteral("SetMenuData"),
        QStringLiteral("SetRequest:2") };
    QCOMPARE(device.writes, expected);
    QCOMPARE(device.block, before);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestRZ450MenuDialog::eachControlOwnsItsByte()
{
    const auto changedBytes = [](const std::function<void(CRZ450MenuDialog&)>& change) {
        CMenuDevice device;
        const QByteArray before = device.block;
        CRZ450MenuDialog dialog(&device);
        change(dialog);
        Click(dialog, "m_pOkButton");
        QList<int> changed;
        for (int i = 0; i < before.size(); ++i) {
            if (device.block.at(i) != before.at(i))
                changed.append(i);
        }
        return changed;
    };
    for (const CONTROL& control : SLIDERS) {
        const QList<int> changed = changedBytes([&control](CRZ450MenuDialog& dialog) {
            QSlider* slider = Find<QSlider>(dialog, control.name);
            slider->setValue(slider->value() == slider->maximum() ? slider->minimum() : slider->maximum());
        });
        QVERIFY2(changed == QList<int> { control.index }, control.name);
    }
    for (const CONTROL& control : CHECKS) {
        const QList<int> changed
            = changedBytes([&control](CRZ450MenuDialog& dialog) { Find<QCheckBox>(dialog, control.name)->toggle(); });
        QVERIFY2(changed == QList<int> { control.index }, control.name);
    }
    for (const CONTROL& control : RADIOS) {
        const QList<int> changed = changedBytes(
            [&control](CRZ450MenuDialog& dialog) { Find<QRadioButton>(dialog, control.name)->setChecked(true); });
        QVERIFY2(changed == QList<int> { control.index }, control.name);
    }
}

void TestRZ450MenuDialog::cancelWritesNothingAndRemembersTheTab()
{
    CMenuDevice device;
    {
        CRZ450MenuDialog dialog(&device);
        Find<QSlider>(dialog, "m_pGsm900Slider")->setValue(90);
        Find<QCheckBox>(dialog, "m_pCdmaCheck")->toggle();
        Find<QTabWidget>(dialog, "m_pTabWidget")->setCurrentIndex(3);
        Click(dialog, "m_pCancelButton");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    QVERIFY(device.writes.isEmpty());

    CRZ450MenuDialog again(&device);
    QCOMPARE(Find<QTabWidget>(again, "m_pTabWidget")->currentIndex(), 3);
    QCOMPARE(Label(again, "m_pGsm900Label"), QStringLiteral("-42 dB"));
}

void TestRZ450MenuDialog::labelsShowTheDetectorsUnits_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::newRow("GSM at its floor") << "m_pGsm900Slider" << 22 << "m_pGsm900Label"
                                      << "-80 dB";
    QTest::newRow("3G below the others") << "m_p3GSlider" << 12 << "m_p3GLabel"
                                         << "-90 dB";
    QTest::newRow("threshold at its top") << "m_pJammersGsmSlider" << 97 << "m_pJammerGsmLabel"
                                          << "-5 dB";
    QTest::newRow("scan threshold as is") << "m_pUsersBandSlider" << 5 << "m_pUsersBandLabel"
                                          << "05 dB";
    QTest::newRow("traffic volume") << "m_pTraffic5Slider" << 99 << "m_pTraffic5Label"
                                    << "99%";
    QTest::newRow("brightness in tens") << "m_pBrightnessSlider" << 1 << "m_pBrightnessSliderLabel"
                                        << "10%";
    QTest::newRow("band-step 0") << "m_pBandStepSlider" << 0 << "m_pBandStepLabel"
                                 << "2 MHz";
    QTest::newRow("band-step 4") << "m_pBandStepSlider" << 4 << "m_pBandStepLabel"
                                 << "20 MHz";
    QTest::newRow("range start") << "m_pRangeStartSlider" << 1 << "m_pRangeStartLabel"
                                 << "25 MHz";
    QTest::newRow("range end") << "m_pRangeEndSlider" << 240 << "m_pRangeEndLabel"
                               << "6000 MHz";
    QTest::newRow("event delay") << "m_pDelaySlider" << 120 << "m_pDelayLabel"
                                 << "02:00s";
    QTest::newRow("late correction") << "m_pTimeCorrSlider" << 100 << "m_pTimeCorrSliderLabel"
                                     << "-00:28 s";
    QTest::newRow("early correction") << "m_pTimeCorrSlider" << 200 << "m_pTimeCorrSliderLabel"
                                      << "+01:12 s";
    QTest::newRow("no correction") << "m_pTimeCorrSlider" << 128 << "m_pTimeCorrSliderLabel"
                                   << "+00:00 s";
    QTest::newRow("schedule hour") << "m_pStopSlider" << 7 << "m_pStopSliderLabel"
                                   << "07 h";
}

void TestRZ450MenuDialog::labelsShowTheDetectorsUnits()
{
    QFETCH(QString, slider);
    QFETCH(int, value);
    QFETCH(QString, label);
    QFETCH(QString, text);
    CMenuDevice device;
    CRZ450MenuDialog dialog(&device);
    Find<QSlider>(dialog, slider.toLatin1())->setValue(value);
    QCOMPARE(Label(dialog, label.toLatin1()), text);
}

void TestRZ450MenuDialog::textsShowEachKindsUnit_data()
{
    using T = CRZ450MenuTable;
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("dB floor") << int(T::DB) << 22 << "-80 dB";
    QTest::newRow("dB one digit") << int(T::DB) << 97 << "-5 dB";
    QTest::newRow("dB above zero") << int(T::DB) << 110 << "08 dB";
    QTest::newRow("plain dB") << int(T::PLAIN_DB) << 20 << "20 dB";
    QTest::newRow("percent padded") << int(T::PERCENT) << 7 << "07%";
    QTest::newRow("tens of percent") << int(T::TENS_PERCENT) << 10 << "100%";
    QTest::newRow("range unit") << int(T::RANGE_MHZ) << 1 << "25 MHz";
    QTest::newRow("band-step 0") << int(T::STEP_MHZ) << 0 << "2 MHz";
    QTest::newRow("band-step 4") << int(T::STEP_MHZ) << 4 << "20 MHz";
    QTest::newRow("seconds") << int(T::SECONDS) << 5 << "00:05s";
    QTest::newRow("auto-off top") << int(T::AUTO_OFF_SECONDS) << 233 << "99:99s";
    QTest::newRow("auto-off below top") << int(T::AUTO_OFF_SECONDS) << 232 << "03:52s";
    QTest::newRow("auto-off floor") << int(T::AUTO_OFF_SECONDS) << 24 << "00:24s";
    QTest::newRow("no correction") << int(T::SIGNED_SECONDS) << 128 << "+00:00 s";
    QTest::newRow("latest correction") << int(T::SIGNED_SECONDS) << 1 << "-02:07 s";
    QTest::newRow("late correction") << int(T::SIGNED_SECONDS) << 100 << "-00:28 s";
    QTest::newRow("early correction") << int(T::SIGNED_SECONDS) << 200 << "+01:12 s";
    QTest::newRow("hours") << int(T::HOURS) << 7 << "07 h";
    QTest::newRow("a check has no text") << int(T::CHECK) << 1 << "";
}

void TestRZ450MenuDialog::textsShowEachKindsUnit()
{
    QFETCH(int, kind);
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(CRZ450MenuTable::Text(CRZ450MenuTable::Kind(kind), value), text);
}

void TestRZ450MenuDialog::everySliderSpansItsRangeOnItsOwnLabel_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("minimumText");
    QTest::addColumn<QString>("maximumText");
    const auto row = [](const char* slider, const char* label, int minimum, int maximum, const char* minimumText,
                         const char* maximumText) {
        QTest::newRow(slider) << slider << label << minimum << maximum << minimumText << maximumText;
    };
    row("m_pMinDurationSlider", "m_pMinDurationLabel", 0, 10, "00:00s", "00:10s");
    row("m_pDelaySlider", "m_pDelayLabel", 1, 120, "00:01s", "02:00s");
    row("m_pGsm900Slider", "m_pGsm900Label", 22, 97, "-80 dB", "-5 dB");
    row("m_pGsm1800Slider", "m_pGsm1800Label", 22, 97, "-80 dB", "-5 dB");
    row("m_pCdmaSlider", "m_pCdmaLabel", 22, 97, "-80 dB", "-5 dB");
    row("m_p3GSlider", "m_p3GLabel", 12, 97, "-90 dB", "-5 dB");
    row("m_p4GSlider", "m_p4GLabel", 22, 97, "-80 dB", "-5 dB");
    row("m_pDectSlider", "m_pDectLabel", 22, 97, "-80 dB", "-5 dB");
    row("m_pJammersGsmSlider", "m_pJammerGsmLabel", 22, 97, "-80 dB", "-5 dB");
    row("m_pJammersGpsSlider", "m_pJammersGpsLabel", 22, 97, "-80 dB", "-5 dB");
    row("m_pWlan24Slider", "m_pWlan24Label", 22, 97, "-80 dB", "-5 dB");
    row("m_pBluetoothSlider", "m_pBluetoothLabel", 22, 97, "-80 dB", "-5 dB");
    row("m_pTraffic24Slider", "m_pTraffic24Label", 22, 99, "22%", "99%");
    row("m_pWlan5Slider", "m_pWlan5Label", 22, 97, "-80 dB", "-5 dB");
    row("m_pTraffic5Slider", "m_pTraffic5Label", 22, 99, "22%", "99%");
    row("m_pUsersBandSlider", "m_pUsersBandLabel", 5, 30, "05 dB", "30 dB");
    row("m_pRangeStartSlider", "m_pRangeStartLabel", 1, 239, "25 MHz", "5975 MHz");
    row("m_pRangeEndSlider", "m_pRangeEndLabel", 2, 240, "50 MHz", "6000 MHz");
    row("m_pBandStepSlider", "m_pBandStepLabel", 0, 4, "2 MHz", "20 MHz");
    row("m_pBrightnessSlider", "m_pBrightnessSliderLabel", 1, 10, "10%", "100%");
    row("m_pAutoOffSlider", "m_pAutoOffSliderLabel", 24, 233, "00:24s", "99:99s");
    row("m_pTimeCorrSlider", "m_pTimeCorrSliderLabel", 1, 255, "-02:07 s", "+02:07 s");
    row("m_pStartSlider", "m_pStartSliderLabel", 0, 23, "00 h", "23 h");
    row("m_pStopSlider", "m_pStopSliderLabel", 0, 23, "00 h", "23 h");
}

void TestRZ450MenuDialog::everySliderSpansItsRangeOnItsOwnLabel()
{
    QFETCH(QString, slider);
    QFETCH(QString, label);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, minimumText);
    QFETCH(QString, maximumText);
    CMenuDevice device;
    CRZ450MenuDialog dialog(&device);
    QSlider* control = Find<QSlider>(dialog, slider.toLatin1());
    QCOMPARE(control->minimum(), minimum);
    QCOMPARE(control->maximum(), maximum);
    // Both ends, so that the slider moves at least once whatever it loaded.
    control->setValue(maximum);
    QCOMPARE(Label(dialog, label.toLatin1()), maximumText);
    control->setValue(minimum);
    QCOMPARE(Label(dialog, label.toLatin1()), minimumText);
}

void TestRZ450MenuDialog::loadReadsTheBytesInTheDetectorsOrder()
{
    CReadLogDevice device;
    CRZ450MenuDialog dialog(&device);
    const QList<int> expected = { 20, 19, 51, 26, 27, 33, 34, 36, 28, 30, 31, 29, 32, 49, 50, 35, 44, 40, 45, 53, 10, 1,
        2, 13, 11, 12, 5, 6, 7, 8, 9, 3, 4, 24, 21, 22, 23, 52, 42, 16, 17, 37, 38, 41, -1, 18, 39, 14, 15, 43 };
    QCOMPARE(device.reads, expected);
}

void TestRZ450MenuDialog::autoOffIsStoredInEightSecondSteps()
{
    CMenuDevice device;
    {
        CRZ450MenuDialog dialog(&device);
        QCOMPARE(Label(dialog, "m_pAutoOffSliderLabel"), QStringLiteral("02:40s"));
        Find<QSlider>(dialog, "m_pAutoOffSlider")->setValue(233);
        QCOMPARE(Label(dialog, "m_pAutoOffSliderLabel"), QStringLiteral("99:99s"));
        Click(dialog, "m_pOkButton");
    }
    QCOMPARE(int(device.block.at(17)), 29);

    CRZ450MenuDialog again(&device);
    QCOMPARE(Find<QSlider>(again, "m_pAutoOffSlider")->value(), 232);
    QCOMPARE(Label(again, "m_pAutoOffSliderLabel"), QStringLiteral("03:52s"));
    Find<QSlider>(again, "m_pAutoOffSlider")->setValue(24);
    Click(again, "m_pOkButton");
    QCOMPARE(int(device.block.at(17)), 3);
}

void TestRZ450MenuDialog::loadRefreshesEveryLabelFromItsOwnSlider()
{
    // The 4G value equals the slider's resting position, so the slider
    // emits nothing when it is loaded.
    CMenuDevice device;
    device.block[12] = char(22);
    device.block[11] = char(50);
    CRZ450MenuDialog dialog(&device);
    QCOMPARE(Label(dialog, "m_p4GLabel"), QStringLiteral("-80 dB"));
    QCOMPARE(Label(dialog, "m_p3GLabel"), QStringLiteral("-52 dB"));
}

void TestRZ450MenuDialog::anyDeviceByteStaysWithinTheControls()
{
    CMenuDevice device;
    device.block.fill(char(0xFF));
    device.block[16] = 0;
    CRZ450MenuDialog dialog(&device);
    QCOMPARE(Find<QSlider>(dialog, "m_pGsm900Slider")->value(), 97);
    QCOMPARE(Find<QSlider>(dialog, "m_pBrightnessSlider")->value(), 1);
    QCOMPARE(Find<QSlider>(dialog, "m_pAutoOffSlider")->value(), 233);
    QVERIFY(Find<QRadioButton>(dialog, "m_pRussianRadio")->isChecked());
    for (const char* radio : { "m_pSortTimeRadio", "m_pSortLevelRadio", "m_pSortBandRadio", "m_pSortDurationRadio" })
        QVERIFY(!Find<QRadioButton>(dialog, radio)->isChecked());

    Click(dialog, "m_pOkButton");
    QCOMPARE(quint8(device.block.at(40)), quint8(0xFF));
    QCOMPARE(int(device.block.at(51)), 1);
    QCOMPARE(int(device.block.at(42)), 1);
}

void TestRZ450MenuDialog::oneShotCommandsAskFirst()
{
    CMenuDevice device;
    CRZ450MenuDialog dialog(&device);
    QStringList questions;
    bool answer = false;
    dialog.SetQuestionStep([&](const QString& question) {
        questions.append(question);
        return answer;
    });
    dialog.show();

    Click(dialog, "m_pDefaultsButton");
    Click(dialog, "m_pClearLogButton");
    QCOMPARE(questions,
        QStringList({ "Do you really want to reset device settings to factory defaults?",
            "Do you really want to clear all log records?" }));
    Click(dialog, "m_pNewBankButton");
    QCOMPARE(device.writes, QStringList { "SetRequest:3" });
    QVERIFY(dialog.isVisible());

    answer = true;
    Click(dialog, "m_pClearLogButton");
    QCOMPARE(device.writes, QStringList({ "SetRequest:3", "SetRequest:4" }));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    CRZ450MenuDialog second(&device);
    second.SetQuestionStep([](const QString&) { return true; });
    Click(second, "m_pDefaultsButton");
    QCOMPARE(device.writes.last(), QStringLiteral("SetRequest:1"));
    QCOMPARE(device.writes.size(), 3);
}

void TestRZ450MenuDialog::clockTicksUnlessBeingEdited()
{
    CMenuDevice device;
    CRZ450MenuDialog dialog(&device);
    QDateTimeEdit* clock = Find<QDateTimeEdit>(dialog, "m_pClockEdit");
    QVERIFY(clock->isEnabled());
    QCOMPARE(clock->dateTime(), QDateTime::fromSecsSinceEpoch(RECORD_TIME));

    const QDateTime lastSecond(QDate(2024, 12, 31), QTime(23, 59, 59));
    clock->setDateTime(lastSecond);
    QTRY_VERIFY_WITH_TIMEOUT(clock->dateTime() > lastSecond, 3000);
    QCOMPARE(clock->date(), QDate(2025, 1, 1));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    clock->setFocus();
    clock->setDateTime(lastSecond);
    QTest::qWait(int(CRZ450MenuDialog::CLOCK_TICK_MS * 1.5));
    QCOMPARE(clock->dateTime(), lastSecond);

    device.block[41] = 1;
    CRZ450MenuDialog synced(&device);
    QDateTimeEdit* pcClock = Find<QDateTimeEdit>(synced, "m_pClockEdit");
    QVERIFY(!pcClock->isEnabled());
    QVERIFY(qAbs(pcClock->dateTime().secsTo(QDateTime::currentDateTime())) < 5);
}

void TestRZ450MenuDialog::menuFileRoundTrip()
{
    const QString path = m_dir.filePath(QStringLiteral("round.mnu"));
    CMenuDevice device;
    CRZ450MenuDialog dialog(&device);
    dialog.SetFileStep([&](bool) { return path; });
    dialog.SetWarningStep([](const QString& text) { QFAIL(qPrintable(text)); });
    Find<QSlider>(dialog, "m_pGsm900Slider")->setValue(90);
    Click(dialog, "m_pSaveButton");
    QVERIFY(device.writes.isEmpty()); // the device's block and clock stay

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QCOMPARE(saved, QByteArray(device.block).replace(1, 1, QByteArray(1, char(90))));

    device.block.fill(char(50));
    Click(dialog, "m_pLoadButton");
    QCOMPARE(device.block, saved);

    // The detector's report replaces the loaded copy at once; the controls
    // still hold the file, and OK writes it.
    device.block.fill(char(50));
    device.nextReport = device.block;
    Click(dialog, "m_pLoadButton");
    QCOMPARE(Label(dialog, "m_pGsm900Label"), QStringLiteral("-12 dB"));
    QCOMPARE(Label(dialog, "m_pGsm1800Label"), QStringLiteral("-32 dB"));
    Click(dialog, "m_pOkButton");
    QCOMPARE(int(device.block.at(1)), 90);
    QCOMPARE(int(device.block.at(2)), 70);

    QStringList warnings;
    dialog.SetFileStep([&](bool) { return m_dir.filePath(QStringLiteral("missing/folder.mnu")); });
    dialog.SetWarningStep([&](const QString& text) { warnings.append(text); });
    Click(dialog, "m_pSaveButton");
    QCOMPARE(warnings.size(), 1);
}

void TestRZ450MenuDialog::badMenuFilesChangeNothing_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("missing") << -1;
    QTest::newRow("empty") << 0;
    QTest::newRow("one short") << 95;
    QTest::newRow("one over") << 97;
    QTest::newRow("large") << 4 * 1024 * 1024;
}

void TestRZ450MenuDialog::badMenuFilesChangeNothing()
{
    QFETCH(int, size);
    const QString path = m_dir.filePath(QStringLiteral("bad.mnu"));
    QFile::remove(path);
    if (size >= 0) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(QByteArray(size, char(0x11))), qint64(size));
    }
    CMenuDevice device;
    const QByteArray before = device.block;
    CRZ450MenuDialog dialog(&device);
    Find<QSlider>(dialog, "m_pGsm900Slider")->setValue(90);
    QStringList warnings;
    dialog.SetFileStep([&](bool) { return path; });
    dialog.SetWarningStep([&](const QString& text) { warnings.append(text); });
    Click(dialog, "m_pLoadButton");

    QCOMPARE(warnings.size(), 1);
    QVERIFY(warnings.first().contains(QStringLiteral("bad.mnu")));
    QVERIFY(device.writes.isEmpty());
    QCOMPARE(device.block, before);
    QCOMPARE(Find<QSlider>(dialog, "m_pGsm900Slider")->value(), 90);
}

void TestRZ450MenuDialog::silentDeviceLeavesOnlyCancel()
{
    CMenuDevice device;
    QStringList warnings;
    {
        CRZ450MenuDialog dialog(&device);
        dialog.SetWarningStep([&](const QString& text) { warnings.append(text); });
        device.failing = true;
        Click(dialog, "m_pOkButton");
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings.first().contains(QStringLiteral("Network timed out!")));
        QCOMPARE(dialog.result(), 0);
        QVERIFY(!device.writes.contains(QStringLiteral("SetRequest:2")));
    }

    CRZ450MenuDialog unloaded(&device);
    unloaded.SetWarningStep([&](const QString& text) { warnings.append(text); });
    QVERIFY(!Find<QPushButton>(unloaded, "m_pOkButton")->isEnabled());
    QVERIFY(!Find<QPushButton>(unloaded, "m_pSaveButton")->isEnabled());
    QVERIFY(Find<QPushButton>(unloaded, "m_pCancelButton")->isEnabled());
    QTRY_COMPARE(warnings.size(), 2);
}

void TestRZ450MenuDialog::russianTextsAreCompiledIn()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/GuiModuleRZ450/guimodulerz450_ru.qm")));
    QCoreApplication::installTranslator(&translator);
    const auto uninstall = qScopeGuard([&translator]() { QCoreApplication::removeTranslator(&translator); });
    CMenuDevice device;
    CRZ450MenuDialog dialog(&device);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Меню RZ450"));
    QCOMPARE(Label(dialog, "m_pGsm900Label"), QStringLiteral("-42 дБ"));
    QCOMPARE(Label(dialog, "m_pStartSliderLabel"), QStringLiteral("07 ч"));
}

QTEST_MAIN(TestRZ450MenuDialog)
#include "tst_RZ450MenuDialog.moc"
