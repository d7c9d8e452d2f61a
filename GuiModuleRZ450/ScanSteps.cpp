#include "ScanSteps.h"

#include "RZ450Layout.h"

using namespace RZ450Layout::Menu;

const int SCAN_STEPS[SCAN_STEP_COUNT] = { BAND_STEP_ZERO_MHZ, 1 * BAND_STEP_UNIT_MHZ, 2 * BAND_STEP_UNIT_MHZ,
    3 * BAND_STEP_UNIT_MHZ, 4 * BAND_STEP_UNIT_MHZ };

int ScanStep(int setting)
{
    return setting >= 0 && setting < SCAN_STEP_COUNT ? SCAN_STEPS[setting] : SCAN_STEPS[0];
}
