#include "CRZ450MenuDialog.h"

#include "IDevice.h"
#include "ui_CRZ450MenuDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <QTime>

#include <cstdlib>
#include <exception>

namespace {

// Where each setting lives in the detector's settings block.
enum MenuIndex : int {
    GSM900_THRESHOLD = 1,
    GSM1800_THRESHOLD = 2,
    JAMMERS_GSM_THRESHOLD = 3,
    JAMMERS_GPS_THRESHOLD = 4,
    WLAN24_THRESHOLD = 5,
    BLUETOOTH_THRESHOLD = 6,
    TRAFFIC24_VOLUME = 7,
    WLAN5_THRESHOLD = 8,
    TRAFFIC5_VOLUME = 9,
    CDMA_THRESHOLD = 10,
    UMTS_THRESHOLD = 11,
    LTE_THRESHOLD = 12,
    DECT_THRESHOLD = 13,
    SCHEDULE_START = 14,
    SCHEDULE_STOP = 15,
    BRIGHTNESS = 16,
    AUTO_OFF = 17,
    TIME_CORRECTION = 18,
    EVENT_DELAY = 19,
    MIN_DURATION = 20,
    RANGE_START = 21,
    RANGE_END = 22,
    BAND_STEP = 23,
    USERS_BAND_THRESHOLD = 24,
    GSM900_ON = 26,
    GSM1800_ON = 27,
    WLAN24_ON = 28,
    WLAN5_ON = 29,
    BLUETOOTH_ON = 30,
    TRAFFIC24_ON = 31,
    TRAFFIC5_ON = 32,
    DECT_ON = 33,
    UMTS_ON = 34,
    USERS_BAND_ON = 35,
    LTE_ON = 36,
    AUTO_ON = 37,
    SOUNDS = 38,
    SCHEDULE_ON = 39,
    SORT_ORDER = 40,
    SYNC_PC = 41,
    LANGUAGE = 42,
    EVERYDAY = 43,
    LOGGER_ON = 44,
    SHOW_BASE = 45,
    JAMMERS_GSM_ON = 49,
    JAMMERS_GPS_ON = 50,
    CDMA_ON = 51,
    BYPASS = 52,
    IDENT_OFF = 53
};

const char* const TAB_KEY = "RZ450MenuDialog";
const int DBM_OFFSET = 102;
// The detector keeps the auto-off time in steps of 8 seconds.
const int AUTO_OFF_STEP = 8;
// The top auto-off position, shown as the detector shows it.
const int AUTO_OFF_TOP = 233;
const int TIME_CORRECTION_ZERO = 128;

QString Padded(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString MinutesSeconds(int seconds)
{
    return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("mm:ss"));
}

} // namespace

CRZ450MenuDialog::CRZ450MenuDialog(IDevice* device, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CRz450MenuDialogClass>())
    , m_pDevice(device)
{
    m_pUi->setupUi(this);
    m_sortGroup.addButton(m_pUi->m_pSortTimeRadio, 0);
    m_sortGroup.addButton(m_pUi->m_pSortLevelRadio, 1);
    m_sortGroup.addButton(m_pUi->m_pSortBandRadio, 2);
    m_sortGroup.addButton(m_pUi->m_pSortDurationRadio, 3);
    m_question = [this](const QString& question) { return Ask(question); };
    m_file = [this](bool save) { return ChooseFile(save); };
    m_warning = [this](const QString& text) { Warn(text); };
    Connect();
    LoadFromDevice();
    m_timer.start(CLOCK_TICK_MS);
    SelectStoredTab();
}

CRZ450MenuDialog::~CRZ450MenuDialog() = default;

void CRZ450MenuDialog::SetQuestionStep(QuestionStep step)
{
    m_question = std::move(step);
}

void CRZ450MenuDialog::SetFileStep(FileStep step)
{
    m_file = std::move(step);
}

void CRZ450MenuDialog::SetWarningStep(WarningStep step)
{
    m_warning = std::move(step);
}

void CRZ450MenuDialog::OnDefaultsButton()
{
    if (m_question(tr("Do you really want to reset device settings to factory defaults?"))
        && Post(IDevice::FactoryDefaults))
        accept();
}

