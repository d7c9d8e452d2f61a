// The front panel rendered into an image against a device whose values the
// test sets: the display is read back cell by cell through the font, bars
// and colours pixel by pixel; keys are pressed as the host widget does.
#include "CFakeRZ450Device.h"
#include "CRZ450VirtualDevice.h"
#include "LcdFont.h"
#include "proxy/CMetaDevice.h"

#include <QApplication>
#include <QDialog>
#include <QMap>
#include <QMessageBox>
#include <QPainter>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <climits>

namespace {

const QRgb BLACK = 0xFF000000;
const QRgb GREY = 0xFF808080;
const QRgb BACKGROUND = 0xFF00FF7F;
const QRgb BLUE = 0xFF0000FF;
const QRgb RED = 0xFFFF0000;
const QRgb STRIP_IDLE = 0xFFB0C4DE;
const QRgb STRIP_CURRENT = 0xFF4682B4;
const int PANEL_HEIGHT = 296;

class CPanelDevice : public CFakeRZ450Device
{
public:
    bool online = true;
    int mode = IDevice::MODE_MAN;
    int band = 1;
    int language = 0;
    QByteArray menu = QByteArray(IRZ450Device::MENU_SIZE, '\0');
    QDateTime time = QDateTime(QDate(2024, 3, 9), QTime(9, 5, 7));
    int mute = 0;
    int bank = 513;
    bool waiting = false;
    int delays[3] = {};
    int indicated[3] = {};
    QMap<int, int> levels, thresholds, scales;
    QSet<int> alarms;
    QString bandName = QStringLiteral("GSM 900 mobile   /");
    int abode = 0, showFreq = 0, freqMax = 0, demod = 0, peak = 0, overload = 0, bypass = 0;

    bool IsOnline() override { return online; }
    int GetCurrentMode() override { return mode; }
    int GetCurrentBand() override { return band; }
    unsigned char GetMenuValue(int index) override { return index >= 0 && index < menu.size() ? menu[index] : 0; }
    QDateTime GetTime() override { return time; }
    int GetLanguageID() override { return language; }
    bool IsSchedule() override { return false; }
    int GetCurrentBank() override { return bank; }
    bool IsWaiting() override { return waiting; }
    int GetLevelDbm(int b) override { return levels.value(b); }
    int GetThreshold(int b) override { return thresholds.value(b); }
    int GetDbmCorrScale(int b) override { return scales.value(b); }
    int GetEventCntDelay(int i) override { return i >= 0 && i < 3 ? delays[i] : 0; }
    int GetIndicateBand(int i) override { return i >= 0 && i < 3 ? indicated[i] : 0; }
    bool IsIndicateBand(int b) override { return alarms.contains(b); }
    QString GetBandName(int) override { return bandName; }
    int IsAbodeLevel() override { return abode; }
    int IsShowFreq() override { return showFreq; }
    int GetFreqMax() override { return freqMax; }
    int GetDemodMode() override { return demod; }
    int GetCntPeakFreq() override { return peak; }
    int GetOverload() override { return overload; }
    int GetMute() override { return mute; }
    int GetBypassPercent() override { return bypass; }

    // One indicator line in slot 0 on the given band.
    void ShowLine(int lineBand, int level)
    {
        delays[0] = 1;
        indicated[0] = lineBand;
        levels[lineBand] = level;
    }
};

// The Russian wording of the panel's own texts, as a loaded translation gives it.
class CRussianTexts : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "CRZ450VirtualDevice") != 0)
            return QString();
        return qstrcmp(source, "MHz") == 0 ? QString::fromUtf8("МГц") : QString();
    }
};

// Closes the next modal window, noting what it was.
class CModalCatcher : public QObject
{
public:
    CModalCatcher()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this]() { Inspect(); });
        m_timer.start();
    }

    QString className, title, text;
    QMessageBox::StandardButtons buttons;

private:
    void Inspect()
    {
        QDialog* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        m_timer.stop();
        className = QString::fromLatin1(dialog->metaObject()->className());
        title = dialog->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            text = box->text();
            buttons = box->standardButtons();
        }
        dialog->reject();
    }

    QTimer m_timer;
};

