#pragma once

#include <vector>

// Summaries of repeated timings: benchmarks report medians, so that one
// slow run on a shared machine does not decide the figure.
class CBenchStats
{
public:
    static double Median(std::vector<double> values);
    // share 0..1 of the way from the fastest to the slowest run.
    static double Percentile(std::vector<double> values, double share);
};
