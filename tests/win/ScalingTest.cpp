// The portable DPI scaling against the platform's own MulDiv, which the design's rounding is defined by.
#include "status/Scaling.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace zelmo {
namespace {

TEST(ScaleForDpi, AgreesWithMulDiv) {
    for (int value : {-24, -13, -12, -11, -1, 0, 1, 14, 40, 48, 56, 230, 452}) {
        for (int dpi : {72, 96, 97, 100, 108, 120, 125, 144, 168, 192, 240, 288, 480}) {
            EXPECT_EQ(ScaleForDpi(value, dpi), ::MulDiv(value, dpi, DesignDpi)) << value << " at " << dpi;
        }
    }
}

} // namespace
} // namespace zelmo
