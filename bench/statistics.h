// Summaries of timing samples: the figures the report gives for each measurement.
#ifndef BENCH_STATISTICS_H
#define BENCH_STATISTICS_H

#include <cstddef>
#include <vector>

struct Summary {
    size_t count = 0;
    double min = 0, p10 = 0, p25 = 0, median = 0, p75 = 0, p90 = 0, max = 0, mean = 0;
};

// The q-quantile (0 <= q <= 1) of ascending samples, interpolated linearly between the
// two nearest ranks; 0 for no samples.
double quantile(const std::vector<double>& ascending, double q);

// Summary of samples in any order.
Summary summarise(std::vector<double> samples);

#endif