bool CellShows(const QImage& image, int x, int row, unsigned char code, QRgb ink)
{
    for (int r = 0; r < 16; ++r) {
        const int bits = LCD_FONT[code][2 * r] | (LCD_FONT[code][2 * r + 1] << 8);
        for (int c = 0; c < 9; ++c) {
            if (((bits >> c) & 1) != (image.pixel(x + c, 16 * row + r) == ink))
                return false;
        }
    }
    return true;
}

// The text in count cells from (x, row), written in ink; a cell that is no
// glyph reads as '\x01'. Lookalike letters read as their Latin twins.
QByteArray ReadText(const QImage& image, int x, int row, int count, QRgb ink = BLACK)
{
    QByteArray text;
    for (int i = 0; i < count; ++i, x += 9) {
        char found = '\x01';
        for (int code = 32; code < 288 && found == '\x01'; ++code) {
            if (CellShows(image, x, row, static_cast<unsigned char>(code), ink))
                found = char(code);
        }
        text += found;
    }
    return text;
}

bool Shows(const QImage& image, int x, int row, const QByteArray& bytes, QRgb ink = BLACK)
{
    for (int i = 0; i < bytes.size(); ++i) {
        if (!CellShows(image, x + 9 * i, row, static_cast<unsigned char>(bytes[i]), ink))
            return false;
    }
    return true;
}

int CountPixels(const QImage& image, int y, QRgb colour)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixel(x, y) == colour;
    return count;
}

// RZ450_PANEL_SHOTS names a folder to keep every rendering in as a PNG.
QImage Render(CRZ450VirtualDevice& panel)
{
    QImage image(160, PANEL_HEIGHT, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    panel.Paint(&painter);
    painter.end();
    static int shot = 0;
    const QString folder = qEnvironmentVariable("RZ450_PANEL_SHOTS");
    if (!folder.isEmpty()) {
        const QString name = QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('_')
            + QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
        image.scaled(image.size() * 3).save(QStringLiteral("%1/%2_%3.png").arg(folder, name).arg(++shot));
    }
    return image;
}

} // namespace

class TestRZ450VirtualDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void noLinkScreen_data();
    void noLinkScreen();
    void statusRowAndModeHeader_data();
    void statusRowAndModeHeader();
    void signedLevels_data();
    void signedLevels();
    void levelBar_data();
    void levelBar();
    void frequencies_data();
    void frequencies();
    void bandStripStates();
    void baseStationLabelsGreyOnlyOutsideAutomatic();
    void waitingDotsCycle();
    void russianTextsUseTheDisplayEncoding();
    void badDeviceValuesStayOnTheDisplay();
    void keypadPictureMatchesKeyTable();
    void menuKeyOfflineWarnsAndSendsNothing();
    void menuKeyOnlineOpensTheSettings();
    void otherKeysReachTheDevice();
    void fontCoversItsCharacters();

private:
    CPanelDevice* m_pFake = nullptr;
    CMetaDevice* m_pProxy = nullptr;
    CRZ450VirtualDevice* m_pPanel = nullptr;
};

void TestRZ450VirtualDevice::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("RZ450 Ondrix"));
}

void TestRZ450VirtualDevice::init()
{
    m_pFake = new CPanelDevice;
    m_pProxy = new CMetaDevice(m_pFake);
    m_pPanel = new CRZ450VirtualDevice;
    QVERIFY(m_pPanel->SetDevice(m_pProxy));
}

void TestRZ450VirtualDevice::cleanup()
{
    delete m_pPanel;
    delete m_pProxy;
    delete m_pFake;
}

void TestRZ450VirtualDevice::noLinkScreen_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("English") << 0 << QByteArray("    NO LINK  ");
    QTest::newRow("Russian") << 1 << QByteArray("   \xCD\xC5\xD2 \xD1\xC2\xDF\xC7\xC8 ");
    QTest::newRow("unknown language") << 7 << QByteArray("    NO LINK  ");
}

