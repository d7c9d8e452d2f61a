#include "CSpectrumScene.h"

#include "CRZ450Simulator.h"
#include "RZ450Layout.h"

#include <algorithm>
#include <cmath>

using namespace RZ450Layout;

namespace {

const quint32 SEED = 450;
const int NOISE_RAW = 30; // -72 dBm
const int NOISE_SPREAD = 3;
const int FADING = 5;
// The level a point counts from; the spectrum window's scale starts there.
const int MIN_RAW = 20;

} // namespace

struct CSpectrumScene::CARRIER
{
    int centreMhz;
    int widthMhz;
    int raw;
    // Keyed for `on` sweeps out of every `period`, from sweep `phase` on;
    // a period of 0 is always on.
    int period;
    int on;
    int phase;
};

namespace {

using CARRIER = CSpectrumScene::CARRIER;

// Named by what they would be; levels are raw (dBm + 102).
const CARRIER CARRIER_TABLE[] = {
    { 100, 20, 64, 0, 0, 0 },      // FM broadcast
    { 600, 40, 56, 0, 0, 0 },      // digital television
    { 806, 30, 66, 0, 0, 0 },      // LTE 800 downlink
    { 900, 10, 70, 90, 25, 30 },   // a handset on GSM 900, calling
    { 947, 25, 72, 0, 0, 0 },      // GSM 900 downlink
    { 1747, 10, 69, 110, 30, 50 }, // a handset on GSM 1800, calling
    { 1842, 40, 70, 0, 0, 0 },     // GSM 1800 downlink
    { 1890, 15, 62, 24, 4, 0 },    // DECT base, in bursts
    { 2140, 50, 68, 0, 0, 0 },     // UMTS downlink
};

// What the sweep is for: a bug that keys up now and then.
const CARRIER TRANSMITTER = { CSpectrumScene::TRANSMITTER_MHZ, 6, 80, 140, 45, 70 };

bool IsKeyed(const CARRIER& carrier, int sweep)
{
    if (carrier.period == 0)
        return true;
    sweep -= carrier.phase;
    return sweep >= 0 && sweep % carrier.period < carrier.on;
}

} // namespace

CSpectrumScene::CSpectrumScene(CRZ450Simulator* simulator)
    : m_pSimulator(simulator)
    , m_random(SEED)
{
    connect(&m_timer, &QTimer::timeout, this, &CSpectrumScene::OnTimer);
}

CSpectrumScene::~CSpectrumScene()
{
    Stop();
}

void CSpectrumScene::Start()
{
    m_timer.start(SWEEP_MS);
    OnTimer();
}

void CSpectrumScene::Stop()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    m_pSimulator->SetReportByte(-1, 0);
}

std::pair<int, int> CSpectrumScene::Range() const
{
    const QByteArray settings = m_pSimulator->Settings();
    const int startMhz = quint8(settings.at(Menu::RANGE_START)) * Menu::RANGE_UNIT_MHZ;
    return { startMhz, std::max(startMhz + 1, quint8(settings.at(Menu::RANGE_END)) * Menu::RANGE_UNIT_MHZ) };
}

int CSpectrumScene::TransmitterPoint() const
{
    const auto [startMhz, endMhz] = Range();
    return (TRANSMITTER_MHZ - startMhz) * (SPECTRUM_POINTS - 1) / (endMhz - startMhz);
}

void CSpectrumScene::OnTimer()
{
    const auto [startMhz, endMhz] = Range();
    Write(NextSweep(startMhz, endMhz), startMhz, endMhz);
    m_nTransmitterSweeps = IsKeyed(TRANSMITTER, m_nSweep) ? m_nTransmitterSweeps + 1 : 0;
    ++m_nSweep;
}

QByteArray CSpectrumScene::NextSweep(int startMhz, int endMhz)
{
    QByteArray levels(SPECTRUM_POINTS, '\0');
    const double mhzPerPoint = double(endMhz - startMhz) / (SPECTRUM_POINTS - 1);
    for (int i = 0; i < SPECTRUM_POINTS; ++i) {
        const double mhz = startMhz + i * mhzPerPoint;
        int raw = NOISE_RAW + int(m_random.bounded(NOISE_SPREAD));
        for (const CARRIER& carrier : CARRIER_TABLE)
            raw = std::max(raw, LevelOf(carrier, mhz, mhzPerPoint));
        raw = std::max(raw, LevelOf(TRANSMITTER, mhz, mhzPerPoint));
        levels[i] = char(raw);
    }
    return levels;
}

int CSpectrumScene::LevelOf(const CARRIER& carrier, double mhz, double mhzPerPoint)
{
    if (!IsKeyed(carrier, m_nSweep))
        return 0;
    // A bell a carrier wide, a point wide at least, with fading.
    const double half = std::max(carrier.widthMhz / 2.0, mhzPerPoint);
    const double x = (mhz - carrier.centreMhz) / half;
    const int top = carrier.raw - int(m_random.bounded(FADING));
    return NOISE_RAW + int((top - NOISE_RAW) * std::exp(-x * x));
}

void CSpectrumScene::Write(const QByteArray& levels, int startMhz, int endMhz)
{
    int peak = 0;
    for (int i = 1; i < SPECTRUM_POINTS; ++i) {
        if (quint8(levels[i]) > quint8(levels[peak]))
            peak = i;
    }
    for (int i = 0; i < SPECTRUM_POINTS; ++i)
        m_pSimulator->SetReportByte(Report::SPECTRUM + i, quint8((quint8(levels[i]) - MIN_RAW) * SPECTRUM_SCALE));
    const quint32 peakKhz = quint32(startMhz * 1000 + qint64(endMhz - startMhz) * 1000 * peak / (SPECTRUM_POINTS - 1));
    for (int i = 0; i < 4; ++i)
        m_pSimulator->SetReportByte(Report::FREQ_MAX + i, quint8(peakKhz >> (8 * i)));
    m_pSimulator->SetReportByte(Report::LEVEL_MAX, quint8(levels[peak]));
    m_pSimulator->SetReportByte(Report::LEVEL_NOISE, NOISE_RAW);
    m_pSimulator->SetReportByte(Report::LEVEL_DB_MIN, MIN_RAW);
}
