#include "statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

double quantile(const std::vector<double>& ascending, double q)
{
    if (ascending.empty())
        return 0;
    q = std::clamp(q, 0.0, 1.0);
    const double position = q * static_cast<double>(ascending.size() - 1);
    const size_t below = static_cast<size_t>(std::floor(position));
    const size_t above = std::min(below + 1, ascending.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return ascending[below] + (ascending[above] - ascending[below]) * fraction;
}

Summary summarise(std::vector<double> samples)
{
    Summary summary;
    if (samples.empty())
        return summary;
    std::sort(samples.begin(), samples.end());
    summary.count = samples.size();
    summary.min = samples.front();
    summary.max = samples.back();
    summary.p10 = quantile(samples, 0.10);
    summary.p25 = quantile(samples, 0.25);
    summary.median = quantile(samples, 0.50);
    summary.p75 = quantile(samples, 0.75);
    summary.p90 = quantile(samples, 0.90);
    summary.mean = std::accumulate(samples.begin(), samples.end(), 0.0) /
                   static_cast<double>(samples.size());
    return summary;
}
