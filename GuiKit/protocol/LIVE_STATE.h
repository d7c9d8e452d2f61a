#pragma once

// What a client polling the detector needs to know every tick, as one
// "GetLiveState" answer carries it.
struct LIVE_STATE
{
    bool online = false;
    bool error = false;
    int mode = 0;
    int count = 0; // GetCurrentRecordIndex
    int band = 0;
};
