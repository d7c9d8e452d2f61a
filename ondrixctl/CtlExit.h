#pragma once

// What ondrixctl's exit code tells a script. Each failure has its own code,
// so that a script can tell a wrong command line from a detector that is
// not there, and both from a file it gave that is no good.
namespace CtlExit {

enum Code {
    Ok = 0,
    // The detector did not do what was asked: the log did not arrive, the
    // settings or the clock were refused or not taken, no live records came.
    Failed = 1,
    // The command line is wrong.
    Usage = 2,
    // No detector to talk to: no driver plug-in, no server at the address,
    // no RZ450 shared there, or the connection broke.
    NoDevice = 3,
    // The detector did not come online within the time-out.
    Offline = 4,
    // An input file cannot be read or is not what it should be.
    BadInput = 5,
    // An output file or folder cannot be written.
    CannotWrite = 6,
    // Stopped by a signal: this plus the signal's number (130 for SIGINT).
    Interrupted = 128
};

} // namespace CtlExit
