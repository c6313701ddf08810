#pragma once
// Wall-clock seconds, medians and percentiles for the Windows benchmarks.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelmo::bench {

inline double Now() {
    static const double ticksPerSecond = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c{};
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / ticksPerSecond;
}

// The q-quantile (0..1), interpolated linearly between the two nearest ranks: with 21 values the 90th
// percentile lies between the 19th and the 20th smallest, and the median is the 11th.
inline double Percentile(std::vector<double> values, double q) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const double rank = q * static_cast<double>(values.size() - 1);
    const std::size_t below = static_cast<std::size_t>(std::floor(rank));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (rank - static_cast<double>(below));
}

inline double Median(const std::vector<double>& values) {
    return Percentile(values, 0.5);
}

} // namespace zelmo::bench