void CRZ450MenuDialog::OnLoadButton()
{
    const QString path = m_file(false);
    if (!path.isEmpty())
        LoadMenuFile(path);
}

void CRZ450MenuDialog::OnSaveButton()
{
    const QString path = m_file(true);
    if (!path.isEmpty())
        SaveMenuFile(path);
}

void CRZ450MenuDialog::OnOkButton()
{
    StoreTab();
    // Posted right behind the block and the clock, which the write then
    // carries to the detector.
    const bool written = Guarded([this]() {
        if (!WriteControls())
            return false;
        m_pDevice->SetRequest(IDevice::WriteSettings);
        return true;
    });
    if (written)
        accept();
}

void CRZ450MenuDialog::OnCancelButton()
{
    StoreTab();
    reject();
}

void CRZ450MenuDialog::OnMinDurationValueChanged(int value)
{
    m_pUi->m_pMinDurationLabel->setText(SecondsText(value));
}

void CRZ450MenuDialog::OnDelayValueChanged(int value)
{
    m_pUi->m_pDelayLabel->setText(SecondsText(value));
}

void CRZ450MenuDialog::OnNewBankButton()
{
    Post(IDevice::NewBank);
}

void CRZ450MenuDialog::OnClearLogButton()
{
    if (m_question(tr("Do you really want to clear all log records?")) && Post(IDevice::ClearLog))
        accept();
}

void CRZ450MenuDialog::OnCdmaValueChanged(int value)
{
    m_pUi->m_pCdmaLabel->setText(DbText(value));
}

void CRZ450MenuDialog::OnGsm900ValueChanged(int value)
{
    m_pUi->m_pGsm900Label->setText(DbText(value));
}

void CRZ450MenuDialog::OnGsm1800ValueChanged(int value)
{
    m_pUi->m_pGsm1800Label->setText(DbText(value));
}

void CRZ450MenuDialog::OnWlan24ValueChanged(int value)
{
    m_pUi->m_pWlan24Label->setText(DbText(value));
}

void CRZ450MenuDialog::OnBluetoothValueChanged(int value)
{
    m_pUi->m_pBluetoothLabel->setText(DbText(value));
}

void CRZ450MenuDialog::OnTraffic24ValueChanged(int value)
{
    m_pUi->m_pTraffic24Label->setText(PercentText(value));
}

void CRZ450MenuDialog::OnWlan5ValueChanged(int value)
{
    m_pUi->m_pWlan5Label->setText(DbText(value));
}

void CRZ450MenuDialog::OnTraffic5ValueChanged(int value)
{
    m_pUi->m_pTraffic5Label->setText(PercentText(value));
}

void CRZ450MenuDialog::OnDectValueChanged(int value)
{
    m_pUi->m_pDectLabel->setText(DbText(value));
}

void CRZ450MenuDialog::On3GValueChanged(int value)
{
    m_pUi->m_p3GLabel->setText(DbText(value));
}

void CRZ450MenuDialog::On4GValueChanged(int value)
{
    m_pUi->m_p4GLabel->setText(DbText(value));
}

void CRZ450MenuDialog::OnJammersGsmValueChanged(int value)
{
    m_pUi->m_pJammerGsmLabel->setText(DbText(value));
}

void CRZ450MenuDialog::OnJammersGpsValueChanged(int value)
{
    m_pUi->m_pJammersGpsLabel->setText(DbText(value));
}

void CRZ450MenuDialog::OnUsersBandValueChanged(int value)
{
    m_pUi->m_pUsersBandLabel->setText(PlainDbText(value));
}

void CRZ450MenuDialog::OnRangeStartValueChanged(int value)
{
    m_pUi->m_pRangeStartLabel->setText(MhzText(value * 25));
}

void CRZ450MenuDialog::OnRangeEndValueChanged(int value)
{
    m_pUi->m_pRangeEndLabel->setText(MhzText(value * 25));
}

void CRZ450MenuDialog::OnBandStepValueChanged(int value)
{
    m_pUi->m_pBandStepLabel->setText(MhzText(value == 0 ? 2 : value * 5));
}

void CRZ450MenuDialog::OnBrightnessValueChanged(int value)
{
    m_pUi->m_pBrightnessSliderLabel->setText(PercentText(value * 10));
}

