#pragma once

#include "GuiKitExport.h"
#include "reference/CSpectrumReference.h"

#include <QCoreApplication>
#include <QString>

#include <vector>

// Brings a reference onto the points the detector scans now. The same
// range in the same number of points is used as it stands; any other is
// used only when the user agrees, by linear interpolation in frequency,
// and a point outside the reference's range gets no value (NaN: neither
// drawn nor compared). Ranges that share no frequency are never used.
// Pure.
class GUIKIT_EXPORT CReferenceResampler
{
    Q_DECLARE_TR_FUNCTIONS(CReferenceResampler)

public:
    enum Fit { Same, Resamplable, NoOverlap };

    static Fit FitOf(const CSpectrumReference& reference, int rangeStartMhz, int rangeEndMhz, int points);
    // Both ranges and point counts, for the user to decide on.
    static QString Mismatch(const CSpectrumReference& reference, int rangeStartMhz, int rangeEndMhz, int points);
    // One value per present point; a reference of one point covers its
    // range flat.
    static std::vector<double> Resample(const CSpectrumReference& reference, int rangeStartMhz, int rangeEndMhz,
        int points);

private:
    static double LevelAt(const CSpectrumReference& reference, double mhz);
};
