#include "CRZ450MenuDialog.h"
#include "RZ450GuiSettingsKeys.h"

#include "CRZ450MenuFile.h"
#include "CRZ450MenuTable.h"
#include "IDevice.h"
#include "RZ450Layout.h"
#include "ui_CRZ450MenuDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>

#include <exception>

namespace {

namespace Menu = RZ450Layout::Menu;

// Button ids in the order given, which is the order of the byte's values.
void AddButtons(QButtonGroup& group, const QList<QAbstractButton*>& buttons)
{
    for (int id = 0; id < buttons.size(); ++id)
        group.addButton(buttons.at(id), id);
}

} // namespace

CRZ450MenuDialog::CRZ450MenuDialog(IDevice* device, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CRz450MenuDialogClass>())
    , m_pDevice(device)
{
    m_pUi->setupUi(this);
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    AddButtons(m_sortGroup,
        { ui.m_pSortTimeRadio, ui.m_pSortLevelRadio, ui.m_pSortBandRadio, ui.m_pSortDurationRadio });
    AddButtons(m_languageGroup, { ui.m_pEnglishRadio, ui.m_pRussianRadio });
    m_pTable = MakeTable();
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
    m_pTable->Show(Menu::MIN_DURATION, value);
}

void CRZ450MenuDialog::OnDelayValueChanged(int value)
{
    m_pTable->Show(Menu::EVENT_DELAY, value);
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
    m_pTable->Show(Menu::THRESHOLD_CDMA, value);
}

void CRZ450MenuDialog::OnGsm900ValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_GSM900, value);
}

void CRZ450MenuDialog::OnGsm1800ValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_GSM1800, value);
}

void CRZ450MenuDialog::OnWlan24ValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_WLAN24, value);
}

void CRZ450MenuDialog::OnBluetoothValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_BLUETOOTH, value);
}

void CRZ450MenuDialog::OnTraffic24ValueChanged(int value)
{
    m_pTable->Show(Menu::TRAFFIC24_VOLUME, value);
}

void CRZ450MenuDialog::OnWlan5ValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_WLAN5, value);
}

void CRZ450MenuDialog::OnTraffic5ValueChanged(int value)
{
    m_pTable->Show(Menu::TRAFFIC5_VOLUME, value);
}

void CRZ450MenuDialog::OnDectValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_DECT, value);
}

void CRZ450MenuDialog::On3GValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_3G, value);
}

void CRZ450MenuDialog::On4GValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_4G, value);
}

void CRZ450MenuDialog::OnJammersGsmValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_JAMMERS_GSM, value);
}

void CRZ450MenuDialog::OnJammersGpsValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_JAMMERS_GPS, value);
}

void CRZ450MenuDialog::OnUsersBandValueChanged(int value)
{
    m_pTable->Show(Menu::THRESHOLD_SCAN, value);
}

void CRZ450MenuDialog::OnRangeStartValueChanged(int value)
{
    m_pTable->Show(Menu::RANGE_START, value);
}

void CRZ450MenuDialog::OnRangeEndValueChanged(int value)
{
    m_pTable->Show(Menu::RANGE_END, value);
}

void CRZ450MenuDialog::OnBandStepValueChanged(int value)
{
    m_pTable->Show(Menu::BAND_STEP, value);
}

void CRZ450MenuDialog::OnBrightnessValueChanged(int value)
{
    m_pTable->Show(Menu::BRIGHTNESS, value);
}

void CRZ450MenuDialog::OnAutoOffValueChanged(int value)
{
    m_pTable->Show(Menu::DISPLAY_AUTO_OFF, value);
}

void CRZ450MenuDialog::OnTimeCorrValueChanged(int value)
{
    m_pTable->Show(Menu::TIME_CORRECTION, value);
}

void CRZ450MenuDialog::OnStartValueChanged(int value)
{
    m_pTable->Show(Menu::SCHEDULE_START, value);
}

void CRZ450MenuDialog::OnStopValueChanged(int value)
{
    m_pTable->Show(Menu::SCHEDULE_STOP, value);
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
        m_pTable->RefreshLabels();
    }
    QDialog::changeEvent(event);
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
    m_pTable->Connect(this);
}

