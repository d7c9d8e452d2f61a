#include "diagram/history/CLevelBlocks.h"

#include "diagram/CDiagramValues.h"

#include <algorithm>
#include <cmath>

void CLevelBlocks::Update(const QList<DATA_VALUE>& values, QList<DATA_VALUE>& blocks, qsizetype staleFrom)
{
    const qsizetype count = values.size();
    if (staleFrom >= 0 && staleFrom / BLOCK < blocks.size())
        blocks.resize(staleFrom / BLOCK);
    qsizetype covered = blocks.isEmpty() ? 0 : (blocks.size() - 1) * BLOCK + (blocks.last().extra >> 1);
    if (covered > count) {
        blocks.clear();
        covered = 0;
    }
    if (covered == count)
        return;
    // The last block may have been partial: it is summed up again.
    qsizetype block = covered / BLOCK;
    blocks.resize(block);
    blocks.reserve((count + BLOCK - 1) / BLOCK);
    for (; block * BLOCK < count; ++block)
        blocks.append(Summary(values, int(block * BLOCK), int(std::min<qsizetype>(count, block * BLOCK + BLOCK))));
}

bool CLevelBlocks::Extremes(const QList<DATA_VALUE>& blocks, int block, double& low, double& high)
{
    if (block < 0 || block >= blocks.size())
        return false;
    const DATA_VALUE& entry = blocks.at(block);
    if ((entry.extra & 1) == 0)
        return false;
    low = CDiagramValues::Real(entry.x);
    high = CDiagramValues::Real(entry.y);
    return true;
}

DATA_VALUE CLevelBlocks::Summary(const QList<DATA_VALUE>& values, int from, int to)
{
    double low = CDiagramValues::Real(values.at(from).y);
    double high = low;
    bool numbers = true;
    for (int i = from; i < to; ++i) {
        const double v = CDiagramValues::Real(values.at(i).y);
        numbers = numbers && !std::isnan(v);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    return DATA_VALUE { QVariant(low), QVariant(high), ((to - from) << 1) | (numbers ? 1 : 0) };
}
