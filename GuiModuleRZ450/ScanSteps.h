#pragma once

enum { SCAN_STEP_COUNT = 5 };

// Scan step in MHz by the band-step setting.
extern const int SCAN_STEPS[SCAN_STEP_COUNT];

// The step for any setting byte; the detector shows a setting it does not
// know as the finest step.
int ScanStep(int setting);
