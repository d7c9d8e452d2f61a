#include "CGuardedCall.h"

#include "CMetaDevice.h"

void CGuardedCall::Uninitialize(CMetaDevice* device)
{
    if (device)
        Run([device] { device->Uninitialize(); });
}
