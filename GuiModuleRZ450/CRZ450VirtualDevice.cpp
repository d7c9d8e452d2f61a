#include "CRZ450VirtualDevice.h"

#include "BandStrip.h"
#include "CRZ450MenuDialog.h"
#include "CRZ450MetaDevice.h"
#include "IRZ450Device.h"
#include "LcdTexts.h"
#include "RZ450Layout.h"
#include "ScanSteps.h"
#include "proxy/CMetaDevice.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>

#include <exception>

// Outside any namespace, as the resource initialiser's name requires.
static void InitPluginResources()
{
    Q_INIT_RESOURCE(GuiModuleRZ450);
}

namespace {

const char* const KEYBOARD_PICTURE = ":/GuiModuleRZ450/Resources/keyb450.bmp";

const QRect KEY_RECTS[CRZ450VirtualDevice::KEY_COUNT] = {
    QRect(10, 202, 63, 30),
    QRect(85, 202, 63, 30),
    QRect(85, 146, 63, 30),
    QRect(10, 146, 63, 30),
    QRect(10, 258, 63, 30),
    QRect(85, 258, 63, 30),
};

// Palette codes of LCD_PALETTE.
enum Colour {
    STATUS_INK = 10,
    STATUS_PAPER = 93,
    INK = 100,
    HEADER_PAPER = 46,
    OVERLOAD_INK = 84,
    LABEL_DISABLED_INK = 23,
    LABEL_PAPER = 34,
    LABEL_ALARM_PAPER = 97,
    LABEL_CURRENT_PAPER = 33
};
enum LabelLook { LABEL_IDLE, LABEL_DISABLED, LABEL_ALARM, LABEL_CURRENT };

// The speakers and the aerial are two cells wide: this code and the next.
const unsigned char GLYPH_BLANK = ' ';
const unsigned char GLYPH_BELL = 137;
const unsigned char GLYPH_SPEAKER = 146;
const unsigned char GLYPH_SPEAKER_OFF = 148;
const unsigned char GLYPH_OVER = 174;
const unsigned char GLYPH_UNDER = 175;
const unsigned char GLYPH_AERIAL = 179;

const int STATUS_ICON_X = 72;
const int SPEAKER_X = 90;
const int SCHEDULE_X = 106;
const int CLOCK_X = 115;
const int NO_LINK_X = 10;
const int NO_LINK_ROW = 4;
const int STRIP_ROW = 7;
const int WAITING_ROW = 1;
const int WAITING_CELLS = 17;
const int WAITING_PHASES = 16;
const int BYPASS_ROW = 4;
const int OVERLOAD_X = 151;
const int INDICATOR_SLOTS = RZ450Layout::Report::PAIRS;

namespace Menu = RZ450Layout::Menu;

// The detector shows any language it does not know in English.
int Language(int value)
{
    return value == 1 ? 1 : 0;
}

bool Contains(const int* bands, int count, int band)
{
    for (int i = 0; i < count && bands[i] != BAND_STRIP_NONE; ++i) {
        if (bands[i] == band)
            return true;
    }
    return false;
}

// kHz as MHz: the point goes before the last three digits whatever the
// length, so that 1000000 reads 1000.000 and 25000 reads 25.000 rather than
// having the point after a fixed digit count.
QByteArray FrequencyText(int kHz)
{
    const quint32 value = quint32(kHz);
    return QByteArray::number(value / 1000) + '.' + QByteArray::number(value % 1000).rightJustified(3, '0');
}

// The scan range is on screen in search mode, and in manual mode on the
// scan band.
bool IsScanView(int mode, int band)
{
    return (mode & IDevice::MODE_SRCH) || ((mode & IDevice::MODE_MAN) && band == IRZ450Device::BAND_SCAN);
}

bool IsTrafficBand(int band)
{
    return band == RZ450Layout::BAND_TRAFFIC24 || band == RZ450Layout::BAND_TRAFFIC5;
}

} // namespace