void TestRZ450VirtualDevice::noLinkScreen()
{
    QFETCH(int, language);
    QFETCH(QByteArray, text);
    m_pFake->online = false;
    m_pFake->language = language;
    m_pFake->ShowLine(1, 80);
    const QImage image = Render(*m_pPanel);
    QVERIFY(Shows(image, 10, 4, text));
    QCOMPARE(CountPixels(image, 8, BACKGROUND), 72);           // status icons only, no mode header
    QCOMPARE(CountPixels(image, 7 * 16 + 8, BACKGROUND), 160); // no band strip
    QCOMPARE(CountPixels(image, 2 * 16 + 6, BACKGROUND), 160); // no level bar

    // A server that does not answer, and no device at all, show the same.
    CMetaDevice server(QStringLiteral("127.0.0.1"));
    m_pPanel->SetDevice(&server);
    QVERIFY(Shows(Render(*m_pPanel), 10, 4, "    NO LINK  "));
    QVERIFY(!m_pPanel->SetDevice(nullptr));
    QVERIFY(Shows(Render(*m_pPanel), 10, 4, "    NO LINK  "));
}

void TestRZ450VirtualDevice::statusRowAndModeHeader_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("menu44");
    QTest::addColumn<int>("bank");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("automatic, logging") << 4 << 1 << 1 << 513 << QByteArray("AUTO 513");
    QTest::newRow("automatic, bank of four digits") << 4 << 1 << 1 << 1234 << QByteArray("AUTO 234");
    QTest::newRow("automatic, not logging") << 4 << 1 << 0 << 513 << QByteArray("AUTO ---");
    QTest::newRow("search") << 2 << 1 << 0 << 0 << QByteArray("SRCH    ");
    QTest::newRow("manual, scan band") << 1 << 18 << 0 << 0 << QByteArray("MAN     ");
    QTest::newRow("manual, mobile band") << 1 << 3 << 0 << 0 << QByteArray("MAN  MOB");
}

void TestRZ450VirtualDevice::statusRowAndModeHeader()
{
    QFETCH(int, mode);
    QFETCH(int, band);
    QFETCH(int, menu44);
    QFETCH(int, bank);
    QFETCH(QByteArray, header);
    m_pFake->mode = mode;
    m_pFake->band = band;
    m_pFake->menu[44] = char(menu44);
    m_pFake->bank = bank;
    m_pFake->menu[39] = 1;
    m_pFake->mute = 1;
    const QImage image = Render(*m_pPanel);
    QCOMPARE(ReadText(image, 0, 0, 8), header);
    const QRgb statusInk = 0xFFF0FFF0;
    QVERIFY(Shows(image, 72, 0, "\xB3\xB4", statusInk));
    QVERIFY(Shows(image, 90, 0, "\x94", statusInk));  // silenced speaker
    QVERIFY(Shows(image, 106, 0, "\x89", statusInk)); // schedule bell
    QCOMPARE(ReadText(image, 115, 0, 5, statusInk), QByteArray("09:05"));

    m_pFake->time = QDateTime();
    QCOMPARE(ReadText(Render(*m_pPanel), 115, 0, 5, statusInk), QByteArray("--:--"));
}

void TestRZ450VirtualDevice::signedLevels_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("102") << 1 << 102 << QByteArray("+00");
    QTest::newRow("101") << 1 << 101 << QByteArray("-01");
    QTest::newRow("3") << 1 << 3 << QByteArray("-99");
    QTest::newRow("2") << 1 << 2 << QByteArray("---");
    QTest::newRow("255") << 1 << 255 << QByteArray("+53");
    QTest::newRow("traffic") << 10 << 45 << QByteArray("45%");
}

void TestRZ450VirtualDevice::signedLevels()
{
    QFETCH(int, band);
    QFETCH(int, level);
    QFETCH(QByteArray, text);
    m_pFake->ShowLine(band, level);
    QCOMPARE(ReadText(Render(*m_pPanel), 0, 2, 3), text);
}

