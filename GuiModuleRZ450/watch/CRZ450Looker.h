#pragma once

#include "RZ450_LOOK.h"

class CMetaDevice;

// Takes one look at a detector through its proxy, in about eight
// exchanges with a server whatever the bands do. The proxy blocks its
// thread while it asks, so a watcher of many detectors takes each look in
// the detector's own thread. A failing connection is an offline look with
// its reason, never an exception.
class CRZ450Looker
{
public:
    // With names, the band names too: one exchange a band more.
    static RZ450_LOOK Look(CMetaDevice* device, bool withNames = false);

private:
    static void LookOnline(CMetaDevice* device, bool withNames, RZ450_LOOK& look);
};