void CRZ450MenuDialog::OnAutoOffValueChanged(int value)
{
    m_pUi->m_pAutoOffSliderLabel->setText(value == AUTO_OFF_TOP ? QString(QStringLiteral("99:99") + tr("s", "seconds"))
                                                                : SecondsText(value));
}

void CRZ450MenuDialog::OnTimeCorrValueChanged(int value)
{
    m_pUi->m_pTimeCorrSliderLabel->setText(SignedSecondsText(value));
}

void CRZ450MenuDialog::OnStartValueChanged(int value)
{
    m_pUi->m_pStartSliderLabel->setText(HoursText(value));
}

void CRZ450MenuDialog::OnStopValueChanged(int value)
{
    m_pUi->m_pStopSliderLabel->setText(HoursText(value));
}

void CRZ450MenuDialog::OnTimer()
{
    // Typing into the clock must not be overrun by the tick. Adding to the
    // whole date and time carries midnight into the date.
    QDateTimeEdit* clock = m_pUi->m_pClockEdit;
    if (!clock->hasFocus())
        clock->setDateTime(clock->dateTime().addSecs(1));
}

void CRZ450MenuDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_pUi->retranslateUi(this);
        RefreshLabels();
    }
    QDialog::changeEvent(event);
}

QString CRZ450MenuDialog::DbText(int value)
{
    return PlainDbText(value - DBM_OFFSET);
}

QString CRZ450MenuDialog::PlainDbText(int value)
{
    return QStringLiteral("%1 %2").arg(Padded(value), tr("dB"));
}

QString CRZ450MenuDialog::PercentText(int value)
{
    return Padded(value) + QLatin1Char('%');
}

QString CRZ450MenuDialog::MhzText(int value)
{
    return QStringLiteral("%1 %2").arg(QString::number(value), tr("MHz"));
}

QString CRZ450MenuDialog::SecondsText(int value)
{
    return MinutesSeconds(value) + tr("s", "seconds");
}

QString CRZ450MenuDialog::HoursText(int value)
{
    return Padded(value) + QLatin1Char(' ') + tr("h", "hours");
}

QString CRZ450MenuDialog::SignedSecondsText(int value)
{
    const int seconds = value - TIME_CORRECTION_ZERO;
    const QLatin1Char sign(seconds >= 0 ? '+' : '-');
    return sign + MinutesSeconds(std::abs(seconds)) + QLatin1Char(' ') + tr("s", "seconds");
}

void CRZ450MenuDialog::Connect()
{
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    connect(ui.m_pDefaultsButton, &QPushButton::clicked, this, &CRZ450MenuDialog::OnDefaultsButton);
    connect(ui.m_pLoadButton, &QPushButton::clicked, this, &CRZ450MenuDialog::OnLoadButton);
    connect(ui.m_pSaveButton, &QPushButton::clicked, this, &CRZ450MenuDialog::OnSaveButton);
    connect(ui.m_pOkButton, &QPushButton::clicked, this, &CRZ450MenuDialog::OnOkButton);
    connect(ui.m_pCancelButton, &QPushButton::clicked, this, &CRZ450MenuDialog::OnCancelButton);
    connect(ui.m_pNewBankButton, &QPushButton::clicked, this, &CRZ450MenuDialog::OnNewBankButton);
    connect(ui.m_pClearLogButton, &QPushButton::clicked, this, &CRZ450MenuDialog::OnClearLogButton);
    connect(&m_timer, &QTimer::timeout, this, &CRZ450MenuDialog::OnTimer);
    ConnectSliders();
}

