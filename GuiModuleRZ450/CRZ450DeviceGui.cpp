#include "CRZ450DeviceGui.h"

#include "CRZ450MetaDevice.h"
#include "ISpecificControls.h"
#include "diagram/CQDiagramWidget.h"
#include "proxy/CMetaDevice.h"
#include "spectrum/CSpectrumWindow.h"
#include "watch/CRZ450Looker.h"
#include "widgets/CQSmartTreeWidgetItem.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>
#include <climits>

using namespace RZ450Layout;

namespace {

struct BAND_LINE
{
    const char* name;
    Qt::GlobalColor colour;
    // The menu value that enables the band on the detector; -1 for a line
    // that is never shown.
    int enableValue;
};

const BAND_LINE BAND_LINE_TABLE[CRZ450DeviceGui::BAND_LINES] = {
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "CDMA"), Qt::darkBlue, Menu::BAND_CDMA },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "G900"), Qt::blue, Menu::BAND_GSM900 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "G1800"), Qt::darkGreen, Menu::BAND_GSM1800 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "DECT"), Qt::green, Menu::BAND_DECT },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "3G-2100"), Qt::darkCyan, Menu::BAND_3G },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "3G-900"), Qt::black, -1 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "3G-SMS"), Qt::black, -1 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "WLAN2.4"), Qt::darkGray, Menu::BAND_WLAN24 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "WLAN5"), Qt::magenta, Menu::BAND_WLAN5 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "BT"), Qt::gray, Menu::BAND_BLUETOOTH },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "TRAF2.4"), Qt::darkMagenta, Menu::BAND_TRAFFIC24 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "TRAF5"), Qt::darkRed, Menu::BAND_TRAFFIC5 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "4G (LTE)"), Qt::cyan, Menu::BAND_4G },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "4G-800"), Qt::black, -1 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "4G-800"), Qt::black, -1 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "4G-800"), Qt::black, -1 },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "JAM GSM"), Qt::red, Menu::BAND_JAMMERS_GSM },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "JAM GPS"), Qt::darkYellow, Menu::BAND_JAMMERS_GPS },
    { QT_TRANSLATE_NOOP("CRZ450DeviceGui", "SCAN"), Qt::yellow, Menu::BAND_SCAN },
};

const double LEVEL_MIN_DBM = -100.0;
const double LEVEL_MAX_DBM = 0.0;
const int LEVEL_AXIS_WIDTH = 30;
const int BANDS_AXIS_WIDTH = 50;

const char* const MANUAL_PAGE = "/GuiModuleRZ450/Rz450Ondrix_%1.htm";
const char* const TRANSLATION_FILE = ":/GuiModuleRZ450/guimodulerz450_";
const char* const SOURCE_LANGUAGE = "en_US";

QString TimeOfDay(int seconds)
{
    const int hours = (seconds / 3600) % 24;
    const int minutes = (seconds / 60) % 60;
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Truncation toward zero, without the undefined conversion of a value that
// does not fit.
int Truncated(double value)
{
    if (!(value > -2147483648.0))
        return value != value ? 0 : INT_MIN;
    if (value >= 2147483647.0)
        return INT_MAX;
    return static_cast<int>(value);
}

} // namespace

CRZ450DeviceGui::CRZ450DeviceGui() = default;

CRZ450DeviceGui::~CRZ450DeviceGui()
{
    DestroySpectrumWindow();
}

bool CRZ450DeviceGui::SetDevice(IDevice* device)
{
    m_pDevice = device;
    return true;
}

QString CRZ450DeviceGui::GetDeviceType()
{
    return QLatin1String(RZ450Queries::DEVICE_TYPE);
}

IVirtualDevice* CRZ450DeviceGui::GetVirtualDevice()
{
    return &m_virtualDevice;
}

void CRZ450DeviceGui::Start()
{
    m_virtualDevice.Start();
}

void CRZ450DeviceGui::Stop()
{
    m_virtualDevice.Stop();
    DestroySpectrumWindow();
}

void CRZ450DeviceGui::SetSpecificControls(ISpecificControls* host)
{
    m_pHost = host;
    m_pSpectrumButton = new QPushButton(SpectrumText());
    m_pSpectrumButton->hide();
    if (m_pHost)
        m_pHost->AddOptionalButton(m_pSpectrumButton);
    if (!m_pSpectrumWindow)
        m_pSpectrumWindow = new CSpectrumWindow();
    connect(m_pSpectrumButton, &QPushButton::clicked, this, &CRZ450DeviceGui::OnSpectrumButton);
}

int CRZ450DeviceGui::ModeOrCurrent(int mode)
{
    if (mode != -1)
        return mode;
    return m_pDevice ? m_pDevice->GetCurrentMode() : -1;
}

