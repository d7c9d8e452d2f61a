#pragma once

#include "IDevice.h"
#include "RZ450Layout.h"

#include <QByteArray>

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

inline bool IsAlarm(int band, int watchedBand, quint32 flags, int levelDbm, int thresholdDbm)
{
    if (HasFlag(band))
        return (flags >> band) & 1U;
    return band == watchedBand && levelDbm >= thresholdDbm;
}

// Whether the detector measures the band now: automatic mode measures bands
// 0 to 15 in turn, and a band it has reported on since it started has a
// level or a threshold; the other modes watch one band.
inline bool IsMeasured(int mode, int band, int watchedBand, int rawLevel, int rawThreshold)
{
    if (mode == IDevice::MODE_AUTO)
        return band >= 0 && band < RZ450Layout::AUTO_BANDS && (rawLevel != 0 || rawThreshold != 0);
    return band == watchedBand;
}

// Device: IRZ450Device, or a proxy that asks the same of a server.
// A look at one band; watchedBand is the band the detector works on now.
template <typename Device>
LOOK Look(Device& device, int band, int watchedBand)
{
    LOOK look;
    look.levelDbm = Dbm(device.GetLevelDbm(band));
    look.thresholdDbm = Dbm(device.GetThreshold(band));
    const quint32 flag = HasFlag(band) && device.IsIndicateBand(band) ? 1U << band : 0U;
    look.alarm = IsAlarm(band, watchedBand, flag, look.levelDbm, look.thresholdDbm);
    return look;
}

// The indication flags as bits, band 0 the lowest.
template <typename Device>
quint32 Flags(Device& device)
{
    quint32 flags = 0;
    for (int band = 0; band < RZ450Layout::INDICATED_BANDS; ++band) {
        if (device.IsIndicateBand(band))
            flags |= 1U << band;
    }
    return flags;
}

// The raw byte of every band that the operation gives: levels or thresholds.
template <typename Device>
QByteArray Bands(Device& device, int (Device::*raw)(int))
{
    QByteArray bytes(RZ450Layout::BAND_COUNT, '\0');
    for (int band = 0; band < RZ450Layout::BAND_COUNT; ++band)
        bytes[band] = char(quint8((device.*raw)(band)));
    return bytes;
}

} // namespace RZ450Alarm