void CRZ450MenuDialog::ConnectSliders()
{
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    using D = CRZ450MenuDialog;
    connect(ui.m_pMinDurationSlider, &QSlider::valueChanged, this, &D::OnMinDurationValueChanged);
    connect(ui.m_pDelaySlider, &QSlider::valueChanged, this, &D::OnDelayValueChanged);
    connect(ui.m_pCdmaSlider, &QSlider::valueChanged, this, &D::OnCdmaValueChanged);
    connect(ui.m_pGsm900Slider, &QSlider::valueChanged, this, &D::OnGsm900ValueChanged);
    connect(ui.m_pGsm1800Slider, &QSlider::valueChanged, this, &D::OnGsm1800ValueChanged);
    connect(ui.m_pWlan24Slider, &QSlider::valueChanged, this, &D::OnWlan24ValueChanged);
    connect(ui.m_pBluetoothSlider, &QSlider::valueChanged, this, &D::OnBluetoothValueChanged);
    connect(ui.m_pTraffic24Slider, &QSlider::valueChanged, this, &D::OnTraffic24ValueChanged);
    connect(ui.m_pWlan5Slider, &QSlider::valueChanged, this, &D::OnWlan5ValueChanged);
    connect(ui.m_pTraffic5Slider, &QSlider::valueChanged, this, &D::OnTraffic5ValueChanged);
    connect(ui.m_pDectSlider, &QSlider::valueChanged, this, &D::OnDectValueChanged);
    connect(ui.m_p3GSlider, &QSlider::valueChanged, this, &D::On3GValueChanged);
    connect(ui.m_p4GSlider, &QSlider::valueChanged, this, &D::On4GValueChanged);
    connect(ui.m_pJammersGsmSlider, &QSlider::valueChanged, this, &D::OnJammersGsmValueChanged);
    connect(ui.m_pJammersGpsSlider, &QSlider::valueChanged, this, &D::OnJammersGpsValueChanged);
    connect(ui.m_pUsersBandSlider, &QSlider::valueChanged, this, &D::OnUsersBandValueChanged);
    connect(ui.m_pRangeStartSlider, &QSlider::valueChanged, this, &D::OnRangeStartValueChanged);
    connect(ui.m_pRangeEndSlider, &QSlider::valueChanged, this, &D::OnRangeEndValueChanged);
    connect(ui.m_pBandStepSlider, &QSlider::valueChanged, this, &D::OnBandStepValueChanged);
    connect(ui.m_pBrightnessSlider, &QSlider::valueChanged, this, &D::OnBrightnessValueChanged);
    connect(ui.m_pAutoOffSlider, &QSlider::valueChanged, this, &D::OnAutoOffValueChanged);
    connect(ui.m_pTimeCorrSlider, &QSlider::valueChanged, this, &D::OnTimeCorrValueChanged);
    connect(ui.m_pStartSlider, &QSlider::valueChanged, this, &D::OnStartValueChanged);
    connect(ui.m_pStopSlider, &QSlider::valueChanged, this, &D::OnStopValueChanged);
}

void CRZ450MenuDialog::SelectStoredTab()
{
    m_pUi->m_pTabWidget->setCurrentIndex(QSettings().value(TAB_KEY, 0).toInt());
}

void CRZ450MenuDialog::StoreTab()
{
    QSettings().setValue(TAB_KEY, m_pUi->m_pTabWidget->currentIndex());
}

QList<CRZ450MenuDialog::CHECK_VALUE> CRZ450MenuDialog::BandChecks() const
{
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    return {
        { ui.m_pCdmaCheck, CDMA_ON },
        { ui.m_pGsm900Check, GSM900_ON },
        { ui.m_pGsm1800Check, GSM1800_ON },
        { ui.m_pDectCheck, DECT_ON },
        { ui.m_p3GCheck, UMTS_ON },
        { ui.m_p4GCheck, LTE_ON },
        { ui.m_pWlan24Check, WLAN24_ON },
        { ui.m_pBluetoothCheck, BLUETOOTH_ON },
        { ui.m_pTraffic24Check, TRAFFIC24_ON },
        { ui.m_pWlan5Check, WLAN5_ON },
        { ui.m_pTraffic5Check, TRAFFIC5_ON },
        { ui.m_pJammersGsmCheck, JAMMERS_GSM_ON },
        { ui.m_pJammersGpsCheck, JAMMERS_GPS_ON },
        { ui.m_pUsersBandCheck, USERS_BAND_ON },
    };
}