void TestRZ450VirtualDevice::levelBar_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("blue");
    QTest::addColumn<int>("red");
    QTest::newRow("above threshold") << 80 << 60 << 40 << 11 << 10;
    QTest::newRow("below threshold") << 80 << 100 << 40 << 21 << 0;
    QTest::newRow("below scale") << 30 << 60 << 40 << 1 << 0;
    QTest::newRow("full") << 255 << 0 << 0 << 1 << 31;
    QTest::newRow("extremes") << INT_MAX << -5 << INT_MIN << 32 << 0;
}

void TestRZ450VirtualDevice::levelBar()
{
    QFETCH(int, level);
    QFETCH(int, threshold);
    QFETCH(int, scale);
    QFETCH(int, blue);
    QFETCH(int, red);
    m_pFake->ShowLine(1, level);
    m_pFake->thresholds[1] = threshold;
    m_pFake->scales[1] = scale;
    const QImage image = Render(*m_pPanel);
    const int top = 2 * 16 + 2;
    QCOMPARE(CountPixels(image, top, BLUE), 2 * blue);
    QCOMPARE(CountPixels(image, top, RED), 2 * red);
    QCOMPARE(CountPixels(image, top + 9, BLUE) + CountPixels(image, top + 9, RED), 2 * (blue + red));
    QCOMPARE(CountPixels(image, top + 10, BLUE) + CountPixels(image, top + 10, RED), 0);
    QCOMPARE(image.pixel(27, top), BLUE); // right after the three level cells
    QCOMPARE(image.pixel(29, top), BACKGROUND);
}

void TestRZ450VirtualDevice::frequencies_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("scan, 433920") << 2 << 433920 << QByteArray("Freq1=433.920MHz");
    QTest::newRow("scan, 1200000") << 2 << 1200000 << QByteArray("Freq1=1200.000MHz");
    QTest::newRow("scan, 1000000") << 2 << 1000000 << QByteArray("Freq1=1000.000MHz");
    QTest::newRow("scan, 25000") << 2 << 25000 << QByteArray("Freq1=25.000MHz");
    QTest::newRow("band, 433920") << 1 << 433920 << QByteArray("Freq=433MHz");
}

void TestRZ450VirtualDevice::frequencies()
{
    QFETCH(int, mode);
    QFETCH(int, frequency);
    QFETCH(QByteArray, text);
    m_pFake->mode = mode;
    m_pFake->ShowLine(1, 80);
    m_pFake->showFreq = 1;
    m_pFake->freqMax = frequency;
    m_pFake->menu[21] = 4;
    m_pFake->menu[22] = 108;
    m_pFake->menu[23] = 2;
    const QImage image = Render(*m_pPanel);
    QCOMPARE(ReadText(image, 0, 3, text.size()), text);
    const QByteArray first = mode == 2 ? QByteArray("100-2700MHz(10)") : QByteArray("GSM 900 mobile   ");
    QCOMPARE(ReadText(image, 0, 1, first.size()), first);
}

void TestRZ450VirtualDevice::bandStripStates()
{
    for (int enable : { 51, 26, 27, 33, 34, 36, 28, 30, 31, 49, 35 })
        m_pFake->menu[enable] = 1;
    m_pFake->band = 20; // GSM 900 base lights "9"
    QImage image = Render(*m_pPanel);
    QVERIFY(Shows(image, 22, 7, "9"));
    QCOMPARE(image.pixel(22, 7 * 16), STRIP_CURRENT);
    QCOMPARE(image.pixel(34, 7 * 16), STRIP_IDLE);
    m_pFake->menu[36] = 0;
    QVERIFY(Shows(Render(*m_pPanel), 127, 7, "L", GREY));

    m_pFake->mode = IDevice::MODE_AUTO;
    m_pFake->alarms = { 6 };
    image = Render(*m_pPanel);
    QVERIFY(Shows(image, 68, 7, "3G"));
    QCOMPARE(image.pixel(68, 7 * 16), RED);
    QCOMPARE(image.pixel(22, 7 * 16), STRIP_IDLE);
}

