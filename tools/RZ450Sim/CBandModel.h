#pragma once

#include <QByteArray>
#include <QRandomGenerator>

#include <array>

// What the detector's receivers see: a level per band that wanders around
// the band's threshold, and a scan spectrum with one peak that drifts.
// Thresholds and enables come from the settings block, so a settings write
// from the host changes what alarms.
class CBandModel
{
public:
    static constexpr int BANDS = 31;
    static constexpr int SCAN_BAND = 18;
    static constexpr int FIRST_BASE_BAND = 19;
    static constexpr int SPECTRUM_POINTS = 160;
    static constexpr int SCAN_NOISE = 30; // raw level of the scan receiver's noise floor
    static constexpr int MAX_RAW = 102;   // 0 dBm

    explicit CBandModel(quint32 seed);

    static int ThresholdOf(int band, const QByteArray& settings);
    static bool IsEnabled(int band, const QByteArray& settings);

    void Rest(const QByteArray& settings); // every free level a little below its threshold
    void Step(const QByteArray& settings); // one tick of drift
    int Level(int band) const;
    void Pin(int band, int raw); // raw < 0 releases the band
    bool InAlarm(int band, const QByteArray& settings) const;

    quint8 SpectrumPoint(int index) const;
    int PeakPoint() const { return m_peak; }
    int NoiseLevel() const { return SCAN_NOISE; }

private:
    int Drift(int level, int threshold);
    void DriftSpectrum();

    QRandomGenerator m_random;
    std::array<int, BANDS> m_levels {};
    std::array<bool, BANDS> m_pinned {};
    std::array<quint8, SPECTRUM_POINTS> m_noise {};
    int m_peak = SPECTRUM_POINTS / 3;
};
