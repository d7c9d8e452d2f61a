#pragma once

#include "IDevice.h"
#include "RZ450Layout.h"

// The RZ450 queries on top of IDevice. Same rule as IDevice: the order of
// the virtual operations is part of the plug-in contract.
class IRZ450Device : public IDevice
{
public:
    enum {
        BAND_COUNT = RZ450Layout::BAND_COUNT,
        BAND_SCAN = RZ450Layout::BAND_SCAN,
        SPECTRUM_POINTS = RZ450Layout::SPECTRUM_POINTS,
        MENU_SIZE = RZ450Layout::MENU_SIZE
    };

    virtual int GetLanguageID() = 0;
    virtual bool IsSchedule() = 0;
    // The log bank, not the band: a name of its own, never an override.
    virtual int GetCurrentBank() = 0; // NOLINT(bugprone-virtual-near-miss)
    virtual bool IsWaiting() = 0;
    virtual int GetTmpX() = 0;
    virtual int GetLevelDbm(int band) = 0;
    virtual int GetThreshold(int band) = 0;
    virtual int GetDbmCorrScale(int band) = 0;
    virtual int GetEventCntDelay(int i) = 0;
    virtual int GetIndicateBand(int i) = 0;
    virtual bool IsIndicateBand(int band) = 0;
    virtual QString GetBandName(int band) = 0;
    virtual bool GetSpectrumData(char* buffer, int length) = 0;
    virtual int IsAbodeLevel() = 0;
    virtual int IsShowFreq() = 0;
    virtual int GetFreqMax() = 0;
    virtual int GetLevelMax() = 0;
    virtual int GetLevelNoise() = 0;
    virtual int GetLevelDbMin() = 0;
    virtual int GetDemodMode() = 0;
    virtual int GetCntPeakFreq() = 0;
    virtual int GetOverload() = 0;
    virtual int GetMute() = 0;
    virtual int GetVolume() = 0;
    virtual int GetBypassPercent() = 0;

    // Implemented by the driver as its Qt signal.
    virtual void deviceChannelChanged() = 0;
};