void TestRZ450VirtualDevice::baseStationLabelsGreyOnlyOutsideAutomatic()
{
    m_pFake->menu.fill('\x01');
    m_pFake->menu[45] = 45;
    m_pFake->band = 7;
    QImage image = Render(*m_pPanel);
    QCOMPARE(ReadText(image, 0, 0, 8), QByteArray("MAN  BAS"));
    QVERIFY(Shows(image, 90, 7, "W", GREY) && Shows(image, 103, 7, "B", GREY));
    QVERIFY(Shows(image, 115, 7, "T", GREY) && Shows(image, 151, 7, "S", GREY));
    QVERIFY(Shows(image, 22, 7, "9") && Shows(image, 127, 7, "L"));

    m_pFake->mode = IDevice::MODE_AUTO;
    image = Render(*m_pPanel);
    QVERIFY(Shows(image, 90, 7, "W") && Shows(image, 151, 7, "S"));
}

void TestRZ450VirtualDevice::waitingDotsCycle()
{
    m_pFake->waiting = true;
    m_pFake->ShowLine(1, 80);
    QList<int> dots;
    for (int paint = 0; paint < 18; ++paint) {
        const QImage image = Render(*m_pPanel);
        dots.append(int(ReadText(image, 0, 1, 17).count('.')));
        QCOMPARE(CountPixels(image, 2 * 16 + 6, BLUE), 0); // no indicator lines
    }
    QCOMPARE(dots, QList<int>({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1 }));
}

void TestRZ450VirtualDevice::russianTextsUseTheDisplayEncoding()
{
    CRussianTexts russian;
    QApplication::installTranslator(&russian);
    m_pFake->language = 1;
    m_pFake->mode = IDevice::MODE_SRCH;
    m_pFake->ShowLine(18, 80);
    m_pFake->menu[21] = 4;
    m_pFake->menu[22] = 108;
    m_pFake->bypass = 35;
    const QImage image = Render(*m_pPanel);
    QApplication::removeTranslator(&russian);
    QVERIFY(Shows(image, 0, 0, "\xCF\xCE\xC8\xD1\xCA   ")); // ПОИСК
    QVERIFY(Shows(image, 0, 1, "100-2700\xCC\xC3\xF6(2)")); // МГц
    QVERIFY(Shows(image, 0, 4, "\xC8\xF1\xEA\xEB\xFE\xF7.\xF7\xE0\xF1\xF2.=035%"));

    m_pFake->mode = IDevice::MODE_MAN;
    m_pFake->ShowLine(1, 80);
    m_pFake->bandName = QString::fromLatin1("GSM 900 \xF2\xF0\xF3\xE1\xEA\xE0   /"); // трубка, as the driver gives it
    QVERIFY(Shows(Render(*m_pPanel), 0, 1, "GSM 900 \xF2\xF0\xF3\xE1\xEA\xE0   "));
}

void TestRZ450VirtualDevice::badDeviceValuesStayOnTheDisplay()
{
    m_pFake->ShowLine(1, 80);
    const QImage reference = Render(*m_pPanel);
    const QImage keypad = reference.copy(0, 128, 160, PANEL_HEIGHT - 128);

    m_pFake->menu.fill('\xFF');
    m_pFake->language = 2;
    m_pFake->bandName = QString(300, QLatin1Char('X'));
    for (int slot = 0; slot < 3; ++slot) {
        m_pFake->delays[slot] = 255;
        m_pFake->indicated[slot] = 200 + slot;
    }
    m_pFake->levels[200] = -7;
    m_pFake->overload = 255;
    m_pFake->demod = 9;
    m_pFake->peak = INT_MAX;
    m_pFake->freqMax = -1;
    for (int mode : { 0, 3, 6, 255, -1, 1, 2 }) {
        m_pFake->mode = mode;
        for (int band : { -1, 31, 255, 18 }) {
            m_pFake->band = band;
            for (int abode : { 0, 1 }) {
                m_pFake->abode = m_pFake->showFreq = abode;
                const QImage image = Render(*m_pPanel);
                QCOMPARE(image.copy(0, 128, 160, PANEL_HEIGHT - 128), keypad); // nothing drawn beyond the display
            }
        }
    }
    m_pFake->mode = IDevice::MODE_MAN;
    m_pFake->band = 1;
    QCOMPARE(ReadText(Render(*m_pPanel), 0, 0, 8), QByteArray("MAN  BAS"));
}

