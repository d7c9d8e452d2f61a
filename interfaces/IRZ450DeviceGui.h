#pragma once

#include "IDeviceGui.h"

// The RZ450 extension of the device GUI. The client reaches it by a dynamic
// cast, so a GUI of another model is simply never asked.
class IRZ450DeviceGui : public IDeviceGui
{
public:
    // Called when the device reports a channel change.
    virtual void UpdateSpectrumButton() = 0;
};
