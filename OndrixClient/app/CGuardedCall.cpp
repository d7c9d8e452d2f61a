#include "app/CGuardedCall.h"

#include "proxy/CMetaDevice.h"

void CGuardedCall::Uninitialize(CMetaDevice* device)
{
    if (device)
        Run([device] { device->Uninitialize(); });
}