std::unique_ptr<CRZ450MenuTable> CRZ450MenuDialog::MakeTable()
{
    using T = CRZ450MenuTable;
    using D = CRZ450MenuDialog;
    using namespace RZ450Layout::Menu;
    const Ui::CRz450MenuDialogClass& ui = *m_pUi;
    // Loaded and applied in this order; a network device sees the reads in
    // it, one request each.
    return std::make_unique<T>(QList<T::MENU_CONTROL> {
        T::Slider(ui.m_pMinDurationSlider, ui.m_pMinDurationLabel, MIN_DURATION, T::SECONDS, 0, 10,
            &D::OnMinDurationValueChanged),
        T::Slider(ui.m_pDelaySlider, ui.m_pDelayLabel, EVENT_DELAY, T::SECONDS, 1, 120, &D::OnDelayValueChanged),
        T::Check(ui.m_pCdmaCheck, BAND_CDMA),
        T::Check(ui.m_pGsm900Check, BAND_GSM900),
        T::Check(ui.m_pGsm1800Check, BAND_GSM1800),
        T::Check(ui.m_pDectCheck, BAND_DECT),
        T::Check(ui.m_p3GCheck, BAND_3G),
        T::Check(ui.m_p4GCheck, BAND_4G),
        T::Check(ui.m_pWlan24Check, BAND_WLAN24),
        T::Check(ui.m_pBluetoothCheck, BAND_BLUETOOTH),
        T::Check(ui.m_pTraffic24Check, BAND_TRAFFIC24),
        T::Check(ui.m_pWlan5Check, BAND_WLAN5),
        T::Check(ui.m_pTraffic5Check, BAND_TRAFFIC5),
        T::Check(ui.m_pJammersGsmCheck, BAND_JAMMERS_GSM),
        T::Check(ui.m_pJammersGpsCheck, BAND_JAMMERS_GPS),
        T::Check(ui.m_pUsersBandCheck, BAND_SCAN),
        T::Check(ui.m_pLoggerCheck, LOGGING),
        T::Choice(&m_sortGroup, SORT_ORDER),
        T::Check(ui.m_pShowBaseCheck, SHOW_BASE),
        T::Check(ui.m_pIdentOffCheck, IDENT_OFF),
        T::Slider(ui.m_pCdmaSlider, ui.m_pCdmaLabel, THRESHOLD_CDMA, T::DB, 22, 97, &D::OnCdmaValueChanged),
        T::Slider(ui.m_pGsm900Slider, ui.m_pGsm900Label, THRESHOLD_GSM900, T::DB, 22, 97, &D::OnGsm900ValueChanged),
        T::Slider(ui.m_pGsm1800Slider, ui.m_pGsm1800Label, THRESHOLD_GSM1800, T::DB, 22, 97, &D::OnGsm1800ValueChanged),
        T::Slider(ui.m_pDectSlider, ui.m_pDectLabel, THRESHOLD_DECT, T::DB, 22, 97, &D::OnDectValueChanged),
        T::Slider(ui.m_p3GSlider, ui.m_p3GLabel, THRESHOLD_3G, T::DB, 12, 97, &D::On3GValueChanged),
        T::Slider(ui.m_p4GSlider, ui.m_p4GLabel, THRESHOLD_4G, T::DB, 22, 97, &D::On4GValueChanged),
        T::Slider(ui.m_pWlan24Slider, ui.m_pWlan24Label, THRESHOLD_WLAN24, T::DB, 22, 97, &D::OnWlan24ValueChanged),
        T::Slider(ui.m_pBluetoothSlider, ui.m_pBluetoothLabel, THRESHOLD_BLUETOOTH, T::DB, 22, 97,
            &D::OnBluetoothValueChanged),
        T::Slider(ui.m_pTraffic24Slider, ui.m_pTraffic24Label, TRAFFIC24_VOLUME, T::PERCENT, 22, 99,
            &D::OnTraffic24ValueChanged),
        T::Slider(ui.m_pWlan5Slider, ui.m_pWlan5Label, THRESHOLD_WLAN5, T::DB, 22, 97, &D::OnWlan5ValueChanged),
        T::Slider(ui.m_pTraffic5Slider, ui.m_pTraffic5Label, TRAFFIC5_VOLUME, T::PERCENT, 22, 99,
            &D::OnTraffic5ValueChanged),
        T::Slider(ui.m_pJammersGsmSlider, ui.m_pJammerGsmLabel, THRESHOLD_JAMMERS_GSM, T::DB, 22, 97,
            &D::OnJammersGsmValueChanged),
        T::Slider(ui.m_pJammersGpsSlider, ui.m_pJammersGpsLabel, THRESHOLD_JAMMERS_GPS, T::DB, 22, 97,
            &D::OnJammersGpsValueChanged),
        T::Slider(ui.m_pUsersBandSlider, ui.m_pUsersBandLabel, THRESHOLD_SCAN, T::PLAIN_DB, 5, 30,
            &D::OnUsersBandValueChanged),
        T::Slider(ui.m_pRangeStartSlider, ui.m_pRangeStartLabel, RANGE_START, T::RANGE_MHZ, 1, 239,
            &D::OnRangeStartValueChanged),
        T::Slider(ui.m_pRangeEndSlider, ui.m_pRangeEndLabel, RANGE_END, T::RANGE_MHZ, 2, 240,
            &D::OnRangeEndValueChanged),
        T::Slider(ui.m_pBandStepSlider, ui.m_pBandStepLabel, BAND_STEP, T::STEP_MHZ, 0, 4, &D::OnBandStepValueChanged),
        T::Check(ui.m_pBypassCheck, BYPASS),
        T::Choice(&m_languageGroup, LANGUAGE, T::LANGUAGE_CHOICE),
        T::Slider(ui.m_pBrightnessSlider, ui.m_pBrightnessSliderLabel, BRIGHTNESS, T::TENS_PERCENT, 1, 10,
            &D::OnBrightnessValueChanged),
        T::Slider(ui.m_pAutoOffSlider, ui.m_pAutoOffSliderLabel, DISPLAY_AUTO_OFF, T::AUTO_OFF_SECONDS, 24,
            T::AUTO_OFF_TOP, &D::OnAutoOffValueChanged),
        T::Check(ui.m_pAutoOnCheck, DISPLAY_AUTO_ON),
        T::Check(ui.m_pSoundsCheck, SOUNDS),
        T::Check(ui.m_pSyncPcCheck, SYNC_CLOCK, T::CLOCK_CHECK),
        T::Slider(ui.m_pTimeCorrSlider, ui.m_pTimeCorrSliderLabel, TIME_CORRECTION, T::SIGNED_SECONDS, 1, 255,
            &D::OnTimeCorrValueChanged),
        T::Check(ui.m_pScheduleCheck, SCHEDULE),
        T::Slider(ui.m_pStartSlider, ui.m_pStartSliderLabel, SCHEDULE_START, T::HOURS, 0, 23, &D::OnStartValueChanged),
        T::Slider(ui.m_pStopSlider, ui.m_pStopSliderLabel, SCHEDULE_STOP, T::HOURS, 0, 23, &D::OnStopValueChanged),
        T::Check(ui.m_pEverydayCheck, EVERYDAY),
    });
}