CRZ450VirtualDevice::CRZ450VirtualDevice()
{
    InitPluginResources();
    const QPixmap picture(QString::fromLatin1(KEYBOARD_PICTURE));
    m_keyboard = picture.scaled(WIDTH, KEYBOARD_HEIGHT, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool CRZ450VirtualDevice::SetDevice(IDevice* device)
{
    m_pDevice = device;
    return device != nullptr;
}

void CRZ450VirtualDevice::Paint(QPainter* painter)
{
    if (!painter)
        return;
    painter->drawPixmap(0, KEYBOARD_TOP, m_keyboard);
    DrawScreen();
    painter->drawImage(0, 0, m_canvas.Image());
}

void CRZ450VirtualDevice::Start()
{
}

void CRZ450VirtualDevice::Stop()
{
}

int CRZ450VirtualDevice::GetWidth()
{
    return WIDTH;
}

int CRZ450VirtualDevice::GetScreenHeight()
{
    return SCREEN_HEIGHT;
}

int CRZ450VirtualDevice::GetKeyboardHeight()
{
    return KEYBOARD_HEIGHT;
}

int CRZ450VirtualDevice::GetKeyCount()
{
    return KEY_COUNT;
}

QRect CRZ450VirtualDevice::GetKeyRect(int index)
{
    return index >= 0 && index < KEY_COUNT ? KEY_RECTS[index] : QRect();
}

void CRZ450VirtualDevice::PressKey(int key)
{
    // A server that stops answering means there is no connection either.
    try {
        if (key == MENU_KEY) {
            if (m_pDevice && m_pDevice->IsOnline())
                OpenMenu();
            else
                WarnNoConnection();
        } else if (m_pDevice) {
            m_pDevice->KeyPressed(IDevice::KeyType(key));
        }
    } catch (const std::exception&) {
        WarnNoConnection();
    }
}

void CRZ450VirtualDevice::OpenMenu()
{
    CRZ450MenuDialog dialog(m_pDevice, QApplication::activeWindow());
    dialog.exec();
}

void CRZ450VirtualDevice::WarnNoConnection()
{
    QMessageBox::warning(QApplication::activeWindow(), QApplication::applicationName(),
        tr("No connection with the device!"), QMessageBox::Ok);
}

void CRZ450VirtualDevice::DrawScreen()
{
    m_canvas.Clear();
    if (!m_pDevice) {
        DrawNoLink(0);
        return;
    }
    try {
        DrawDeviceScreen();
    } catch (const std::exception&) {
        // Asking for the language would only wait for the server once more.
        m_canvas.Clear();
        DrawNoLink(0);
    }
}

void CRZ450VirtualDevice::DrawDeviceScreen()
{
    CRZ450MetaDevice rz(dynamic_cast<CMetaDevice*>(m_pDevice));
    DrawStatusRow(rz);
    const int language = Language(rz.GetLanguageID());
    if (!m_pDevice->IsOnline()) {
        DrawNoLink(language);
        return;
    }
    const SCREEN_STATE screen { m_pDevice->GetCurrentMode(), m_pDevice->GetCurrentBand(), language,
        m_pDevice->GetMenuValue(Menu::SHOW_BASE) != 0 };
    DrawModeHeader(rz, screen);
    DrawBandStrip(rz, screen);
    m_canvas.SetColors(INK, CLcdCanvas::BACKGROUND);
    if (DrawWaiting(rz))
        return;
    for (int slot = 0; slot < INDICATOR_SLOTS; ++slot)
        DrawIndicator(rz, screen, slot);
}

void CRZ450VirtualDevice::DrawStatusRow(CRZ450MetaDevice& rz)
{
    m_canvas.SetColors(STATUS_INK, STATUS_PAPER);
    m_canvas.MoveTo(STATUS_ICON_X, 0);
    m_canvas.Glyph(GLYPH_AERIAL);
    m_canvas.Glyph(static_cast<unsigned char>(GLYPH_AERIAL + 1));
    const unsigned char speaker = rz.GetMute() == 0 ? GLYPH_SPEAKER : GLYPH_SPEAKER_OFF;
    m_canvas.MoveTo(SPEAKER_X, 0);
    m_canvas.Glyph(speaker);
    m_canvas.Glyph(static_cast<unsigned char>(speaker + 1));
    m_canvas.MoveTo(SCHEDULE_X, 0);
    m_canvas.Glyph(m_pDevice->GetMenuValue(Menu::SCHEDULE) != 0 ? GLYPH_BELL : GLYPH_BLANK);
    m_canvas.Blanks(1);
    DrawClock();
}

// Before the detector has told its time there is none to show.
void CRZ450VirtualDevice::DrawClock()
{
    const QDateTime time = m_pDevice->GetTime();
    m_canvas.MoveTo(CLOCK_X, 0);
    if (!time.isValid()) {
        m_canvas.Write("--:--");
        return;
    }
    m_canvas.Number(time.time().hour(), 2);
    m_canvas.Glyph(':');
    m_canvas.Number(time.time().minute(), 2);
}

void CRZ450VirtualDevice::DrawNoLink(int language)
{
    m_canvas.SetColors(INK, CLcdCanvas::BACKGROUND);
    m_canvas.MoveTo(NO_LINK_X, NO_LINK_ROW);
    m_canvas.Write(LCD_TEXTS[LCD_NO_LINK + language]);
}

void CRZ450VirtualDevice::DrawModeHeader(CRZ450MetaDevice& rz, const SCREEN_STATE& screen)
{
    const int names = LCD_MODE_NAMES + 4 * screen.language;
    m_canvas.SetColors(INK, HEADER_PAPER);
    m_canvas.MoveTo(0, 0);
    if (screen.mode & IDevice::MODE_AUTO) {
        m_canvas.Write(LCD_TEXTS[names + 1]);
        if (m_pDevice->GetMenuValue(Menu::LOGGING) != 0 || rz.IsSchedule())
            m_canvas.Number(rz.GetCurrentBank(), 3);
        else
            m_canvas.Write(LCD_TEXTS[LCD_NO_VALUE]);
    } else if (screen.mode & IDevice::MODE_SRCH) {
        m_canvas.Write(LCD_TEXTS[names + 2]);
        m_canvas.Blanks(3);
    } else {
        m_canvas.Write(LCD_TEXTS[names]);
        if (screen.band == IRZ450Device::BAND_SCAN)
            m_canvas.Blanks(3);
        else
            m_canvas.Write(LCD_TEXTS[LCD_STATION + 2 * screen.language + (screen.baseStations ? 1 : 0)]);
    }
}

void CRZ450VirtualDevice::DrawBandStrip(CRZ450MetaDevice& rz, const SCREEN_STATE& screen)
{
    static const int INKS[] = { INK, LABEL_DISABLED_INK, INK, INK };
    static const int PAPERS[] = { LABEL_PAPER, LABEL_PAPER, LABEL_ALARM_PAPER, LABEL_CURRENT_PAPER };
    for (int i = 0; i < BAND_STRIP_SIZE; ++i) {
        const int state = LabelState(rz, screen, i);
        m_canvas.SetColors(INKS[state], PAPERS[state]);
        m_canvas.MoveTo(BAND_STRIP[i].x, STRIP_ROW);
        m_canvas.Write(LCD_TEXTS[BAND_STRIP[i].text]);
        m_canvas.Blanks(1);
    }
}

int CRZ450VirtualDevice::LabelState(CRZ450MetaDevice& rz, const SCREEN_STATE& screen, int label)
{
    const BAND_LABEL& strip = BAND_STRIP[label];
    bool enabled = false;
    for (int i = 0; i < 2 && strip.enables[i] != BAND_STRIP_NONE && !enabled; ++i)
        enabled = m_pDevice->GetMenuValue(strip.enables[i]) != 0;
    const bool automatic = screen.mode == IDevice::MODE_AUTO;
    if (!enabled || (strip.baseStation && screen.baseStations && !automatic))
        return LABEL_DISABLED;
    if (!automatic)
        return Contains(strip.currentBands, 6, screen.band) ? LABEL_CURRENT : LABEL_IDLE;
    for (int i = 0; i < 3 && strip.alarmBands[i] != BAND_STRIP_NONE; ++i) {
        if (rz.IsIndicateBand(strip.alarmBands[i]))
            return LABEL_ALARM;
    }
    return LABEL_IDLE;
}

bool CRZ450VirtualDevice::DrawWaiting(CRZ450MetaDevice& rz)
{
    if (!rz.IsWaiting())
        return false;
    m_canvas.MoveTo(0, WAITING_ROW);
    for (int i = 0; i < WAITING_CELLS; ++i)
        m_canvas.Glyph(i < m_nWaiting ? '.' : ' ');
    m_nWaiting = m_nWaiting % WAITING_PHASES + 1;
    return true;
}

void CRZ450VirtualDevice::DrawIndicator(CRZ450MetaDevice& rz, const SCREEN_STATE& screen, int slot)
{
    if (rz.GetEventCntDelay(slot) == 0)
        return;
    const int row = 2 * slot + 1;
    const int band = rz.GetIndicateBand(slot);
    if (IsScanView(screen.mode, screen.band))
        DrawScanView(rz, screen, row);
    else
        DrawBandView(rz, row, band);
    DrawLevelRow(rz, row + 1, band);
}

void CRZ450VirtualDevice::DrawScanView(CRZ450MetaDevice& rz, const SCREEN_STATE& screen, int row)
{
    const int abode = rz.IsAbodeLevel();
    if (!abode) {
        m_canvas.MoveTo(0, row);
        m_canvas.Write(ScanRangeText());
        if (const int percent = rz.GetBypassPercent()) {
            m_canvas.MoveTo(0, BYPASS_ROW);
            m_canvas.Write(LCD_TEXTS[LCD_BYPASS + screen.language]);
            m_canvas.Number(percent, 3);
            m_canvas.Glyph('%');
        }
    }
    const int overload = rz.GetOverload();
    m_canvas.SetColors(OVERLOAD_INK, CLcdCanvas::BACKGROUND);
    m_canvas.MoveTo(OVERLOAD_X, row);
    m_canvas.Glyph((overload & 1) ? GLYPH_OVER : overload == 2 ? GLYPH_UNDER : GLYPH_BLANK);
    m_canvas.SetColors(INK, CLcdCanvas::BACKGROUND);
    if (abode || rz.IsShowFreq()) {
        m_canvas.MoveTo(0, row + 2);
        m_canvas.Write(PeakText(rz));
    }
    if (abode) {
        m_canvas.MoveTo(0, row + 3);
        m_canvas.Write(CLcdCanvas::Encode(tr("Demodulation ")) + DemodulationText(rz.GetDemodMode()));
    }
}

void CRZ450VirtualDevice::DrawBandView(CRZ450MetaDevice& rz, int row, int band)
{
    m_canvas.MoveTo(0, row);
    if (band == IRZ450Device::BAND_SCAN) {
        m_canvas.Write(ScanRangeText());
    } else {
        // The names are the detector's own 8-bit text and end in a separator.
        QByteArray name = rz.GetBandName(band).toLatin1();
        name.chop(1);
        m_canvas.Write(name);
    }
    if (rz.IsShowFreq()) {
        m_canvas.MoveTo(0, row + 2);
        m_canvas.Write(CLcdCanvas::Encode(tr("Freq=")) + QByteArray::number(quint32(rz.GetFreqMax()) / 1000)
            + CLcdCanvas::Encode(tr("MHz")));
    }
}

void CRZ450VirtualDevice::DrawLevelRow(CRZ450MetaDevice& rz, int row, int band)
{
    const int level = rz.GetLevelDbm(band);
    m_canvas.MoveTo(0, row);
    if (IsTrafficBand(band)) {
        m_canvas.Number(level, 2);
        m_canvas.Glyph('%');
    } else {
        m_canvas.SignedLevel(level);
    }
    m_canvas.LevelBar(level, rz.GetThreshold(band), rz.GetDbmCorrScale(band));
}

QByteArray CRZ450VirtualDevice::ScanRangeText()
{
    const int start = m_pDevice->GetMenuValue(Menu::RANGE_START) * Menu::RANGE_UNIT_MHZ;
    const int end = m_pDevice->GetMenuValue(Menu::RANGE_END) * Menu::RANGE_UNIT_MHZ;
    const int step = ScanStep(m_pDevice->GetMenuValue(Menu::BAND_STEP));
    return QByteArray::number(start) + '-' + QByteArray::number(end) + CLcdCanvas::Encode(tr("MHz")) + '('
        + QByteArray::number(step) + ')';
}

QByteArray CRZ450VirtualDevice::PeakText(CRZ450MetaDevice& rz)
{
    const qint64 peak = qint64(rz.GetCntPeakFreq()) + 1;
    return CLcdCanvas::Encode(tr("Freq")) + QByteArray::number(peak) + '=' + FrequencyText(rz.GetFreqMax())
        + CLcdCanvas::Encode(tr("MHz"));
}

// A mode the detector does not name shows as no value.
QByteArray CRZ450VirtualDevice::DemodulationText(int mode)
{
    switch (mode) {
    case 0: return CLcdCanvas::Encode(tr("OFF"));
    case 1: return CLcdCanvas::Encode(tr("AM"));
    case 2: return CLcdCanvas::Encode(tr("FM"));
    default: return LCD_TEXTS[LCD_NO_VALUE];
    }
}
