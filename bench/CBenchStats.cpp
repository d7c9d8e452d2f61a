#include "CBenchStats.h"

#include <algorithm>

double CBenchStats::Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double CBenchStats::Percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[size_t(double(values.size() - 1) * share)];
}
