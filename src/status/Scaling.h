#pragma once
// Scaling of the declared 96-DPI sizes to the DPI of a monitor, and the choice of that DPI.
#include <cstdint>
#include <optional>

namespace zelmo {

inline constexpr int DesignDpi = 96;

// value * numerator / denominator, rounded half away from zero, as the platform's MulDiv does;
// -1 when the denominator is 0 or the result does not fit.
constexpr std::int32_t MulDivRounded(std::int32_t value, std::int32_t numerator, std::int32_t denominator) noexcept {
    if (denominator == 0) {
        return -1;
    }
    std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    if (denominator < 0) {
        product = -product;
        denominator = -denominator;
    }
    const std::int64_t half = denominator / 2;
    const std::int64_t result = (product >= 0 ? product + half : product - half) / denominator;
    return result > 2147483647 || result < -2147483647 ? -1 : static_cast<std::int32_t>(result);
}

// A declared size (96 DPI) at the given DPI.
constexpr std::int32_t ScaleForDpi(std::int32_t declared, int dpi) noexcept {
    return MulDivRounded(declared, dpi, DesignDpi);
}

// The DPI the label's font follows: the primary monitor's own DPI where the platform can tell it (Windows
// 8.1 and later), otherwise the system DPI; a reading that makes no sense falls back to the design DPI.
constexpr int ChooseFontDpi(std::optional<int> monitorDpi, int systemDpi) noexcept {
    if (monitorDpi.has_value() && *monitorDpi > 0) {
        return *monitorDpi;
    }
    return systemDpi > 0 ? systemDpi : DesignDpi;
}

} // namespace zelmo