void CRZ450DeviceGui::InitRealtimeDiagram(CQDiagramWidget* diagram, bool allBands, int mode)
{
    mode = ModeOrCurrent(mode);
    diagram->Clear(false);
    diagram->SetSingleDiagramArea();
    if (mode == IDevice::MODE_MAN || mode == IDevice::MODE_SRCH)
        InitLevelLines(diagram);
    else if (mode == IDevice::MODE_AUTO)
        InitBandLines(diagram, allBands);
}

void CRZ450DeviceGui::InitLevelLines(CQDiagramWidget* diagram)
{
    diagram->AddLine(0, tr("Level"), QPen(QColor(Qt::blue)), 0, true);
    diagram->AddLine(0, tr("Threshold"), QPen(QColor(Qt::red)), 0, true);
    diagram->SetDiagramType(0, DIAGRAM_TIME_LINES);
    diagram->SetMaxYRange(LEVEL_MIN_DBM, LEVEL_MAX_DBM, 1.0);
    diagram->SetAxisYWidth(LEVEL_AXIS_WIDTH);
}

void CRZ450DeviceGui::InitBandLines(CQDiagramWidget* diagram, bool allBands)
{
    for (const BAND_LINE& line : BAND_LINE_TABLE) {
        bool visible = false;
        if (line.enableValue >= 0)
            visible = allBands || (m_pDevice && m_pDevice->GetMenuValue(line.enableValue) != 0);
        diagram->AddLine(0, tr(line.name), QPen(QColor(line.colour)), 0, visible);
    }
    diagram->SetDiagramType(0, DIAGRAM_TIME_RECTS);
    diagram->SetMaxYRange(LEVEL_MIN_DBM, LEVEL_MAX_DBM, 1.0);
    diagram->SetAxisYWidth(BANDS_AXIS_WIDTH);
}

int CRZ450DeviceGui::LineOfBand(int band)
{
    if (band == 5 || band == 6)
        return 4;
    if (band == 13 || band == 14)
        return 12;
    return band >= 0 && band < BAND_LINES ? band : -1;
}

void CRZ450DeviceGui::AddRealtimeRecord(CQDiagramWidget* diagram, const CRecord& record, int mode)
{
    mode = ModeOrCurrent(mode);
    // A record without values has no level to draw.
    const bool hasValue = !record.values.isEmpty();
    const QVariant x = QVariant::fromValue<quint64>(record.time);
    if (mode == IDevice::MODE_AUTO && hasValue && record.duration > 0) {
        const int line = LineOfBand(record.band);
        if (line >= 0)
            diagram->AddValue(0, line, x, record.values[0].level, record.duration);
    } else if ((mode == IDevice::MODE_MAN || mode == IDevice::MODE_SRCH) && hasValue) {
        diagram->AddValue(0, 0, x, record.values[0].level, 1);
        diagram->AddValue(0, 1, x, record.values[0].threshold, 1);
    }
}

bool CRZ450DeviceGui::SampleSpectrum(quint64 time, SPECTRUM_SWEEP& sweep, bool show)
{
    // The live views are back: the live band decides about the window again.
    m_bReplayWindow = m_bReplayWindow && !show;
    // Over the network every question is a round trip: the points come
    // first, and the labels only for a sweep that changed.
    if (!m_pDevice || m_pDevice->GetCurrentBand() != BAND_SCAN)
        return false;
    CRZ450MetaDevice rz(dynamic_cast<CMetaDevice*>(m_pDevice));
    QByteArray points(SPECTRUM_POINTS, '\0');
    rz.GetSpectrumData(points.data(), SPECTRUM_POINTS);
    if (points == m_lastPoints)
        return false;
    m_lastPoints = points;
    sweep = SPECTRUM_SWEEP();
    sweep.time = time;
    sweep.points = points;
    ReadSweepLabels(rz, sweep);
    if (show)
        ShowSweep(sweep);
    return true;
}

void CRZ450DeviceGui::ReadSweepLabels(CRZ450MetaDevice& rz, SPECTRUM_SWEEP& sweep)
{
    sweep.rangeStartMhz = m_pDevice->GetMenuValue(Menu::RANGE_START) * Menu::RANGE_UNIT_MHZ;
    sweep.rangeEndMhz = m_pDevice->GetMenuValue(Menu::RANGE_END) * Menu::RANGE_UNIT_MHZ;
    sweep.signalFreq = (rz.GetFreqMax() + 500) / 1000;
    sweep.levelMinDbm = rz.GetLevelDbMin() - DBM_OFFSET;
    sweep.signalLevel = rz.GetLevelMax() - DBM_OFFSET;
    sweep.noiseLevel = rz.GetLevelNoise() - DBM_OFFSET;
    sweep.signalNo = rz.GetCntPeakFreq() + 1;
}

