#pragma once

#include <QtGlobal>

// What this process uses, as the system counts it.
class CProcessUsage
{
public:
    // Resident memory now, in MB; -1 when the system does not tell.
    static double ResidentMb();
    // CPU time of the whole process so far.
    static double CpuSeconds();
    // CPU time of the calling thread so far.
    static double ThreadCpuSeconds();
    // CPU time of another process so far, user and system; 0 once it is
    // gone.
    static double CpuSecondsOf(qint64 pid);
};
