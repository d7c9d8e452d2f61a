#pragma once

#include "IRZ450Device.h"
#include "RZ450Layout.h"

// What counts as a band's alarm, for everything that tells a person or
// another system of one: the detector's own verdict where it gives one (the
// indication flags of bands 0 to 18); the base-station bands, watched one at
// a time, are judged by level against threshold while watched.
namespace RZ450Alarm {

struct LOOK
{
    bool alarm = false;
    int levelDbm = 0;
    int thresholdDbm = 0;
};

inline bool HasFlag(int band)
{
    return band >= 0 && band < RZ450Layout::INDICATED_BANDS;
}

inline int Dbm(int raw)
{
    return raw - RZ450Layout::DBM_OFFSET;
}

// A look at one band; watchedBand is the band the detector works on now.
inline LOOK Look(IRZ450Device& device, int band, int watchedBand)
{
    LOOK look;
    look.levelDbm = Dbm(device.GetLevelDbm(band));
    look.thresholdDbm = Dbm(device.GetThreshold(band));
    look.alarm
        = HasFlag(band) ? device.IsIndicateBand(band) : band == watchedBand && look.levelDbm >= look.thresholdDbm;
    return look;
}

} // namespace RZ450Alarm