void CRZ450MenuDialog::SelectStoredTab()
{
    m_pUi->m_pTabWidget->setCurrentIndex(QSettings().value(RZ450GuiSettingsKeys::MENU_DIALOG_TAB, 0).toInt());
}

void CRZ450MenuDialog::StoreTab()
{
    QSettings().setValue(RZ450GuiSettingsKeys::MENU_DIALOG_TAB, m_pUi->m_pTabWidget->currentIndex());
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
        const QList<QWidget*> needBlock
            = { ui.m_pTabWidget, ui.m_pDefaultsButton, ui.m_pLoadButton, ui.m_pSaveButton, ui.m_pOkButton };
        for (QWidget* widget : needBlock)
            widget->setEnabled(false);
        const QString text = tr("The device does not answer: %1").arg(QString::fromLatin1(error.what()));
        QTimer::singleShot(0, this, [this, text]() { m_warning(text); });
    }
}

void CRZ450MenuDialog::LoadControls(const std::function<int(int index)>& value)
{
    m_pTable->Load(value, [this](bool syncPc) { LoadClock(syncPc); });
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

bool CRZ450MenuDialog::ControlsBlock(QByteArray& block, const std::function<void()>& applyClock)
{
    block = m_pDevice->GetMenuData();
    if (block.size() != RZ450Layout::MENU_SIZE) {
        m_warning(tr("The device returned an incomplete settings block."));
        return false;
    }
    m_pTable->Apply(block, applyClock);
    return true;
}

bool CRZ450MenuDialog::WriteControls()
{
    // The block travels whole: over the network every value written one by
    // one is a round trip of its own. The clock is set on the way, so that OK
    // can post the write right behind the block.
    QByteArray block;
    if (!ControlsBlock(block, [this]() { m_pDevice->SetTime(m_pUi->m_pClockEdit->dateTime()); }))
        return false;
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
    QByteArray menu;
    switch (CRZ450MenuFile::Read(path, menu)) {
    case CRZ450MenuFile::OpenFailed:
        m_warning(tr("Cannot open the file %1.").arg(QDir::toNativeSeparators(path)));
        return;
    case CRZ450MenuFile::WrongSize:
        m_warning(tr("%1 is not a menu file: a menu file holds exactly %2 bytes.")
                      .arg(QDir::toNativeSeparators(path))
                      .arg(RZ450Layout::MENU_SIZE));
        return;
    case CRZ450MenuFile::Ok: break;
    }
    // The controls show the file itself: a status report may already have
    // replaced the device's copy of it.
    Guarded([this, &menu]() {
        if (!m_pDevice->SetMenuData(menu)) {
            m_warning(tr("The device did not take the settings."));
            return false;
        }
        LoadControls([&menu](int index) { return int(quint8(menu.at(index))); });
        return true;
    });
}

void CRZ450MenuDialog::SaveMenuFile(const QString& path)
{
    // The device is left as it is: a clock set here would stand in for the
    // detector's until the next settings write.
    QByteArray block;
    if (!Guarded([this, &block]() { return ControlsBlock(block, nullptr); }))
        return;
    if (!CRZ450MenuFile::Write(path, block))
        m_warning(tr("Cannot write the file %1.").arg(QDir::toNativeSeparators(path)));
}

bool CRZ450MenuDialog::Ask(const QString& question)
{
    const QMessageBox::StandardButton answer = QMessageBox::question(this, QCoreApplication::applicationName(),
        question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
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
