#pragma once

// Test control of the fake D2XX library. A test attaches simulated detectors
// under the device descriptions the driver opens; the driver then reaches
// them through the ordinary FT_ functions of the same library.

class CRZ450Simulator;

extern "C" {

// The simulator stays owned by the caller and must outlive its attachment.
void FakeD2xx_Attach(const char* description, CRZ450Simulator* sim);
// Unplugs the device: every call on a handle open on it fails with the I/O
// error status from now on.
void FakeD2xx_Detach(const char* description);
// Detaches everything and forgets every counter.
void FakeD2xx_Reset();
int FakeD2xx_OpenCount(const char* description); // successful opens
int FakeD2xx_IsOpen(const char* description);
int FakeD2xx_LatencyTimer(const char* description); // last value set, -1 never
}
