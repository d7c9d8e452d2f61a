#include "baseline/CBaseline.h"

const BAND_BASELINE* CBaseline::Find(int band) const
{
    for (const BAND_BASELINE& entry : bands) {
        if (entry.band == band)
            return &entry;
    }
    return nullptr;
}

qint64 CBaseline::Samples() const
{
    qint64 samples = 0;
    for (const BAND_BASELINE& entry : bands)
        samples += entry.nSamples;
    return samples;
}
