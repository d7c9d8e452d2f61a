#include "ScanSteps.h"

const int SCAN_STEPS[SCAN_STEP_COUNT] = { 2, 5, 10, 15, 20 };

int ScanStep(int setting)
{
    return setting >= 0 && setting < SCAN_STEP_COUNT ? SCAN_STEPS[setting] : SCAN_STEPS[0];
}
