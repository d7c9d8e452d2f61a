#include "CBandModel.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int NONE = -1;
constexpr int RESERVED_THRESHOLD = 60;
constexpr int SCAN_THRESHOLD_BYTE = 24;

// Settings byte holding each handset band's threshold (bands 0..17).
constexpr int THRESHOLD_BYTE[] = { 10, 1, 2, 13, 11, 11, 11, 5, 8, 6, 7, 9, 12, 12, NONE, NONE, 3, 4 };
// Settings byte enabling each band 0..18.
constexpr int ENABLE_BYTE[] = { 51, 26, 27, 33, 34, 34, 34, 28, 29, 30, 31, 32, 36, 36, NONE, NONE, 49, 50, 35 };
// The handset band each base-station band 19..30 shares its settings with.
constexpr int HANDSET_OF_BASE[] = { 0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15 };

int HandsetBand(int band)
{
    return band >= CBandModel::FIRST_BASE_BAND ? HANDSET_OF_BASE[band - CBandModel::FIRST_BASE_BAND] : band;
}

int SettingsByte(const QByteArray& settings, int index)
{
    return index >= 0 && index < settings.size() ? static_cast<quint8>(settings[index]) : 0;
}

bool IsBand(int band)
{
    return band >= 0 && band < CBandModel::BANDS;
}

} // namespace

CBandModel::CBandModel(quint32 seed)
    : m_random(seed)
{
}

int CBandModel::ThresholdOf(int band, const QByteArray& settings)
{
    if (!IsBand(band))
        return MAX_RAW;
    if (band == SCAN_BAND)
        return std::min(MAX_RAW, SCAN_NOISE + SettingsByte(settings, SCAN_THRESHOLD_BYTE));
    const int byte = THRESHOLD_BYTE[HandsetBand(band)];
    return byte == NONE ? RESERVED_THRESHOLD : SettingsByte(settings, byte);
}

bool CBandModel::IsEnabled(int band, const QByteArray& settings)
{
    if (!IsBand(band))
        return false;
    const int byte = ENABLE_BYTE[HandsetBand(band)];
    return byte != NONE && SettingsByte(settings, byte) != 0;
}

void CBandModel::Rest(const QByteArray& settings)
{
    for (int band = 0; band < BANDS; ++band) {
        if (!m_pinned[band])
            m_levels[band] = std::max(0, ThresholdOf(band, settings) - 6 - static_cast<int>(m_random.bounded(6)));
    }
    DriftSpectrum();
}

void CBandModel::Step(const QByteArray& settings)
{
    for (int band = 0; band < BANDS; ++band) {
        if (!m_pinned[band])
            m_levels[band] = Drift(m_levels[band], ThresholdOf(band, settings));
    }
    DriftSpectrum();
}

int CBandModel::Level(int band) const
{
    return IsBand(band) ? m_levels[band] : 0;
}

void CBandModel::Pin(int band, int raw)
{
    if (!IsBand(band))
        return;
    m_pinned[band] = raw >= 0;
    if (raw >= 0)
        m_levels[band] = std::min(raw, 255);
}

bool CBandModel::InAlarm(int band, const QByteArray& settings) const
{
    return IsEnabled(band, settings) && Level(band) >= ThresholdOf(band, settings);
}

quint8 CBandModel::SpectrumPoint(int index) const
{
    if (index < 0 || index >= SPECTRUM_POINTS)
        return 0;
    // Points are twice the raw level (the host halves them for display): the
    // noise floor plus a peak as high as the scan band's level.
    constexpr int HALF_WIDTH = 5;
    const int height = std::max(0, 2 * (m_levels[SCAN_BAND] - SCAN_NOISE));
    const int distance = std::abs(index - m_peak);
    const int peak = distance < HALF_WIDTH ? height * (HALF_WIDTH - distance) / HALF_WIDTH : 0;
    return static_cast<quint8>(std::min(255, 2 * SCAN_NOISE + m_noise[index] + peak));
}

int CBandModel::Drift(int level, int threshold)
{
    // A random walk pulled towards a point just below the threshold, so that
    // alarms come now and then and last a few seconds.
    const int rest = threshold - 4;
    const int low = std::max(0, threshold - 30);
    const int high = std::min(MAX_RAW, threshold + 15);
    const int roll = static_cast<int>(m_random.bounded(10));
    const int toward = level > rest ? -1 : 1;
    if (roll < 4)
        level += toward;
    else if (roll >= 7)
        level -= toward;
    return std::clamp(level, low, std::max(low, high));
}

void CBandModel::DriftSpectrum()
{
    m_peak = std::clamp(m_peak + static_cast<int>(m_random.bounded(3)) - 1, 0, SPECTRUM_POINTS - 1);
    for (quint8& noise : m_noise)
        noise = static_cast<quint8>(m_random.bounded(6));
}
