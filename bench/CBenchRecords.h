#pragma once

#include "CRecord.h"

#include <QList>

// Records as the live session collects them at line rate: 31 bands in
// turn, one second apart, one value each. The benchmarks of the data files
// and of their exports time the same records.
class CBenchRecords
{
public:
    static QList<CRecord> Live(int count, double threshold);
    // The i-th record of a busy detector's ring: levels over the whole
    // scale, durations of 0 to 2 s.
    static CRecord Ring(int i);
};
