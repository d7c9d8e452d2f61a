#include "watch/CRZ450Looker.h"

#include "CRZ450MetaDevice.h"
#include "RZ450Layout.h"
#include "proxy/CMetaDevice.h"

#include <exception>

RZ450_LOOK CRZ450Looker::Look(CMetaDevice* device, bool withNames)
{
    RZ450_LOOK look;
    if (!device)
        return look;
    try {
        look.online = device->IsOnline();
        if (look.online)
            LookOnline(device, withNames, look);
    } catch (const std::exception& exception) {
        look = RZ450_LOOK {};
        look.error = QString::fromLocal8Bit(exception.what());
    }
    return look;
}

void CRZ450Looker::LookOnline(CMetaDevice* device, bool withNames, RZ450_LOOK& look)
{
    CRZ450MetaDevice rz450(device);
    look.mode = device->GetCurrentMode();
    look.band = device->GetCurrentBand();
    look.flags = rz450.GetAlarmFlags();
    look.levels = rz450.GetLevels();
    look.thresholds = rz450.GetThresholds();
    look.batteryOk = device->IsBatteryOk();
    look.clock = device->GetTime();
    for (int band = 0; withNames && band < RZ450Layout::BAND_COUNT; ++band)
        look.bandNames.append(rz450.GetBandName(band));
    if (look.levels.size() != RZ450Layout::BAND_COUNT || look.thresholds.size() != RZ450Layout::BAND_COUNT)
        look.online = false;
}