QList<CRZ450MenuDialog::SLIDER_VALUE> CRZ450MenuDialog::Thresholds() const
{
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    return {
        { ui.m_pCdmaSlider, CDMA_THRESHOLD },
        { ui.m_pGsm900Slider, GSM900_THRESHOLD },
        { ui.m_pGsm1800Slider, GSM1800_THRESHOLD },
        { ui.m_pDectSlider, DECT_THRESHOLD },
        { ui.m_p3GSlider, UMTS_THRESHOLD },
        { ui.m_p4GSlider, LTE_THRESHOLD },
        { ui.m_pWlan24Slider, WLAN24_THRESHOLD },
        { ui.m_pBluetoothSlider, BLUETOOTH_THRESHOLD },
        { ui.m_pTraffic24Slider, TRAFFIC24_VOLUME },
        { ui.m_pWlan5Slider, WLAN5_THRESHOLD },
        { ui.m_pTraffic5Slider, TRAFFIC5_VOLUME },
        { ui.m_pJammersGsmSlider, JAMMERS_GSM_THRESHOLD },
        { ui.m_pJammersGpsSlider, JAMMERS_GPS_THRESHOLD },
        { ui.m_pUsersBandSlider, USERS_BAND_THRESHOLD },
    };
}

void CRZ450MenuDialog::LoadFromDevice()
{
    try {
        LoadControls([this](int index) { return int(m_pDevice->GetMenuValue(index)); });
    } catch (const std::exception& error) {
        // Controls that show no device value would write made-up values
        // back: without the block only Cancel stays usable. The warning
        // waits for the dialog's own event loop.
        const Ui::CRz450MenuDialogClass& ui = *m_pUi;
        const QList<QWidget*> needBlock = { ui.m_pTabWidget, ui.m_pDefaultsButton, ui.m_pLoadButton,
                                            ui.m_pSaveButton, ui.m_pOkButton };
        for (QWidget* widget : needBlock)
            widget->setEnabled(false);
        const QString text = tr("The device does not answer: %1").arg(QString::fromLatin1(error.what()));
        QTimer::singleShot(0, this, [this, text]() { m_warning(text); });
    }
}

void CRZ450MenuDialog::LoadControls(const MenuSource& value)
{
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    ui.m_pMinDurationSlider->setValue(value(MIN_DURATION));
    ui.m_pDelaySlider->setValue(value(EVENT_DELAY));
    for (const CHECK_VALUE& band : BandChecks())
        band.check->setChecked(value(band.index) != 0);
    ui.m_pLoggerCheck->setChecked(value(LOGGER_ON) != 0);
    LoadSortOrder(value(SORT_ORDER));
    ui.m_pShowBaseCheck->setChecked(value(SHOW_BASE) != 0);
    ui.m_pIdentOffCheck->setChecked(value(IDENT_OFF) != 0);
    // A value outside a slider's range lands on its nearest end.
    for (const SLIDER_VALUE& threshold : Thresholds())
        threshold.slider->setValue(value(threshold.index));
    LoadSystemControls(value);
    RefreshLabels();
}

void CRZ450MenuDialog::LoadSystemControls(const MenuSource& value)
{
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    ui.m_pRangeStartSlider->setValue(value(RANGE_START));
    ui.m_pRangeEndSlider->setValue(value(RANGE_END));
    ui.m_pBandStepSlider->setValue(value(BAND_STEP));
    ui.m_pBypassCheck->setChecked(value(BYPASS) != 0);
    (value(LANGUAGE) == 0 ? ui.m_pEnglishRadio : ui.m_pRussianRadio)->setChecked(true);
    ui.m_pBrightnessSlider->setValue(value(BRIGHTNESS));
    ui.m_pAutoOffSlider->setValue(value(AUTO_OFF) * AUTO_OFF_STEP);
    ui.m_pAutoOnCheck->setChecked(value(AUTO_ON) != 0);
    ui.m_pSoundsCheck->setChecked(value(SOUNDS) != 0);
    const bool syncPc = value(SYNC_PC) != 0;
    LoadClock(syncPc);
    ui.m_pSyncPcCheck->setChecked(syncPc);
    ui.m_pTimeCorrSlider->setValue(value(TIME_CORRECTION));
    ui.m_pScheduleCheck->setChecked(value(SCHEDULE_ON) != 0);
    ui.m_pStartSlider->setValue(value(SCHEDULE_START));
    ui.m_pStopSlider->setValue(value(SCHEDULE_STOP));
    ui.m_pEverydayCheck->setChecked(value(EVERYDAY) != 0);
}