void CRZ450DeviceGui::ShowSweep(const SPECTRUM_SWEEP& sweep)
{
    // The waterfall goes on while the window is closed.
    if (!m_pSpectrumWindow)
        m_pSpectrumWindow = new CSpectrumWindow();
    m_pSpectrumWindow->SetSweep(sweep);
}

void CRZ450DeviceGui::ClearSweeps()
{
    m_lastPoints.clear();
    if (m_pSpectrumWindow)
        m_pSpectrumWindow->ClearSweeps();
}

void CRZ450DeviceGui::InitLogList(QTreeWidget* list)
{
    list->setHeaderLabels({ tr("Num"), tr("Band"), tr("Alarm Time"), tr("Duration"), tr("Level"), tr("Comment") });
}

void CRZ450DeviceGui::FillLogList(QTreeWidget* list, const QList<CRecord>& records)
{
    list->clear();
    const QString dbm = tr("dBm");
    const QString threshold = tr("Threshold");
    QList<QTreeWidgetItem*> items;
    items.reserve(records.size());
    for (int i = 0; i < records.size(); ++i) {
        const CRecord& record = records[i];
        const double level = record.values.isEmpty() ? 0.0 : record.values[0].level;
        const double limit = record.values.isEmpty() ? 0.0 : record.values[0].threshold;
        auto* item = new CQSmartTreeWidgetItem();
        item->setText(0, QString::number(i + 1));
        item->setText(1, record.bandName);
        item->setText(2,
            QDateTime::fromSecsSinceEpoch(static_cast<quint32>(record.time))
                .toString(QStringLiteral("dd-MM hh:mm:ss")));
        item->setText(3, TimeOfDay(std::max(0, record.duration)));
        item->setText(4, QStringLiteral("%1 %2").arg(Truncated(level)).arg(dbm));
        item->setText(5, threshold + QStringLiteral("= %1 %2").arg(Truncated(limit)).arg(dbm));
        for (int column = 0; column < 5; ++column)
            item->setTextAlignment(column, Qt::AlignHCenter);
        item->setTextAlignment(5, Qt::AlignLeft);
        items.append(item);
    }
    list->addTopLevelItems(items);
}

void CRZ450DeviceGui::SetLanguage(const QString& language)
{
    QCoreApplication::removeTranslator(&m_translator);
    if (language != QLatin1String(SOURCE_LANGUAGE)) {
        if (m_translator.load(QLatin1String(TRANSLATION_FILE) + language))
            QCoreApplication::installTranslator(&m_translator);
    }
    if (m_pSpectrumButton)
        m_pSpectrumButton->setText(SpectrumText());
}

void CRZ450DeviceGui::ShowManual(const QString& language, QTextBrowser* browser)
{
    // A language without a page of its own (the "C" locale of a bare
    // system, say) reads the English one rather than an empty window.
    QString page = QString::fromLatin1(MANUAL_PAGE).arg(language);
    if (!QFile::exists(QLatin1Char(':') + page))
        page = QString::fromLatin1(MANUAL_PAGE).arg(QLatin1String(SOURCE_LANGUAGE));
    browser->setSource(QUrl(QLatin1String("qrc:") + page));
}

void CRZ450DeviceGui::UpdateSpectrumButton()
{
    const bool scanBand
        = m_pDevice && m_pDevice->GetCurrentBand() == BAND_SCAN && m_pDevice->GetCurrentMode() != IDevice::MODE_SRCH;
    if (m_pSpectrumButton)
        m_pSpectrumButton->setVisible(scanBand);
    if (!scanBand && m_pSpectrumWindow && !m_bReplayWindow)
        m_pSpectrumWindow->hide();
}

void CRZ450DeviceGui::OnSpectrumButton()
{
    // Stop takes the window with it; the button stays with the host and
    // must keep working after a reconnect.
    if (!m_pSpectrumWindow)
        m_pSpectrumWindow = new CSpectrumWindow();
    m_pSpectrumWindow->hide();
    m_pSpectrumWindow->show();
}

RZ450_LOOK CRZ450DeviceGui::Look(CMetaDevice* device, bool withNames)
{
    return CRZ450Looker::Look(device, withNames);
}

void CRZ450DeviceGui::OpenSpectrumWindow()
{
    m_bReplayWindow = true;
    OnSpectrumButton();
}

void CRZ450DeviceGui::DestroySpectrumWindow()
{
    if (!m_pSpectrumWindow)
        return;
    m_pSpectrumWindow->hide();
    delete m_pSpectrumWindow;
    m_pSpectrumWindow = nullptr;
}

QString CRZ450DeviceGui::SpectrumText() const
{
    return tr("Spectrum");
}
