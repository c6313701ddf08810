#include "status/Scaling.h"

#include <gtest/gtest.h>

namespace zelmo {
namespace {

TEST(ScaleForDpi, RoundsHalfAwayFromZeroLikeMulDiv) {
    const struct {
        int Declared, Dpi, Expected;
    } cases[] = {
        {-12, 96, -12},  {-12, 120, -15}, {-12, 144, -18}, {-12, 192, -24}, {-12, 108, -14}, // -13.5
        {-12, 100, -13},                                                                     // -12.5
        {-12, 97, -12},  {452, 144, 678}, {230, 120, 288},                                   // 287.5
        {0, 144, 0},     {7, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleForDpi(c.Declared, c.Dpi), c.Expected) << c.Declared << " at " << c.Dpi;
    }
    EXPECT_EQ(MulDivRounded(5, 1, -2), -3); // a negative divisor flips the sign first
    EXPECT_EQ(MulDivRounded(1, 1, 0), -1);
    EXPECT_EQ(MulDivRounded(2147483647, 2, 1), -1);
}

TEST(ChooseFontDpi, MonitorFirstThenSystemThenDesign) {
    const struct {
        const char* Name;
        std::optional<int> Monitor;
        int System, Expected;
    } cases[] = {
        {"the primary monitor's own DPI wins", 144, 96, 144},
        {"no per-monitor call: the system DPI", std::nullopt, 120, 120},
        {"a monitor answer of 0 is no answer", 0, 120, 120},
        {"nothing usable: the design DPI", std::nullopt, 0, 96},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseFontDpi(c.Monitor, c.System), c.Expected) << c.Name;
    }
}

} // namespace
} // namespace zelmo
