#include "reference/CSpectrumReference.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

bool CSpectrumReference::IsSound(QString& error) const
{
    if (levels.empty() || Points() > MAX_POINTS) {
        error = QCoreApplication::translate("CSpectrumReference", "A reference holds 1 to %1 points, not %2.")
                    .arg(MAX_POINTS)
                    .arg(Points());
        return false;
    }
    if (rangeEndMhz <= rangeStartMhz) {
        error = QCoreApplication::translate("CSpectrumReference", "The range %1-%2 MHz is empty.")
                    .arg(rangeStartMhz)
                    .arg(rangeEndMhz);
        return false;
    }
    if (!std::all_of(levels.begin(), levels.end(), [](double level) { return std::isfinite(level); })) {
        error = QCoreApplication::translate("CSpectrumReference", "A level of the reference is not a number.");
        return false;
    }
    return true;
}

bool CSpectrumReference::operator==(const CSpectrumReference& other) const
{
    return name == other.name && site == other.site && rangeStartMhz == other.rangeStartMhz
        && rangeEndMhz == other.rangeEndMhz && saved == other.saved && trace == other.trace && levels == other.levels;
}
