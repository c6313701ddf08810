#pragma once
// Wall-clock seconds and medians for the Windows benchmarks.
#include <windows.h>

#include <algorithm>
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

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace zelmo::bench
