#pragma once

#include "app/CSignalWatcher.h"

// Ctrl-C (SIGINT) and SIGTERM for a command that waits on the detector.
// The signal only marks the command as interrupted; the command sees it at
// its next wait and ends the way it chooses, so that no file is left half
// written and the driver lets go of the detector. A second signal ends the
// program at once.
class CCtlInterrupt
{
public:
    CCtlInterrupt();

    // Serves events for ms milliseconds; false, at once, when a signal came
    // before or meanwhile.
    bool Sleep(int ms);
    bool IsInterrupted() const { return m_nSignal != 0; }
    // The exit code of a program that a signal stopped.
    int ExitCode() const;

private:
    CSignalWatcher m_watcher;
    int m_nSignal = 0;
};
