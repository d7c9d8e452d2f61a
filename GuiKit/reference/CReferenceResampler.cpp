#include "reference/CReferenceResampler.h"

#include "spectrum/SpectrumPoints.h"

#include <algorithm>
#include <cmath>
#include <limits>

CReferenceResampler::Fit CReferenceResampler::FitOf(const CSpectrumReference& reference, int rangeStartMhz,
    int rangeEndMhz, int points)
{
    if (reference.rangeStartMhz == rangeStartMhz && reference.rangeEndMhz == rangeEndMhz
        && reference.Points() == points)
        return Same;
    const int low = std::max(reference.rangeStartMhz, rangeStartMhz);
    const int high = std::min(reference.rangeEndMhz, rangeEndMhz);
    return low < high && points > 0 ? Resamplable : NoOverlap;
}

QString CReferenceResampler::Mismatch(const CSpectrumReference& reference, int rangeStartMhz, int rangeEndMhz,
    int points)
{
    return tr("The reference \"%1\" covers %2-%3 MHz in %4 points; the detector now scans %5-%6 MHz in %7 points.")
        .arg(reference.name)
        .arg(reference.rangeStartMhz)
        .arg(reference.rangeEndMhz)
        .arg(reference.Points())
        .arg(rangeStartMhz)
        .arg(rangeEndMhz)
        .arg(points);
}

std::vector<double> CReferenceResampler::Resample(const CSpectrumReference& reference, int rangeStartMhz,
    int rangeEndMhz, int points)
{
    std::vector<double> levels(size_t(std::max(points, 0)), std::numeric_limits<double>::quiet_NaN());
    if (FitOf(reference, rangeStartMhz, rangeEndMhz, points) == Same)
        return reference.levels;
    if (FitOf(reference, rangeStartMhz, rangeEndMhz, points) == NoOverlap || reference.levels.empty())
        return levels;
    for (int i = 0; i < points; ++i)
        levels[size_t(i)] = LevelAt(reference, SpectrumPoints::Mhz(rangeStartMhz, rangeEndMhz, i, points));
    return levels;
}

double CReferenceResampler::LevelAt(const CSpectrumReference& reference, double mhz)
{
    const double start = reference.rangeStartMhz;
    const double end = reference.rangeEndMhz;
    // A present point a rounding error off the reference's end is still on it.
    const double slack = 1e-9 * std::max(1.0, end - start);
    if (mhz < start - slack || mhz > end + slack)
        return std::numeric_limits<double>::quiet_NaN();
    const int last = reference.Points() - 1;
    if (last == 0)
        return reference.levels.front();
    const double position = std::clamp((mhz - start) * last / (end - start), 0.0, double(last));
    const size_t below = size_t(std::min(int(position), last - 1));
    const double t = position - double(below);
    return reference.levels[below] * (1.0 - t) + reference.levels[below + 1] * t;
}