void CRZ450MenuDialog::LoadSortOrder(int order)
{
    // An order this dialog does not know selects nothing and is then left
    // as it is.
    QAbstractButton* button = m_sortGroup.button(order);
    if (button != nullptr) {
        button->setChecked(true);
        return;
    }
    m_sortGroup.setExclusive(false);
    for (QAbstractButton* radio : m_sortGroup.buttons())
        radio->setChecked(false);
    m_sortGroup.setExclusive(true);
}

void CRZ450MenuDialog::LoadClock(bool syncPc)
{
    QDateTimeEdit* clock = m_pUi->m_pClockEdit;
    clock->setEnabled(!syncPc);
    if (syncPc)
        clock->setDateTime(QDateTime::currentDateTime());
    else
        clock->setDateTime(QDateTime::fromSecsSinceEpoch(qint64(m_pDevice->GetCurrentRecord().time)));
}

void CRZ450MenuDialog::RefreshLabels()
{
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    OnMinDurationValueChanged(ui.m_pMinDurationSlider->value());
    OnDelayValueChanged(ui.m_pDelaySlider->value());
    OnCdmaValueChanged(ui.m_pCdmaSlider->value());
    OnGsm900ValueChanged(ui.m_pGsm900Slider->value());
    OnGsm1800ValueChanged(ui.m_pGsm1800Slider->value());
    OnWlan24ValueChanged(ui.m_pWlan24Slider->value());
    OnBluetoothValueChanged(ui.m_pBluetoothSlider->value());
    OnTraffic24ValueChanged(ui.m_pTraffic24Slider->value());
    OnWlan5ValueChanged(ui.m_pWlan5Slider->value());
    OnTraffic5ValueChanged(ui.m_pTraffic5Slider->value());
    OnDectValueChanged(ui.m_pDectSlider->value());
    On3GValueChanged(ui.m_p3GSlider->value());
    On4GValueChanged(ui.m_p4GSlider->value());
    OnJammersGsmValueChanged(ui.m_pJammersGsmSlider->value());
    OnJammersGpsValueChanged(ui.m_pJammersGpsSlider->value());
    OnUsersBandValueChanged(ui.m_pUsersBandSlider->value());
    OnRangeStartValueChanged(ui.m_pRangeStartSlider->value());
    OnRangeEndValueChanged(ui.m_pRangeEndSlider->value());
    OnBandStepValueChanged(ui.m_pBandStepSlider->value());
    OnBrightnessValueChanged(ui.m_pBrightnessSlider->value());
    OnAutoOffValueChanged(ui.m_pAutoOffSlider->value());
    OnTimeCorrValueChanged(ui.m_pTimeCorrSlider->value());
    OnStartValueChanged(ui.m_pStartSlider->value());
    OnStopValueChanged(ui.m_pStopSlider->value());
}

void CRZ450MenuDialog::PutControls(QByteArray& block) const
{
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    PutSlider(block, ui.m_pMinDurationSlider, MIN_DURATION);
    PutSlider(block, ui.m_pDelaySlider, EVENT_DELAY);
    for (const CHECK_VALUE& band : BandChecks())
        PutCheck(block, band.check, band.index);
    PutCheck(block, ui.m_pLoggerCheck, LOGGER_ON);
    if (m_sortGroup.checkedId() >= 0)
        block[SORT_ORDER] = char(m_sortGroup.checkedId());
    PutCheck(block, ui.m_pShowBaseCheck, SHOW_BASE);
    PutCheck(block, ui.m_pIdentOffCheck, IDENT_OFF);
    for (const SLIDER_VALUE& threshold : Thresholds())
        PutSlider(block, threshold.slider, threshold.index);
    PutSlider(block, ui.m_pRangeStartSlider, RANGE_START);
    PutSlider(block, ui.m_pRangeEndSlider, RANGE_END);
    PutSlider(block, ui.m_pBandStepSlider, BAND_STEP);
    PutCheck(block, ui.m_pBypassCheck, BYPASS);
    block[LANGUAGE] = char(ui.m_pEnglishRadio->isChecked() ? 0 : 1);
    PutSlider(block, ui.m_pBrightnessSlider, BRIGHTNESS);
    block[AUTO_OFF] = char(ui.m_pAutoOffSlider->value() / AUTO_OFF_STEP);
    PutCheck(block, ui.m_pAutoOnCheck, AUTO_ON);
    PutCheck(block, ui.m_pSoundsCheck, SOUNDS);
    PutCheck(block, ui.m_pSyncPcCheck, SYNC_PC);
    PutSlider(block, ui.m_pTimeCorrSlider, TIME_CORRECTION);
    PutCheck(block, ui.m_pScheduleCheck, SCHEDULE_ON);
    PutSlider(block, ui.m_pStartSlider, SCHEDULE_START);
    PutSlider(block, ui.m_pStopSlider, SCHEDULE_STOP);
    PutCheck(block, ui.m_pEverydayCheck, EVERYDAY);
}

