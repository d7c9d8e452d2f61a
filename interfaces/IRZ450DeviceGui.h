#pragma once

#include "IDeviceGui.h"
#include "RZ450_LOOK.h"
#include "SPECTRUM_SWEEP.h"

class CMetaDevice;

// The RZ450 extension of the device GUI. The client reaches it by a dynamic
// cast, so a GUI of another model is simply never asked. Append, never
// reorder.
class IRZ450DeviceGui : public IDeviceGui
{
public:
    // Called when the device reports a channel change.
    virtual void UpdateSpectrumButton() = 0;
    // Once a tick with new live records: reads the scan band's spectrum and,
    // when it is a sweep not seen before, stores it in sweep, stamped with
    // time (the records' clock), and returns true. It goes to the spectrum
    // window as well unless show is false (a replay has the window meanwhile).
    virtual bool SampleSpectrum(quint64 time, SPECTRUM_SWEEP& sweep, bool show) = 0;
    // A sweep from elsewhere (a replay) in the spectrum window: the bars and
    // a row of the waterfall.
    virtual void ShowSweep(const SPECTRUM_SWEEP& sweep) = 0;
    // The spectrum window forgets its waterfall (a replay starts or ends).
    virtual void ClearSweeps() = 0;
    // A replay with sweeps shows them whatever band the live detector is on:
    // the window stays up until the live feed shows sweeps again.
    virtual void OpenSpectrumWindow() = 0;
    // The line of the realtime diagram's first area that draws a band's
    // records in the automatic mode; -1 for a band it does not draw.
    virtual int RealtimeLineOfBand(int band) = 0;
    // One light look at a detector for a watcher of many: its state, alarm
    // flags, levels and thresholds, and its band names when asked for. It
    // keeps no state, so a watcher calls it from the detector's own thread;
    // a failing connection is an offline look with its reason.
    virtual RZ450_LOOK Look(CMetaDevice* device, bool withNames) = 0;
};
