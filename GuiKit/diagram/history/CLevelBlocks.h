#pragma once

#include "GuiKitExport.h"
#include "diagram/DATA_VALUE.h"

#include <QList>

// The lowest and highest level of each run of BLOCK values of a line, kept
// in the line's aux list. A pixel column of thousands of values then reads a
// few dozen of these instead of every value: reading all 72-byte values of a
// million-value line takes longer than the whole drawing may.
//
// Entry b covers values [b * BLOCK, b * BLOCK + BLOCK): x holds the lowest
// level, y the highest (doubles), extra twice the number of values covered
// plus 1 when none of them is NaN.
class GUIKIT_EXPORT CLevelBlocks
{
public:
    static const int BLOCK = 64;

    // Extends the summaries over the values appended since the last call.
    // Those of values from staleFrom on are summed up again (-1: none
    // changed); all are when the values are fewer than the summaries cover.
    static void Update(const QList<DATA_VALUE>& values, QList<DATA_VALUE>& blocks, qsizetype staleFrom);

    // The extremes of block b; false when it holds a NaN or is not summed up.
    static bool Extremes(const QList<DATA_VALUE>& blocks, int block, double& low, double& high);

private:
    static DATA_VALUE Summary(const QList<DATA_VALUE>& values, int from, int to);
};