void CRZ450MenuDialog::PutCheck(QByteArray& block, const QCheckBox* check, int index)
{
    block[index] = char(check->isChecked() ? 1 : 0);
}

void CRZ450MenuDialog::PutSlider(QByteArray& block, const QSlider* slider, int index)
{
    block[index] = char(slider->value());
}

bool CRZ450MenuDialog::ControlsBlock(QByteArray& block)
{
    block = m_pDevice->GetMenuData();
    if (block.size() != MENU_SIZE) {
        m_warning(tr("The device returned an incomplete settings block."));
        return false;
    }
    PutControls(block);
    return true;
}

bool CRZ450MenuDialog::WriteControls()
{
    // The block travels whole: over the network every value written one by
    // one is a round trip of its own.
    QByteArray block;
    if (!ControlsBlock(block))
        return false;
    // The clock first, so that OK can post the write right behind the block.
    m_pDevice->SetTime(m_pUi->m_pClockEdit->dateTime());
    if (m_pDevice->SetMenuData(block))
        return true;
    m_warning(tr("The device did not take the settings."));
    return false;
}

bool CRZ450MenuDialog::Post(IDevice::RequestType request)
{
    return Guarded([this, request]() {
        m_pDevice->SetRequest(request);
        return true;
    });
}

bool CRZ450MenuDialog::Guarded(const std::function<bool()>& action)
{
    try {
        return action();
    } catch (const std::exception& error) {
        m_warning(tr("The device does not answer: %1").arg(QString::fromLatin1(error.what())));
        return false;
    }
}

void CRZ450MenuDialog::LoadMenuFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_warning(tr("Cannot open the file %1.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    // One byte past a block tells a wrong size, whatever the file's length.
    const QByteArray data = file.read(MENU_SIZE + 1);
    if (data.size() != MENU_SIZE) {
        m_warning(tr("%1 is not a menu file: a menu file holds exactly %2 bytes.")
                      .arg(QDir::toNativeSeparators(path))
                      .arg(MENU_SIZE));
        return;
    }
    // The controls show the file itself: a status report may already have
    // replaced the device's copy of it.
    Guarded([this, &data]() {
        if (!m_pDevice->SetMenuData(data)) {
            m_warning(tr("The device did not take the settings."));
            return false;
        }
        LoadControls([&data](int index) { return int(quint8(data.at(index))); });
        return true;
    });
}

void CRZ450MenuDialog::SaveMenuFile(const QString& path)
{
    // The device is left as it is: a clock set here would stand in for the
    // detector's until the next settings write.
    QByteArray block;
    if (!Guarded([this, &block]() { return ControlsBlock(block); }))
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(block) != MENU_SIZE || !file.commit())
        m_warning(tr("Cannot write the file %1.").arg(QDir::toNativeSeparators(path)));
}

bool CRZ450MenuDialog::Ask(const QString& question)
{
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, QCoreApplication::applicationName(), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

QString CRZ450MenuDialog::ChooseFile(bool save)
{
    const QString filter = tr("Menu Files (*.mnu)");
    if (!save)
        return QFileDialog::getOpenFileName(this, tr("Open Saved Menu Data"), QStringLiteral("."), filter);
    // Without the suffix a saved file would not show up under the filter.
    QFileDialog dialog(this, tr("Save Menu Data"), QStringLiteral("."), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("mnu"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void CRZ450MenuDialog::Warn(const QString& text)
{
    QMessageBox::warning(this, QCoreApplication::applicationName(), text);
}