void TestRZ450VirtualDevice::keypadPictureMatchesKeyTable()
{
    QCOMPARE(m_pPanel->GetWidth(), 160);
    QCOMPARE(m_pPanel->GetScreenHeight() + m_pPanel->GetKeyboardHeight(), 295);
    QCOMPARE(m_pPanel->GetKeyCount(), 6);
    QCOMPARE(m_pPanel->GetKeyRect(5), QRect(85, 258, 63, 30));
    QVERIFY(m_pPanel->GetKeyRect(6).isEmpty() && m_pPanel->GetKeyRect(-1).isEmpty());
    const QImage image = Render(*m_pPanel);
    for (int key = 0; key < 6; ++key) {
        const QRect rect = m_pPanel->GetKeyRect(key);
        const QPoint inside(rect.left() + 5, rect.center().y());
        QVERIFY2(qGray(image.pixel(inside)) > 180, qPrintable(QString::number(key)));
        QVERIFY2(qGray(image.pixel(rect.left() - 4, rect.center().y())) < 80, qPrintable(QString::number(key)));
        QVERIFY2(qGray(image.pixel(rect.center().x(), rect.top() - 6)) < 80, qPrintable(QString::number(key)));
    }
}

void TestRZ450VirtualDevice::menuKeyOfflineWarnsAndSendsNothing()
{
    m_pFake->online = false;
    CModalCatcher catcher;
    m_pPanel->PressKey(5);
    QCOMPARE(catcher.className, QStringLiteral("QMessageBox"));
    QCOMPARE(catcher.title, QStringLiteral("RZ450 Ondrix"));
    QCOMPARE(catcher.text, QStringLiteral("No connection with the device!"));
    QCOMPARE(catcher.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(m_pFake->m_calls.filter(QStringLiteral("KeyPressed")).isEmpty());
}

void TestRZ450VirtualDevice::menuKeyOnlineOpensTheSettings()
{
    CModalCatcher catcher;
    m_pPanel->PressKey(5);
    QCOMPARE(catcher.className, QStringLiteral("CRZ450MenuDialog"));
    QVERIFY(m_pFake->m_calls.filter(QStringLiteral("KeyPressed")).isEmpty());
}

void TestRZ450VirtualDevice::otherKeysReachTheDevice()
{
    for (int key : { 0, 1, 2, 3, 4, 13 })
        m_pPanel->PressKey(key);
    QCOMPARE(m_pFake->m_calls.filter(QStringLiteral("KeyPressed")),
        QStringList(
            { "KeyPressed:0", "KeyPressed:1", "KeyPressed:2", "KeyPressed:3", "KeyPressed:4", "KeyPressed:13" }));
}

void TestRZ450VirtualDevice::fontCoversItsCharacters()
{
    auto glyph = [](int code) { return QByteArray(reinterpret_cast<const char*>(LCD_FONT[code]), 32); };
    const QByteArray blank(32, '\0');
    QSet<QByteArray> latin, cyrillic;
    for (int code = 33; code < 127; ++code)
        latin.insert(glyph(code));
    for (int code = 0xC0; code <= 0xFF; ++code)
        cyrillic.insert(glyph(code));
    cyrillic << glyph(0xA8) << glyph(0xB8);
    QCOMPARE(latin.size(), 94); // every one drawn, no two alike
    QCOMPARE(cyrillic.size(), 66);
    QVERIFY(!latin.contains(blank) && !cyrillic.contains(blank));
    for (int icon : { 137, 146, 147, 148, 149, 174, 175, 179, 180 })
        QVERIFY2(glyph(icon) != blank, qPrintable(QString::number(icon)));
}

QTEST_MAIN(TestRZ450VirtualDevice)
#include "tst_RZ450VirtualDevice.moc"
